// SPDX-License-Identifier: GPL-3.0-or-later
#include "firststart.h"

#include "app/startupentry.h"
#include "core/errors.h"
#include "widgets/messagebox.h"

#include <QCoreApplication>

namespace vendle::app {

namespace {

using widgets::MessageBox;

const char* const kWelcome[] = {
    QT_TRANSLATE_NOOP("vendle::app::FirstStart", "初回起動です。"),
    QT_TRANSLATE_NOOP("vendle::app::FirstStart", "『Vendle』をご使用いただきありがとうございます。"),
    QT_TRANSLATE_NOOP(
        "vendle::app::FirstStart",
        "このプログラムはデスクトップの標準機能である「最近使ったファイル」の機能を拡張します。"),
    QT_TRANSLATE_NOOP("vendle::app::FirstStart",
                      "起動すると通知領域に常駐しますので、右クリックしてみたください。"),
};

const char* const kRegisterQuestion = QT_TRANSLATE_NOOP(
    "vendle::app::FirstStart",
    "このプログラムを自動起動に登録しますか？\n『Vendle』は常駐しないとその能力を発揮できません。\n"
    "登録することを強くおすすめします。\nここで登録しない場合は手動で登録していただくことになります。\n"
    "この文の意味がわからない方は、「はい」を押してください。");

QString text(const char* source) {
    return QCoreApplication::translate("vendle::app::FirstStart", source);
}

} // namespace

void runFirstStart(QWidget* parent, const AppPaths& paths, FileAccess& files) {
    for (const char* line : kWelcome)
        MessageBox::show(parent, text(line));
    if (MessageBox::askYesNo(parent, text(kRegisterQuestion)) == MessageBox::Yes) {
        RegisterStartup(parent, paths, files);
    } else {
        MessageBox::show(
            parent, QCoreApplication::translate("vendle::app::FirstStart", "「いいえ」を選択しました。\n"));
        MessageBox::show(
            parent, QCoreApplication::translate("vendle::app::FirstStart", "自動起動には登録しません。"));
    }
}

void RegisterStartup(QWidget* parent, const AppPaths& paths, FileAccess& files) {
    if (paths.startupFolder.empty())
        VENDLE_TRACE();
    const StartupEntry entry(paths, files);
    switch (entry.state()) {
    case StartupEntry::State::ThisProgram:
        MessageBox::show(parent, QCoreApplication::translate("vendle::app::FirstStart",
                                                             "すでに自動起動に登録されています。"));
        return;
    case StartupEntry::State::OtherProgram: {
        // A copy moved elsewhere, or another copy, would be started instead of this one.
        const std::string other = entry.registeredProgram();
        const QString question =
            QCoreApplication::translate("vendle::app::FirstStart",
                                        "自動起動には別の場所のプログラムが登録されています。\n%1\n"
                                        "このプログラムに置き換えますか？")
                .arg(other.empty()
                         ? QCoreApplication::translate("vendle::app::FirstStart", "(読み取れない登録)")
                         : QString::fromStdString(other));
        if (MessageBox::askYesNo(parent, question) != MessageBox::Yes) {
            MessageBox::show(
                parent, QCoreApplication::translate("vendle::app::FirstStart", "自動起動には登録しません。"));
            return;
        }
        break;
    }
    case StartupEntry::State::Missing:
        break;
    }
    if (!entry.write())
        VENDLE_TRACE();
    MessageBox::show(parent,
                     QCoreApplication::translate("vendle::app::FirstStart", "自動起動に登録しました。"));
}

} // namespace vendle::app
