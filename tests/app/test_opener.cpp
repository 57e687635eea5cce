// SPDX-License-Identifier: GPL-3.0-or-later
// Opening documents for real: a test application, registered in a private data folder as the
// default for text files and folders, writes what it was given to a marker file.
#include "app/documentopener.h"
#include "app/historysession.h"
#include "fakeparts.h"
#include "platform/system.h"
#include "sessionprobe.h"
#include "widgets/messagebox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace vendle;
using namespace vendle::app;
using widgets::MessageBox;

namespace {

QByteArray slurp(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// Sets or clears the immutable flag, which keeps even root from writing; false where not allowed.
bool makeImmutable(const QString& path, bool on) {
    const int fd = ::open(path.toUtf8().constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

} // namespace

class OpenerTest : public QObject {
    Q_OBJECT

public:
    explicit OpenerTest(QTemporaryDir& home) : home_(home) {}

private:
    QTemporaryDir& home_;
    std::unique_ptr<HistorySession> session_;
    std::unique_ptr<QWidget> window_;
    std::unique_ptr<DocumentOpener> opener_;
    test::FakeFiles* files_ = nullptr;

    QString path(const QString& name) const { return home_.filePath(name); }
    QString marker() const { return path(QStringLiteral("opened.txt")); }
    int executeCount() { return session_->settings().ReadInteger("VendleMainForm", "ExecuteCount", 0); }

private slots:
    void init() {
        QFile::remove(marker());
        QFile::remove(path(QStringLiteral("data/recently-used.xbel")));
        test::FakeRecent* recent = nullptr;
        HistorySession::Parts parts = test::fakeParts(files_, recent, vendle::now);
        session_ = std::make_unique<HistorySession>("/p/vendle.ini", "/p/vendle.dat", std::move(parts),
                                                    DateTimeFormat::japanese());
        window_ = std::make_unique<QWidget>();
        opener_ =
            std::make_unique<DocumentOpener>(*window_, *session_, path(QStringLiteral("data")).toStdString());
        MessageBox::setTestMode(true);
    }

    void cleanup() { MessageBox::setTestMode(false); }

    void theOpenDialogStartsNearTheDocumentOrWhereTheLastFileWasChosen() {
        files_->folders.insert("/w/docs");
        files_->folders.insert("/w/last");
        QCOMPARE(opener_->startFolder("/w/docs/a.txt"), QStringLiteral("/w/docs"));
        QCOMPARE(opener_->startFolder(""),
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        session_->settings().WriteString("VendleMainForm", "OpenFolder", "/w/last");
        QCOMPARE(opener_->startFolder(""), QStringLiteral("/w/last"));
        QCOMPARE(opener_->startFolder("/gone/a.txt"), QStringLiteral("/w/last")); // its folder is away
    }

    void aDocumentOpensInItsApplicationAndIsNotedAsRecentlyUsed() {
        const QString doc = path(QStringLiteral("docs/報告 1.txt"));
        put(doc, "hello\n");
        QVERIFY(opener_->OpenDocument(doc.toStdString()));
        QTRY_COMPARE_WITH_TIMEOUT(slurp(marker()), doc.toUtf8() + "\n", 10000);
        QCOMPARE(MessageBox::shownTexts(), QStringList());
        QCOMPARE(executeCount(), 1);
        const QByteArray xbel = slurp(path(QStringLiteral("data/recently-used.xbel")));
        QVERIFY(xbel.contains(QUrl::fromLocalFile(doc).toEncoded()));
        QVERIFY(xbel.contains("name=\"Vendle\""));
        QVERIFY(xbel.contains("modified=\""));
        // Again: the same bookmark, counted once more.
        QVERIFY(opener_->OpenDocument(doc.toStdString()));
        QCOMPARE(executeCount(), 2);
        const QByteArray again = slurp(path(QStringLiteral("data/recently-used.xbel")));
        QCOMPARE(again.count("<bookmark "), 1);
        QVERIFY(again.contains("count=\"2\""));
        QTRY_COMPARE_WITH_TIMEOUT(slurp(marker()).count('\n'), 2, 10000);
    }

    void aFailedOpenSaysWhyAndChangesNothing() {
        const std::string gone = path(QStringLiteral("docs/gone.txt")).toStdString();
        QVERIFY(!opener_->OpenDocument(gone));
        QCOMPARE(MessageBox::shownTexts(), QStringList{QString::fromStdString(
                                               platform::SystemErrorText(ENOENT) + "\nファイル名:" + gone)});
        QCOMPARE(executeCount(), 0);
        QVERIFY(!QFile::exists(path(QStringLiteral("data/recently-used.xbel"))));
        // A document opened after it is the only one the viewer ever got.
        const QString after = path(QStringLiteral("docs/after.txt"));
        put(after, "x");
        QVERIFY(opener_->OpenDocument(after.toStdString()));
        QTRY_COMPARE_WITH_TIMEOUT(slurp(marker()), after.toUtf8() + "\n", 10000);
    }

    void aReadOnlyDocumentIsAskedAboutAndAnOpenSurvivesTheHistoryChangingMeanwhile() {
        // A file the test user cannot write: immutable where the test may make it so (root),
        // else without write permission (any other user).
        const QString doc = path(QStringLiteral("docs/locked.txt"));
        put(doc, "x");
        const auto unlock = qScopeGuard([&] { makeImmutable(doc, false); });
        if (!makeImmutable(doc, true))
            QVERIFY(QFile::setPermissions(doc, QFile::ReadOwner));
        if (::access(doc.toUtf8().constData(), W_OK) == 0)
            QSKIP("this user can write every file");
        session_->setConfirmReadOnly(true);
        test::changeHistory(*session_, [&](HistoryList& items) { items.AddItem(doc.toStdString(), 1); });
        session_->refreshView();
        const QString question = doc + QStringLiteral(" は読み取り専用ファイルです。続行しますか？");

        MessageBox::queueAnswer(MessageBox::No);
        opener_->acExecuteExecute(ColumnName, 0);
        QCOMPARE(MessageBox::shownTexts(), QStringList{question});
        QCOMPARE(executeCount(), 0);

        // While the question waits, a look at the desktop's record may cut the history: the open
        // goes on with the path it was given, not with a record that is gone.
        MessageBox::clearShownTexts();
        MessageBox::queueAnswer(MessageBox::Yes);
        MessageBox::setWhileShown(
            [&] { test::changeHistory(*session_, [](HistoryList& items) { items.trimToMax(0); }); });
        opener_->acExecuteExecute(ColumnName, 0);
        QCOMPARE(MessageBox::shownTexts(), QStringList{question});
        QCOMPARE(session_->items().ItemCount(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(slurp(marker()), doc.toUtf8() + "\n", 10000);
        QCOMPARE(executeCount(), 1);
        // No opened nothing: a document opened afterwards follows the one Yes opened directly.
        const QString later = path(QStringLiteral("docs/later.txt"));
        put(later, "x");
        QVERIFY(opener_->OpenDocument(later.toStdString()));
        QTRY_COMPARE_WITH_TIMEOUT(slurp(marker()), doc.toUtf8() + "\n" + later.toUtf8() + "\n", 10000);
    }

    void theFolderColumnOpensTheFolder() {
        const QString doc = path(QStringLiteral("docs/b.txt"));
        put(doc, "x");
        test::changeHistory(*session_, [&](HistoryList& items) { items.AddItem(doc.toStdString()); });
        session_->refreshView();
        opener_->acExecuteExecute(ColumnType, 0); // no document opens from the type column
        opener_->acExecuteExecute(ColumnFolder, 0);
        QTRY_COMPARE_WITH_TIMEOUT(slurp(marker()), path(QStringLiteral("docs")).toUtf8() + "\n", 10000);
        QCOMPARE(executeCount(), 1);
    }
};

int main(int argc, char* argv[]) {
    // GLib reads these once: they must be set before anything asks for them.
    QTemporaryDir home;
    const QByteArray data = home.filePath(QStringLiteral("data")).toUtf8();
    const QByteArray config = home.filePath(QStringLiteral("config")).toUtf8();
    qputenv("XDG_DATA_HOME", data);
    qputenv("XDG_CONFIG_HOME", config);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray marker = home.filePath(QStringLiteral("opened.txt")).toUtf8();
    put(QString::fromUtf8(data + "/applications/vendle-test-viewer.desktop"),
        "[Desktop Entry]\nType=Application\nName=Vendle test viewer\nMimeType=text/plain;inode/directory;\n"
        "Exec=sh -c 'echo \"$1\" >> \"" +
            marker + "\"' sh %f\n");
    put(QString::fromUtf8(config + "/mimeapps.list"),
        "[Default Applications]\ntext/plain=vendle-test-viewer.desktop\n"
        "inode/directory=vendle-test-viewer.desktop\n");
    QApplication app(argc, argv);
    OpenerTest test(home);
    return QTest::qExec(&test, argc, argv);
}

#include "test_opener.moc"
