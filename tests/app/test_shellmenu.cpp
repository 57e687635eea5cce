// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's document menu for real, in private desktop folders: the menu it offers, Send To
// entries, copying into a Send To folder without overwriting or partial files, the trash and the
// clipboard.
#include "platform/shellmenu.h"
#include "platform/trash.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

using namespace vendle;

namespace {

void put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

const MenuItem* find(const std::vector<MenuItem>& menu, const std::string& caption) {
    for (const MenuItem& item : menu) {
        if (item.caption == caption)
            return &item;
    }
    return nullptr;
}

} // namespace

class ShellMenuTest : public QObject {
    Q_OBJECT

public:
    explicit ShellMenuTest(QTemporaryDir& home) : home_(home) {}

private:
    QTemporaryDir& home_;
    QString path(const QString& name) const { return home_.filePath(name); }
    std::string dataHome() const { return path(QStringLiteral("data")).toStdString(); }
    QString sendTo() const { return path(QStringLiteral("data/vendle/SendTo")); }

private slots:
    void theSendToFolderStartsWithTwoEntriesAndListsNonFoldersInNameOrder() {
        auto shell = platform::desktopShell({}, dataHome());
        std::vector<platform::SendToEntry> entries = shell->sendToEntries();
        QCOMPARE(entries.size(), std::size_t(2));
        QCOMPARE(entries[0].name, std::string("デスクトップ"));
        QCOMPARE(entries[1].name, std::string("ドキュメント"));
        QDir().mkpath(sendTo() + QStringLiteral("/a folder"));
        put(sendTo() + QStringLiteral("/zz-tool"), "#!/bin/sh\n");
        QVERIFY(QFile::link(path(QStringLiteral("box")), sendTo() + QStringLiteral("/box")));
        entries = shell->sendToEntries();
        QCOMPARE(entries.size(), std::size_t(4)); // not the folder; the link to one, yes
        QCOMPARE(entries[0].name, std::string("box"));
        QCOMPARE(entries[3].name, std::string("zz-tool"));
    }

    void sendingCopiesIntoTheFolderNeverOverwritesAndLeavesNoPartialFile() {
        QDir().mkpath(path(QStringLiteral("box")));
        const QString doc = path(QStringLiteral("docs/報告.txt"));
        put(doc, "report");
        auto shell = platform::desktopShell({}, dataHome());
        auto menu = shell->contextMenu({doc.toStdString()});
        QVERIFY(menu);
        std::vector<MenuItem> items;
        QVERIFY(menu->query(items, 3, 0x7FFF));
        QVERIFY(find(items, "開く(&O)"));
        QVERIFY(find(items, "送る(&N)"));
        QVERIFY(menu->invoke(find(items, "コピー(&C)")->id - 3).ok);
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data->hasUrls());
        QVERIFY(data->data(QStringLiteral("x-special/gnome-copied-files")).startsWith("copy\nfile://"));

