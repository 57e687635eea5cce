#include "firststart.h"

#include "core/errors.h"
#include "platform/autostart.h"
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
    const std::string entry = paths.startupFolder + "/" + platform::startupEntryFileName("Vendle");
    if (files.exists(entry)) {
        MessageBox::show(parent, QStringLiteral("すでに自動起動に登録されています。"));
        return;
    }
    const std::string& exe = paths.executable;
    const std::string folder = exe.substr(0, exe.rfind('/') + 1);
    if (!platform::CreateShortcut(exe, entry, "Vendle", folder))
        VENDLE_TRACE();
    MessageBox::show(parent, QStringLiteral("自動起動に登録しました。"));
}

} // namespace vendle::app
