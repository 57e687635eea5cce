// SPDX-License-Identifier: GPL-3.0-or-later
#include "propertiesdialog.h"

#include "platform/shellmenu.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace vendle::app {

void showProperties(QWidget* parent, const std::vector<std::string>& paths) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QCoreApplication::translate("vendle::app::PropertiesDialog", "プロパティ"));
    auto* layout = new QVBoxLayout(&dialog);
    constexpr std::size_t kShown = 10;
    for (std::size_t i = 0; i < paths.size() && i < kShown; ++i) {
        const platform::FileProperties p = platform::filePropertiesOf(paths[i]);
        auto* box = new QGroupBox(QString::fromStdString(p.name), &dialog);
        auto* form = new QFormLayout(box);
        const auto row = [&](const char* label, const QString& value) {
            auto* text = new QLabel(value, box);
            text->setTextInteractionFlags(Qt::TextSelectableByMouse);
            form->addRow(QCoreApplication::translate("vendle::app::PropertiesDialog", label), text);
        };
        row(QT_TRANSLATE_NOOP("vendle::app::PropertiesDialog", "種類:"), QString::fromStdString(p.type));
        row(QT_TRANSLATE_NOOP("vendle::app::PropertiesDialog", "場所:"), QString::fromStdString(p.folder));
        if (p.size >= 0)
            row(QT_TRANSLATE_NOOP("vendle::app::PropertiesDialog", "サイズ:"),
                QCoreApplication::translate("vendle::app::PropertiesDialog", "%1 バイト")
                    .arg(QLocale().toString(p.size)));
        row(QT_TRANSLATE_NOOP("vendle::app::PropertiesDialog", "更新日時:"),
            QLocale().toString(QDateTime::fromSecsSinceEpoch(p.modifiedUnix), QLocale::ShortFormat));
        layout->addWidget(box);
    }
    if (paths.size() > kShown)
        layout->addWidget(
            new QLabel(QCoreApplication::translate("vendle::app::PropertiesDialog", "ほか%1個のファイル")
                           .arg(paths.size() - kShown),
                       &dialog));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.exec();
}

} // namespace vendle::app