        // Sending leaves the clipboard as it was.
        QApplication::clipboard()->setText(QStringLiteral("the user's text"));
        const std::vector<platform::SendToEntry> entries = shell->sendToEntries();
        const auto box =
            std::find_if(entries.begin(), entries.end(), [](const auto& e) { return e.name == "box"; });
        QVERIFY(box != entries.end());
        const std::size_t index = static_cast<std::size_t>(box - entries.begin());
        QVERIFY(shell->sendTo(index, {doc.toStdString()}).ok);
        QCOMPARE(QFile(path(QStringLiteral("box/報告.txt"))).size(), 6);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("the user's text"));
        // An existing file is never replaced: a refusal, not a failure.
        put(doc, "changed");
        const platform::InvokeResult again = shell->sendTo(index, {doc.toStdString()});
        QVERIFY(!again.ok);
        QVERIFY(again.refused);
        QVERIFY(QString::fromStdString(again.reason).contains(QStringLiteral("上書きはしません")));
        QCOMPARE(QFile(path(QStringLiteral("box/報告.txt"))).size(), 6);

        // A write that fails midway (a full disk; here the process's file size limit) leaves
        // nothing under the real name and no temporary file, so a later send succeeds.
        const QString big = path(QStringLiteral("docs/big.bin"));
        put(big, QByteArray(1 << 20, 'b'));
        rlimit old{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 64 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const platform::InvokeResult full = shell->sendTo(index, {big.toStdString()});
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        QVERIFY(!full.ok);
        QVERIFY(!full.refused);
        QVERIFY(!QFile::exists(path(QStringLiteral("box/big.bin"))));
        QCOMPARE(QDir(path(QStringLiteral("box"))).entryList(QDir::Files | QDir::Hidden).size(), 1);
        QVERIFY(shell->sendTo(index, {big.toStdString()}).ok);
        QCOMPARE(QFile(path(QStringLiteral("box/big.bin"))).size(), 1 << 20);
    }

    void openWithListsTheTypesApplicationsAndLaunchesTheChosenOne() {
        const QString doc = path(QStringLiteral("docs/w.txt"));
        put(doc, "w");
        auto shell = platform::desktopShell({}, dataHome());
        auto menu = shell->contextMenu({doc.toStdString()});
        std::vector<MenuItem> items;
        QVERIFY(menu->query(items, 1, 0x7FFF));
        const MenuItem* with = find(items, "アプリケーションで開く(&H)");
        QVERIFY(with);
        const MenuItem* viewer = find(with->submenu, "Vendle test &&viewer");
        QVERIFY(viewer);
        QVERIFY(menu->invoke(viewer->id - 1).ok);
        QTRY_COMPARE_WITH_TIMEOUT(QFile(path(QStringLiteral("opened.txt"))).size(), doc.toUtf8().size() + 1,
                                  10000);
    }

    void aProgramInTheSendToFolderGetsTheDocuments() {
        const QString doc = path(QStringLiteral("docs/s p.txt"));
        put(doc, "x");
        const QString got = path(QStringLiteral("got.txt"));
        put(sendTo() + QStringLiteral("/mm-tool"),
            "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\" >> '" + got.toUtf8() + "'; done\n");
        QFile::setPermissions(sendTo() + QStringLiteral("/mm-tool"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        auto shell = platform::desktopShell({}, dataHome());
        auto menu = shell->contextMenu({doc.toStdString()});
        std::vector<MenuItem> items;
        QVERIFY(menu->query(items, 1, 0x7FFF));
        const std::vector<platform::SendToEntry> entries = shell->sendToEntries();
        const auto tool =
            std::find_if(entries.begin(), entries.end(), [](const auto& e) { return e.name == "mm-tool"; });
        QVERIFY(tool != entries.end());
        QVERIFY(shell->sendTo(static_cast<std::size_t>(tool - entries.begin()), {doc.toStdString()}).ok);
        QTRY_COMPARE_WITH_TIMEOUT(QFile(got).size(), doc.toUtf8().size() + 1, 10000);
    }

    void trashMovesTheDocumentToTheUsersTrash() {
        const QString doc = path(QStringLiteral("data/docs/old.txt"));
        put(doc, "old");
        auto shell = platform::desktopShell({}, dataHome());
        auto menu = shell->contextMenu({doc.toStdString()});
        std::vector<MenuItem> items;
        QVERIFY(menu->query(items, 1, 0x7FFF));
        const MenuItem* found = find(items, "ゴミ箱へ移動(&D)");
        QVERIFY(found);
        const MenuItem trashItem = *found;
        const MenuItem* trash = &trashItem;
        QVERIFY(trash);
        const platform::InvokeResult moved = menu->invoke(trash->id - 1);
        QVERIFY(moved.ok);
        QCOMPARE(moved.trashed, std::vector<std::string>{doc.toStdString()});
        QVERIFY(!QFile::exists(doc));
        QVERIFY(QFile::exists(path(QStringLiteral("data/Trash/files/old.txt"))));
        // A document that is gone has no menu.
        QVERIFY(!shell->contextMenu({doc.toStdString()}));

        // Back from the trash by its record of the original place: the one trashed last.
        put(doc, "newer");
        auto again = shell->contextMenu({doc.toStdString()});
        QVERIFY(again->query(items, 1, 0x7FFF));
        QVERIFY(again->invoke(trash->id - 1).ok);
        platform::RestoreResult back = platform::restoreFromTrash({doc.toStdString()});
        QCOMPARE(back.restored, std::vector<std::string>{doc.toStdString()});
        QVERIFY(back.reason.empty());
        QFile restored(doc);
        QVERIFY(restored.open(QIODevice::ReadOnly));
        QCOMPARE(restored.readAll(), QByteArray("newer"));
        restored.close();
        // A file that stands at the place again is never replaced: the user is told.
        back = platform::restoreFromTrash({doc.toStdString()});
        QVERIFY(back.restored.empty());
        QCOMPARE(QString::fromStdString(back.reason),
                 QStringLiteral("同じ名前のファイルがあるため、元に戻せません: ") + doc);
        QCOMPARE(QDir(path(QStringLiteral("data/Trash/info"))).entryList(QDir::Files).size(), 1);
        QVERIFY(QFile::remove(doc));
        QVERIFY(platform::restoreFromTrash({doc.toStdString()}).reason.empty()); // the older one
        QVERIFY(restored.open(QIODevice::ReadOnly));
        QCOMPARE(restored.readAll(), QByteArray("old"));
        QCOMPARE(QString::fromStdString(platform::restoreFromTrash({doc.toStdString()}).reason),
                 QStringLiteral("「") + doc + QStringLiteral("」はゴミ箱にありません。"));
    }

    // Failures name what the user knows: the folder a Send To entry stands for, and a folder as a
    // folder.
    void failuresNameTheFolderTheUserKnows() {
        const QString doc = path(QStringLiteral("docs/f.txt"));
        put(doc, "f");
        auto shell = platform::desktopShell({}, dataHome());
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("Desktop"))));
        const std::vector<platform::SendToEntry> entries = shell->sendToEntries();
        const auto desktop = std::find_if(entries.begin(), entries.end(),
                                          [](const auto& e) { return e.name == "デスクトップ"; });
        QVERIFY(desktop != entries.end());
        const platform::InvokeResult sent =
            shell->sendTo(static_cast<std::size_t>(desktop - entries.begin()), {doc.toStdString()});
        QVERIFY(!sent.ok);
        QCOMPARE(QString::fromStdString(sent.reason), QStringLiteral("送り先のフォルダ「") +
                                                          path(QStringLiteral("Desktop")) +
                                                          QStringLiteral("」がありません。"));
        auto menu = shell->contextMenu({doc.toStdString()});
        std::vector<MenuItem> items;
        QVERIFY(menu->query(items, 1, 0x7FFF));
        const platform::InvokeResult opened = menu->invoke(find(items, "フォルダを開く(&F)")->id - 1);
        if (opened.ok)
            QSKIP("this machine has an application for folders");
        QCOMPARE(QString::fromStdString(opened.reason),
                 QStringLiteral("フォルダを開くアプリケーションが登録されていません。\nフォルダ名:") +
                     path(QStringLiteral("docs")));
    }

    void propertiesGoToTheProgramsWindow() {
        const QString doc = path(QStringLiteral("docs/p.txt"));
        put(doc, "12345");
        std::vector<std::string> asked;
        auto shell =
            platform::desktopShell([&](const std::vector<std::string>& p) { asked = p; }, dataHome());
        auto menu = shell->contextMenu({doc.toStdString()});
        std::vector<MenuItem> items;
        QVERIFY(menu->query(items, 1, 0x7FFF));
        QVERIFY(menu->invoke(find(items, "プロパティ(&R)")->id - 1).ok);
        QCOMPARE(asked, std::vector<std::string>{doc.toStdString()});
        const platform::FileProperties p = platform::filePropertiesOf(doc.toStdString());
        QCOMPARE(p.name, std::string("p.txt"));
        QCOMPARE(p.size, 5LL);
        QVERIFY(!p.type.empty());
    }
};

int main(int argc, char* argv[]) {
    // GLib reads these once: they must be set before anything asks for them.
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A text viewer of the test's own: the default for text, registered only through the defaults.
    put(home.filePath(QStringLiteral("data/applications/vendle-test-viewer.desktop")),
        "[Desktop Entry]\nType=Application\nName=Vendle test &viewer\nMimeType=text/plain;\n"
        "Exec=sh -c 'echo \"$1\" >> \"" +
            home.filePath(QStringLiteral("opened.txt")).toUtf8() + "\"' sh %f\n");
    put(home.filePath(QStringLiteral("config/mimeapps.list")),
        "[Default Applications]\ntext/plain=vendle-test-viewer.desktop\n");
    QApplication app(argc, argv);
    ShellMenuTest test(home);
    return QTest::qExec(&test, argc, argv);
}

#include "test_shellmenu.moc"
