// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"

#include "core/texts.h"
#include "platform/logging.h"
#include "platform/system.h"
#include "widgets/messagebox.h"

#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

#include <utility>

namespace vendle::app {

QString preferredJapaneseFont() {
    const QStringList families = QFontDatabase::families();
    for (const char* name :
         {"MS UI Gothic", "ＭＳ Ｐゴシック", "IPAPGothic", "Noto Sans CJK JP", "IPAexGothic"}) {
        QString family = QString::fromUtf8(name);
        if (families.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return {};
}

VendleApplication::VendleApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vendle"));
    // No display name of its own: the platform would append it to every window title, after the
    // title that already names the program.
    setQuitOnLastWindowClosed(false);

    const UiLanguage language = platform::uiLanguage();
    // A 12-pixel character height; on a Japanese desktop a proportional Japanese Gothic.
    QFont f = font();
    const QString family = language == UiLanguage::Japanese ? preferredJapaneseFont() : QString();
    if (!family.isEmpty())
        f.setFamily(family);
    f.setPixelSize(12);
    setFont(f);
    useLanguage(language);
}

void VendleApplication::useLanguage(UiLanguage language) {
    for (QTranslator* old : findChildren<QTranslator*>(Qt::FindDirectChildrenOnly)) {
        removeTranslator(old);
        delete old;
    }
    // The program's texts, and Qt's own (standard buttons read はい/いいえ/キャンセル).
    const QString code = QString::fromLatin1(languageCode(language));
    auto* texts = new QTranslator(this);
    if (texts->load(QStringLiteral(":/i18n/vendle_") + code + QStringLiteral(".qm")))
        installTranslator(texts);
    else
        qCWarning(lcUi) << "the catalogue of texts is missing:" << code;
    if (language == UiLanguage::Japanese) {
        auto* qt = new QTranslator(this);
        if (qt->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            installTranslator(qt);
    }
    // Texts made below the windows (errors, the count line) come from the same catalogue.
    setTextTranslator([](const char* context, const char* source) {
        return QCoreApplication::translate(context, source).toStdString();
    });
}

bool VendleApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        escaped(receiver, event, e.what());
    } catch (...) {
        escaped(receiver, event, "an exception of unknown type");
    }
    return false;
}

void VendleApplication::escaped(QObject* receiver, QEvent* event, const char* what) {
    // Errors the user should see are shown where they happen; one that gets this far is a fault
    // of the program, and going on could write damaged data.
    qCCritical(lcUi).nospace() << "fault: an exception escaped an event handler: " << what << " (event "
                               << (event ? int(event->type()) : -1) << " to "
                               << (receiver ? receiver->metaObject()->className() : "nothing") << " \""
                               << (receiver ? receiver->objectName() : QString()) << "\")";
    if (std::function<void()> handler = std::exchange(onEscaped_, {})) {
        try {
            handler();
        } catch (const std::exception& e) {
            qCCritical(lcUi) << "saving after the fault failed:" << e.what();
        } catch (...) {
            qCCritical(lcUi) << "saving after the fault failed";
        }
    }
    exit(kFaultExitCode);
}

void VendleApplication::showError(const QString& text) {
    widgets::MessageBox::error(nullptr, text);
}

} // namespace vendle::app
