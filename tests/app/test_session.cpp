// SPDX-License-Identifier: GPL-3.0-or-later
// The history session and the filter menus on fakes: files in memory, a listing the test writes and
// a clock the test sets, so nothing waits for real time.
#include "app/filtermenus.h"
#include "app/historysession.h"
#include "fakeparts.h"
#include "sessionprobe.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <future>
#include <map>
#include <set>

using namespace vendle;
using namespace vendle::app;

namespace {

using test::FakeRecent;

const std::string kIni = "/p/vendle.ini";
const std::string kDat = "/p/vendle.dat";

} // namespace

class SessionTest : public QObject {
    Q_OBJECT

    test::FakeFiles* files_ = nullptr;
    FakeRecent* recent_ = nullptr;
    DateTime clock_ = 0;
    std::unique_ptr<HistorySession> session_;

    void open() {
        const std::unique_ptr<test::FakeFiles> disk =
            files_ ? std::make_unique<test::FakeFiles>(*files_) : nullptr;
        // The same disk and the same record of the desktop as the run before.
        const std::vector<RecentEntry> record =
            recent_ && files_ ? recent_->entries : std::vector<RecentEntry>();
        HistorySession::Parts parts = test::fakeParts(
            files_, recent_, [this] { return clock_; }, disk.get());
        recent_->entries = record;
        session_.reset();
        session_ = std::make_unique<HistorySession>(kIni, kDat, std::move(parts), DateTimeFormat::japanese());
    }

    // A document on the fake disk, recorded by the desktop `secondsAfterStart` after the clock's start.
    void record(const std::string& path, int secondsAfterStart) {
        files_->files[path] = "x";
        recent_->entries.push_back(
            {path, toUnixTime(encodeDate(2026, 12, 8) + encodeTime(10, 0, 0, 0)) + secondsAfterStart});
    }

    // Checks the documents read and waits for the outcome.
    void settle() {
        session_->checkPresence();
        if (!session_->checking())
            return;
        QSignalSpy settled(session_.get(), &HistorySession::presenceSettled);
        QVERIFY(settled.wait(10000));
    }

private slots:
    void init() {
        qputenv("TZ", "UTC"); // under Qt's lock: the test's watchdog thread reads the environment
        tzset();
        files_ = nullptr;
        clock_ = encodeDate(2026, 12, 8) + encodeTime(10, 0, 0, 0);
        open();
    }

    void importsWhatTheDesktopRecordsAndEveryChangeIsAnnounced() {
        session_->beginWatching();
        QCOMPARE(session_->LastScanTime, clock_);
        QSignalSpy aboutToReset(&session_->model(), &QAbstractItemModel::modelAboutToBeReset);
        QSignalSpy reset(&session_->model(), &QAbstractItemModel::modelReset);
        record("/d/a.txt", 4);
        record("/d/b.png", 6);
        clock_ += encodeTime(0, 0, 10, 0);
        const ScanResult result = session_->Scan();
        QCOMPARE(result.added, 2);
        QCOMPARE(session_->LastScanTime, clock_);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(aboutToReset.count(), 1);
        session_->refreshView();
        QCOMPARE(reset.count(), 2);
        QCOMPARE(session_->model().rowCount(), 2);
        // Newest first: the time sort is the default.
        QCOMPARE(session_->model().index(0, ColumnName).data().toString(), QStringLiteral("b.png"));
        QVERIFY(session_->clickColumn(ColumnName));
        QCOMPARE(session_->model().index(0, ColumnName).data().toString(), QStringLiteral("a.txt"));
        QCOMPARE(reset.count(), 3);
    }

    void documentsUsedWhileTheProgramWasStoppedComeInAtTheNextStart() {
        // Three runs: the first takes a document in and saves; the second is killed after taking
        // another in; a document is used while none runs; the third gets both that were missed.
        session_->Load({});
        session_->beginWatching();
        QVERIFY(files_->files.count("/p/vendle.seen")); // the first listing is kept at once
        record("/d/before.txt", 2);
        clock_ += encodeTime(0, 0, 10, 0);
        session_->Scan();
        session_->SaveHistory({});
        session_->storeSettings();
        session_->writeSettingsFile();

        open();
        session_->Load({});
        settle();
        session_->beginWatching();
        record("/d/killed.txt", 60);
        QCOMPARE(session_->Scan().added, 1); // and then killed: nothing saved

        record("/d/meanwhile.txt", 3600);
        clock_ += encodeTime(2, 0, 0, 0);
        open();
        session_->Load({});
        settle();
        QCOMPARE(session_->items().ItemCount(), 1);
        session_->beginWatching();
        const ScanResult result = session_->Scan();
        QCOMPARE(result.examined, 2);
        QCOMPARE(session_->items().ItemCount(), 3);
        QCOMPARE(session_->items().Item(0).Path, std::string("/d/before.txt"));
        QCOMPARE(session_->items().Item(2).Path, std::string("/d/meanwhile.txt"));
    }

