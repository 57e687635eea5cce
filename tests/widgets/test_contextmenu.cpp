// SPDX-License-Identifier: GPL-3.0-or-later
// The document context menu component with a fake shell: the id arithmetic, the popup items, Send
// To handing the documents over, and the failure messages.
#include "platform/shellmenu.h"
#include "widgets/contextmenu.h"
#include "widgets/messagebox.h"

#include <QMenu>
#include <QTest>
#include <QWidget>

using namespace vendle;
using vendle::widgets::MessageBox;
using vendle::widgets::TQnContextMenu;

namespace {

struct ShellLog {
    std::vector<int> invoked;
    std::vector<std::pair<std::size_t, std::vector<std::string>>> sent;
    int firstId = 0;
    bool failInvoke = false;
    bool failSend = false;
    bool refuseSend = false;
    std::string sendReason = "clash";
};

class FakeMenu final : public platform::ShellContextMenu {
public:
    explicit FakeMenu(ShellLog& log) : log_(log) {}
    bool query(std::vector<MenuItem>& menu, int firstId, int) override {
        log_.firstId = firstId;
        menu = {MenuItem::command("開く(&O)", firstId), MenuItem::line(),
                MenuItem{"送る(&N)", 0, false, true, {MenuItem::command("shell's own", firstId + 1)}},
                MenuItem::command("コピー(&C)", firstId + 2)};
        return true;
    }
    platform::InvokeResult invoke(int offset) override {
        log_.invoked.push_back(offset);
        return {!log_.failInvoke, log_.failInvoke ? "no way" : ""};
    }

private:
    ShellLog& log_;
};

class FakeShell final : public platform::Shell {
public:
    ShellLog log;
    std::vector<platform::SendToEntry> entries{{"デスクトップ", "/s/1"}, {"R&D", "/s/2"}, {"USB", "/s/3"}};
    std::unique_ptr<platform::ShellContextMenu> contextMenu(const std::vector<std::string>& paths) override {
        return paths.front() == "/missing" ? nullptr : std::make_unique<FakeMenu>(log);
    }
    std::vector<platform::SendToEntry> sendToEntries() override { return entries; }
    platform::InvokeResult sendTo(std::size_t index, const std::vector<std::string>& paths) override {
        log.sent.emplace_back(index, paths);
        if (log.refuseSend)
            return {false, "exists", true};
        return {!log.failSend, log.failSend ? log.sendReason : ""};
    }
    void copyToClipboard(const std::vector<std::string>&) override {}
};

} // namespace

class ContextMenuTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> owner_;
    std::unique_ptr<FakeShell> shell_;
    std::unique_ptr<QMenu> popup_;
    std::vector<MenuItem> shown_;

    // A component whose "user" picks the command `choose` returns for the menu it sees.
    std::unique_ptr<TQnContextMenu> component(std::function<int(const std::vector<MenuItem>&)> choose) {
        auto menu = std::make_unique<TQnContextMenu>(owner_.get(), *shell_);
        menu->setTracker([this, choose](const std::vector<MenuItem>& items, const QPoint&) {
            shown_ = items;
            return choose(items);
        });
        return menu;
    }

