#include "application.h"

#include "widgets/messagebox.h"

#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

namespace vendle::app {

QString preferredJapaneseFont() {
    const QStringList families = QFontDatabase::families();
    for (const char* name :
         {"MS UI Gothic", "ＭＳ Ｐゴシック", "IPAPGothic", "Noto Sans CJK JP", "IPAexGothic"}) {
        const QString family = QString::fromUtf8(name);
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

    // A proportional Japanese Gothic with a 12-pixel character height.
    QFont f = font();
    const QString family = preferredJapaneseFont();
    if (!family.isEmpty())
        f.setFamily(family);
    f.setPixelSize(12);
    setFont(f);
    // Standard buttons read はい/いいえ/キャンセル.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

bool VendleApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    } catch (...) {
        showError(QStringLiteral("予期しないエラーが発生しました。"));
    }
    return false;
}

void VendleApplication::showError(const QString& text) {
    widgets::MessageBox::error(nullptr, text);
}

} // namespace vendle::app