    void aSearchThatIgnoresKanaAndWidthIsASettingOfItsOwn() {
        test::changeHistory(*session_, [](HistoryList& items) {
            for (const char* p :
                 {"/d/レポート.txt", "/d/ﾚﾎﾟｰﾄ.txt", "/d/ａｂｃ.txt", "/d/れぽーと案.txt", "/d/other.txt"})
                items.AddItem(p);
        });
        const auto matches = [&](const char* search) {
            ViewFilter filter;
            filter.search = search;
            session_->setFilter(filter);
            QStringList names;
            for (int i = 0; i < session_->items().ViewCount(); ++i)
                names << QString::fromStdString(std::string(session_->items().ViewItem(i).Path));
            names.sort();
            return names;
        };
        // Off (the default): today's rule, ASCII case only.
        QCOMPARE(matches("れぽーと"), QStringList{QStringLiteral("/d/れぽーと案.txt")});
        QVERIFY(matches("ABC").isEmpty());
        QCOMPARE(matches("OTHER"), QStringList{QStringLiteral("/d/other.txt")});
        session_->setFoldKana(true);
        QCOMPARE(matches("ABC"), QStringList{QStringLiteral("/d/ａｂｃ.txt")});
        // A search that grows narrows the view it has, folded too.
        QCOMPARE(matches("れ").size(), 3);
        QCOMPARE(matches("れぽーと"),
                 (QStringList{QStringLiteral("/d/れぽーと案.txt"), QStringLiteral("/d/レポート.txt"),
                              QStringLiteral("/d/ﾚﾎﾟｰﾄ.txt")}));
        QCOMPARE(matches("レポート案").size(), 1);
        // Kept in the settings file once turned on, and read back.
        session_->storeSettings();
        QVERIFY(readBool(session_->settings(), Setting::FoldKana));
        session_->setFoldKana(false);
        session_->readSettings();
        QVERIFY(session_->foldKana());
    }

    void filterMenusFollowTheHistoryWhenTheyOpen() {
        QMenu filter;
        FilterMenus menus(filter, *session_, [](int) { return QIcon(); });
        connect(&menus, &FilterMenus::filterChosen, session_.get(), &HistorySession::setFilter);
        // A first start: no data file, nothing built yet.
        session_->Load({});
        QCOMPARE(menus.miTypeFilter->actions().size(), 0);
        session_->beginWatching();
        record("/d/a.txt", 5);
        record("/e/b.png", 6);
        record("/e/c.png", 7);
        clock_ += encodeTime(0, 0, 10, 0);
        session_->Scan();
        emit menus.miTypeFilter->aboutToShow();
        QCOMPARE(menus.miTypeFilter->actions().size(), 3); // （なし）, Image, Text
        menus.miTypeFilter->actions().at(1)->trigger();    // Image
        emit menus.miFolderFilter->aboutToShow();
        QCOMPARE(menus.miFolderFilter->actions().size(), 2); // （なし）, /e
        // A new type comes in; the menu is built again when it opens, with the choice kept.
        record("/f/d.odt", 20);
        clock_ += encodeTime(0, 0, 30, 0);
        session_->Scan();
        emit menus.miTypeFilter->aboutToShow();
        QStringList captions;
        for (QAction* a : menus.miTypeFilter->actions())
            captions << a->text();
        QCOMPARE(captions,
                 (QStringList{QStringLiteral("（なし）"), QStringLiteral("Image"), QStringLiteral("Text")}));
        QVERIFY(menus.miTypeFilter->actions().at(1)->isChecked());
        QCOMPARE(session_->filter().type, std::string("Image"));
    }

    void anUnreadableDataFileIsNeverReplaced() {
        files_->files[kDat] = "/d/a.txt\t2026/12/08\r\n";
        files_->unreadable.insert(kDat);
        QVERIFY(!session_->Load({}).openError.empty());
        QVERIFY(!session_->loaded());
        session_->SaveHistory({});
        QCOMPARE(files_->writes, 0);
        QVERIFY(!session_->settings().ValueExists("VendleMainForm", "Items"));
    }

    void aSmallerHistorySizeCutsTheHistoryAtOnceAndTheViewFollows() {
        files_->files[kDat] = "/d/a.txt\t2026/12/06\r\n/d/b.txt\t2026/12/07\r\n/d/c.txt\t2026/12/08\r\n";
        for (const char* doc : {"/d/a.txt", "/d/b.txt", "/d/c.txt"})
            files_->files[doc] = "x";
        session_->Load({});
        settle();
        session_->refreshView();
        QSignalSpy viewChanged(session_.get(), &HistorySession::viewChanged);
        session_->setDataMax(5);
        QCOMPARE(viewChanged.count(), 0); // nothing to cut
        session_->setDataMax(2);
        QCOMPARE(viewChanged.count(), 1);
        QCOMPARE(session_->items().ItemCount(), 2);
        QCOMPARE(session_->items().ViewCount(), 2);
        QCOMPARE(session_->items().Item(0).Path, std::string("/d/b.txt")); // the oldest went
        session_->setDataMax(0);
        QCOMPARE(session_->dataMax(), 1);
        QCOMPARE(session_->items().ItemCount(), 1);
        session_->setDataMax(42);
        session_->storeSettings();
        session_->writeSettingsFile();
        QCOMPARE(files_->writes, 1);
        QVERIFY(files_->files[kIni].find("DataMax=42\r\n") != std::string::npos);
    }