private slots:
    void init() {
        owner_ = std::make_unique<QWidget>();
        shell_ = std::make_unique<FakeShell>();
        popup_ = std::make_unique<QMenu>();
        shown_.clear();
        MessageBox::setTestMode(true);
    }
    void cleanup() { MessageBox::setTestMode(false); }

    void popupItemsComeFirstInIdsAndLastInTheMenu() {
        int clicked = 0;
        popup_->addAction(QStringLiteral("終了(&X)"), [&] { clicked = 1; });
        popup_->addAction(QStringLiteral("設定(&S)"), [&] { clicked = 2; });
        auto menu = component([](const std::vector<MenuItem>&) { return 2; });
        menu->SetPopupMenu(popup_.get());
        menu->Popup(5, 5, "/d/a.txt");
        QCOMPARE(shell_->log.firstId, 3); // B = 2
        QCOMPARE(clicked, 2);
        QVERIFY(shell_->log.invoked.empty());
        QCOMPARE(shown_.size(), std::size_t(7));
        QVERIFY(shown_[4].separator);
        QCOMPARE(shown_[6].caption, std::string("設定(&S)"));
        // The Send To submenu: the folder's three entries, "&" shown as it is, no shell entry.
        const std::vector<MenuItem>& sendTo = shown_[2].submenu;
        QCOMPARE(sendTo.size(), std::size_t(3));
        QCOMPARE(sendTo[1].caption, std::string("R&&D"));
        QCOMPARE(sendTo[2].id, 1527);
    }

    void aShellCommandRunsWithItsOffsetAndADismissalDoesNothing() {
        popup_->addAction(QStringLiteral("a"));
        popup_->addAction(QStringLiteral("b"));
        auto menu = component([](const std::vector<MenuItem>& items) { return items[3].id; }); // コピー
        menu->SetPopupMenu(popup_.get());
        menu->FileNames = {"/d/a.txt", "/d/b.txt"};
        menu->PopupEx(0, 0);
        QCOMPARE(shell_->log.invoked, std::vector<int>{2}); // id 5 - B 2 - 1

        auto dismissed = component([](const std::vector<MenuItem>&) { return 0; });
        dismissed->Popup(0, 0, "/d/a.txt");
        QCOMPARE(shell_->log.invoked.size(), std::size_t(1));
        QVERIFY(shell_->log.sent.empty());
        QCOMPARE(MessageBox::shownTexts(), QStringList());
    }

    void sendToHandsTheDocumentsOverAndOnlyRealFailuresAreReported() {
        auto menu = component([](const std::vector<MenuItem>&) { return 1526; });
        menu->FileNames = {"/d/a.txt", "/d/b.txt"};
        menu->PopupEx(0, 0);
        QVERIFY(shell_->log.invoked.empty()); // no copy command: the clipboard is left alone
        QCOMPARE(shell_->log.sent.size(), std::size_t(1));
        QCOMPARE(shell_->log.sent[0].first, std::size_t(1));
        QCOMPARE(shell_->log.sent[0].second, (std::vector<std::string>{"/d/a.txt", "/d/b.txt"}));
        // A refusal the user is told about is no failure.
        shell_->log.refuseSend = true;
        menu->Popup(0, 0, "/d/a.txt");
        QCOMPARE(MessageBox::shownTexts(), QStringList{QStringLiteral("exists")});
        // A failed hand-over says why in one box, in front of the owner's window.
        MessageBox::clearShownTexts();
        shell_->log.refuseSend = false;
        shell_->log.failSend = true;
        menu->Popup(0, 0, "/d/a.txt");
        QCOMPARE(MessageBox::shownTexts(), QStringList{QStringLiteral("clash")});
        QCOMPARE(MessageBox::shownParents(), QList<QWidget*>{owner_.get()});
        // Without words the failure itself is reported, with its code name and the source file's own
        // name, never the folders of the machine that built the program.
        MessageBox::clearShownTexts();
        shell_->log.sendReason.clear();
        menu->Popup(0, 0, "/d/a.txt");
        QCOMPARE(MessageBox::shownTexts(), QStringList{QStringLiteral(" InvokeCommand failed! ")});
        QVERIFY(
            MessageBox::shownCaptions().last().startsWith(QStringLiteral(" ERROR(E_FAIL) contextmenu.cpp ")));
    }

    void nothingIsShownForADocumentTheShellCannotTake() {
        bool asked = false;
        auto menu = component([&](const std::vector<MenuItem>&) {
            asked = true;
            return 0;
        });
        menu->Popup(0, 0, "/missing");
        QVERIFY(!asked);
        MessageBox::clearShownTexts();
        shell_->log.failInvoke = true;
        auto failing = component([](const std::vector<MenuItem>& items) { return items[0].id; });
        failing->Popup(0, 0, "/d/a.txt");
        QCOMPARE(MessageBox::shownTexts(), QStringList{QStringLiteral("no way")});
    }
};

QTEST_MAIN(ContextMenuTest)
#include "test_contextmenu.moc"
