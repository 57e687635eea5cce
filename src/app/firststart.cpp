// SPDX-License-Identifier: GPL-3.0-or-later
#include "firststart.h"

#include "app/startupentry.h"
#include "core/errors.h"
#include "widgets/messagebox.h"

namespace vendle::app {

namespace {

using widgets::MessageBox;

const char* const kWelcome[] = {
    "初回起動です。",
    "『Vendle』をご使用いただきありがとうございます。",
    "このプログラムはデスクトップの標準機能である「最近使ったファイル」の機能を拡張します。",
    "起動すると通知領域に常駐しますので、右クリックしてみたください。",
};

const char* const kRegisterQuestion =
    "このプログラムを自動起動に登録しますか？\n『Vendle』は常駐しないとその能力を発揮できません。\n"
    "登録することを強くおすすめします。\nここで登録しない場合は手動で登録していただくことになります。\n"
    "この文の意味がわからない方は、「はい」を押してください。";

} // namespace

void runFirstStart(QWidget* parent, const AppPaths& paths, FileAccess& files) {
    for (const char* text : kWelcome)
        MessageBox::show(parent, QString::fromUtf8(text));
    if (MessageBox::askYesNo(parent, QString::fromUtf8(kRegisterQuestion)) == MessageBox::Yes) {
        RegisterStartup(parent, paths, files);
    } else {
        MessageBox::show(parent, QStringLiteral("「いいえ」を選択しました。\n"));
        MessageBox::show(parent, QStringLiteral("自動起動には登録しません。"));
    }
}

void RegisterStartup(QWidget* parent, const AppPaths& paths, FileAccess& files) {
    if (paths.startupFolder.empty())
        VENDLE_TRACE();
    const StartupEntry entry(paths, files);
    switch (entry.state()) {
    case StartupEntry::State::ThisProgram:
        MessageBox::show(parent, QStringLiteral("すでに自動起動に登録されています。"));
        return;
    case StartupEntry::State::OtherProgram: {
        // A copy moved elsewhere, or another copy, would be started instead of this one.
        const std::string other = entry.registeredProgram();
        const QString question =
            QStringLiteral("自動起動には別の場所のプログラムが登録されています。\n%1\n"
                           "このプログラムに置き換えますか？")
                .arg(other.empty() ? QStringLiteral("(読み取れない登録)") : QString::fromStdString(other));
        if (MessageBox::askYesNo(parent, question) != MessageBox::Yes) {
            MessageBox::show(parent, QStringLiteral("自動起動には登録しません。"));
            return;
        }
        break;
    }
    case StartupEntry::State::Missing:
        break;
    }
    if (!entry.write())
        VENDLE_TRACE();
    MessageBox::show(parent, QStringLiteral("自動起動に登録しました。"));
}

} // namespace vendle::app