    void filterMenusListTheHistoryAndFollowTheClock() {
        files_->files["/d/a.txt"] = "x";
        files_->files["/d/b.txt"] = "x";
        files_->files["/e/c.png"] = "x";
        files_->files[kDat] =
            "/d/a.txt\t2026/12/08 9:00:00\r\n/d/b.txt\t2026/12/06\r\n/e/c.png\t2026/12/08\r\n";
        session_->Load({});
        settle();
        QMenu filter;
        std::vector<int> icons;
        FilterMenus menus(filter, *session_, [&](int index) {
            icons.push_back(index);
            return QIcon();
        });
        connect(&menus, &FilterMenus::filterChosen, session_.get(), &HistorySession::setFilter);
        menus.TypeMenuBuild();
        menus.FolderMenuBuild();
        QStringList types;
        for (QAction* a : menus.miTypeFilter->actions())
            types << a->text();
        QCOMPARE(types,
                 (QStringList{QStringLiteral("（なし）"), QStringLiteral("Image"), QStringLiteral("Text")}));
        QCOMPARE(menus.miFolderFilter->actions().size(), 2); // "（なし）" and /d/, the one folder shared
        // Each item shows its own icon: the types' (2 for images, 1 for text), then the folder's.
        QCOMPARE(icons, (std::vector<int>{2, 1, 3}));
        QSignalSpy changed(&menus, &FilterMenus::filterChosen);
        menus.miTypeFilter->actions().at(2)->trigger();
        QCOMPARE(session_->filter().type, std::string("Text"));
        // "Today" is the clock's today, not the machine's.
        menus.miTimeFilter->actions().at(1)->trigger();
        QCOMPARE(session_->filter().since, encodeDate(2026, 12, 8));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(session_->items().ViewCount(), 1); // the choices rebuilt the view
        QCOMPARE(session_->items().ViewItem(0).Path, std::string("/d/a.txt"));
        // Rebuilt, a menu keeps the current choice checked.
        menus.TypeMenuBuild();
        QCOMPARE(menus.miTypeFilter->actions().size(), 3);
        QVERIFY(menus.miTypeFilter->actions().at(2)->isChecked());
    }

    void aSaveAndALookWhileTheDocumentsReadAreCheckedLoseNothing() {
        files_->folders.insert("/d");
        files_->files["/d/a.txt"] = "x";
        files_->away.insert("/m/away.txt");
        files_->files[kDat] =
            "/d/gone.txt\t2026/12/06\r\n/m/away.txt\t2026/12/07\r\n/d/a.txt\t2026/12/08\r\n";
        std::promise<void> answer;
        files_->beforePresenceOfEach = [asked = answer.get_future().share()] { asked.wait(); };
        session_->Load({});
        session_->checkPresence();
        QVERIFY(session_->checking());
        session_->refreshView();
        QCOMPARE(session_->items().ViewCount(), 3); // shown as read until the disk answers
        // A look takes in a new document meanwhile; a save keeps what is not checked yet.
        session_->beginWatching();
        record("/d/new.txt", 5);
        clock_ += encodeTime(0, 0, 10, 0);
        session_->Scan();
        session_->SaveHistory({});
        const std::string saved = files_->files[kDat];
        for (const char* path : {"/d/gone.txt\t", "/m/away.txt\t", "/d/a.txt\t", "/d/new.txt\t"})
            QVERIFY2(saved.find(path) != std::string::npos, path);
        QSignalSpy settled(session_.get(), &HistorySession::presenceSettled);
        answer.set_value();
        QVERIFY(settled.wait(10000));
        QCOMPARE(settled.at(0).at(0).toInt(), 1); // gone
        QCOMPARE(settled.at(0).at(1).toInt(), 1); // away
        QStringList left;
        for (int i = 0; i < session_->items().ItemCount(); ++i)
            left << QString::fromStdString(std::string(session_->items().Item(i).Path));
        QCOMPARE(left, (QStringList{"/m/away.txt", "/d/a.txt", "/d/new.txt"}));
        QVERIFY(session_->items().Item(0).Unavailable);
        QCOMPARE(session_->items().ViewCount(), 3);
    }
};

QTEST_MAIN(SessionTest)
#include "test_session.moc"
