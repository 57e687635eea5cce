// SPDX-License-Identifier: GPL-3.0-or-later
// The history on a real session bus of the test's own: the desktop's search provider called with
// gdbus as GNOME Shell calls it, the program's own interface, and hostile requests answered with
// errors while the program runs on.
#include "programprocess.h"

#include <QProcess>
#include <QTest>

using vendle::test::ProgramFolder;
using vendle::test::writeFile;

namespace {

struct Reply {
    bool ok = false;
    QString text; // the answer, or the error
};

} // namespace

class SearchServiceTest : public QObject {
    Q_OBJECT

    QProcess bus_;
    QString address_;

    Reply call(const QString& path, const QString& method, const QStringList& args) {
        QProcess gdbus;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
        gdbus.setProcessEnvironment(env);
        gdbus.start(QStringLiteral("gdbus"),
                    QStringList{QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"),
                                QStringLiteral("org.vendle.Vendle"), QStringLiteral("--object-path"), path,
                                QStringLiteral("--method"), method} +
                        args);
        if (!gdbus.waitForFinished(20000))
            return {false, QStringLiteral("no answer")};
        const bool ok = gdbus.exitStatus() == QProcess::NormalExit && gdbus.exitCode() == 0;
        return {ok, QString::fromUtf8(ok ? gdbus.readAllStandardOutput() : gdbus.readAllStandardError())};
    }

    Reply provider(const QString& method, const QStringList& args) {
        return call(QStringLiteral("/org/vendle/Vendle/SearchProvider"),
                    QStringLiteral("org.gnome.Shell.SearchProvider2.") + method, args);
    }

    // `vendle ARGS` of the folder's copy: its exit code and what it printed.
    std::pair<int, QString> command(const ProgramFolder& folder, const QStringList& args,
                                    bool withBus = true) {
        QProcess p;
        QProcessEnvironment env = folder.environment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                   withBus ? address_ : QStringLiteral("unix:path=/nonexistent-bus"));
        p.setProcessEnvironment(env);
        p.start(folder.path(QStringLiteral("vendle")), args);
        if (!p.waitForFinished(20000))
            return {-1, {}};
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput())};
    }

    Reply own(const QString& method, const QStringList& args) {
        return call(QStringLiteral("/org/vendle/Vendle"), QStringLiteral("org.vendle.Vendle1.") + method,
                    args);
    }

private slots:
    void initTestCase() {
        bus_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                   QStringLiteral("--print-address=1")});
        QVERIFY(bus_.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(bus_.canReadLine(), 10000);
        address_ = QString::fromUtf8(bus_.readLine()).trimmed();
        QVERIFY(!address_.isEmpty());
    }

    void cleanupTestCase() {
        bus_.terminate();
        bus_.waitForFinished(5000);
    }

    void theDesktopsSearchAndTheOwnInterfaceAnswerAndHostileRequestsGetErrors() {
        ProgramFolder folder;
        writeFile(folder.path(QStringLiteral("vendle.ini")), vendle::test::knownUser());
        const QString older = folder.path(QStringLiteral("docs/report-older.txt"));
        const QString newer = folder.path(QStringLiteral("docs/Report-newer.odt"));
        const QString notes = folder.path(QStringLiteral("docs/notes.txt"));
        const QString away = QStringLiteral("/vendle-test-volume-that-is-away/report-away.txt");
        for (const QString& doc : {older, newer, notes})
            writeFile(doc, "x");
        writeFile(folder.path(QStringLiteral("vendle.dat")),
                  older.toUtf8() + "\t2026/12/01 10:00:00\r\n" + away.toUtf8() + "\t2026/12/02 10:00:00\r\n" +
                      notes.toUtf8() + "\t2026/12/03 10:00:00\r\n" + newer.toUtf8() +
                      "\t2026/12/04 10:00:00\r\n");
        auto program = folder.start({QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + address_});

        // As the shell asks: the matches of every term, newest first; then their names.
        Reply found;
        QTRY_VERIFY_WITH_TIMEOUT(
            (found = provider(QStringLiteral("GetInitialResultSet"), {QStringLiteral("['rep']")})).ok, 20000);
        QCOMPARE(found.text.trimmed(), QStringLiteral("(['%1', '%2', '%3'],)").arg(newer, away, older));
        found = provider(QStringLiteral("GetSubsearchResultSet"),
                         {QStringLiteral("['rep']"), QStringLiteral("['rep', 'txt']")});
        QCOMPARE(found.text.trimmed(), QStringLiteral("(['%1', '%2'],)").arg(away, older));
        const Reply metas = provider(QStringLiteral("GetResultMetas"), {QStringLiteral("['%1']").arg(newer)});
        QVERIFY2(metas.ok && metas.text.contains(QStringLiteral("'name': <'Report-newer.odt'>")) &&
                     metas.text.contains(
                         QStringLiteral("'description': <'%1'>").arg(folder.path(QStringLiteral("docs")))),
                 qPrintable(metas.text));

        // The own interface: the time and whether the document is there.
        const Reply searched =
            own(QStringLiteral("Search"), {QStringLiteral("['away']"), QStringLiteral("10")});
        QVERIFY2(searched.ok && searched.text.contains(away + QStringLiteral("', int64 ")) &&
                     searched.text.contains(QStringLiteral("false)")),
                 qPrintable(searched.text));

        // KRunner: the same matches, newest first, with the folder as the subtext; its one action.
        const Reply runner = call(QStringLiteral("/runner"), QStringLiteral("org.kde.krunner1.Match"),
                                  {QStringLiteral("rep txt")});
        QVERIFY2(runner.ok && runner.text.indexOf(away) < runner.text.indexOf(older) &&
                     !runner.text.contains(newer) &&
                     runner.text.contains(
                         QStringLiteral("'subtext': <'%1'>").arg(folder.path(QStringLiteral("docs")))),
                 qPrintable(runner.text));
        QVERIFY(call(QStringLiteral("/runner"), QStringLiteral("org.kde.krunner1.Actions"), {})
                    .text.contains(QStringLiteral("'openfolder'")));
        QVERIFY(!call(QStringLiteral("/runner"), QStringLiteral("org.kde.krunner1.Run"),
                      {older, QStringLiteral("'bogus'")})
                     .ok);

        // Hostile requests: errors, and the program answers on.
        const QString huge = QStringLiteral("['%1']").arg(QString(2000, QLatin1Char('x')));
        QVERIFY(!provider(QStringLiteral("GetInitialResultSet"), {huge}).ok);
        QVERIFY(!own(QStringLiteral("Search"), {QStringLiteral("['rep']"), QStringLiteral("100000")}).ok);
        QVERIFY(!own(QStringLiteral("Search"), {QStringLiteral("['rep']"), QStringLiteral("'ten'")}).ok);
        QVERIFY(!own(QStringLiteral("Add"), {QStringLiteral("['relative/path.txt']")}).ok);
        QStringList many;
        for (int i = 0; i < 10000; ++i)
            many << QStringLiteral("'/d/%1.txt'").arg(i);
        QVERIFY(!own(QStringLiteral("Forget"),
                     {QLatin1Char('[') + many.join(QLatin1Char(',')) + QLatin1Char(']')})
                     .ok);
        QVERIFY(
            provider(QStringLiteral("ActivateResult"), {away, QStringLiteral("['rep']"), QStringLiteral("0")})
                .ok);
        QCOMPARE(program->state(), QProcess::Running);

        // The command line asks the running copy.
        QCOMPARE(command(folder, {QStringLiteral("--list"), QStringLiteral("rep")}).second,
                 QStringLiteral("%1\n%2\n%3\n").arg(newer, away, older));
        const QString json =
            command(folder, {QStringLiteral("--list"), QStringLiteral("--json"), QStringLiteral("away")})
                .second;
        QVERIFY2(json.contains(QStringLiteral("\"available\":false")) && json.contains(away),
                 qPrintable(json));

        // Add records a document as the desktop would; Forget takes it out again.
        const QString added = folder.path(QStringLiteral("docs/report-added.txt"));
        writeFile(added, "x");
        QVERIFY(own(QStringLiteral("Add"), {QStringLiteral("['%1']").arg(added)}).ok);
        QTRY_VERIFY_WITH_TIMEOUT(
            provider(QStringLiteral("GetInitialResultSet"), {QStringLiteral("['added']")})
                .text.contains(added),
            20000);
        QVERIFY(own(QStringLiteral("Forget"), {QStringLiteral("['%1']").arg(added)}).ok);
        QVERIFY(!provider(QStringLiteral("GetInitialResultSet"), {QStringLiteral("['added']")})
                     .text.contains(added));

        const QString byCommand = folder.path(QStringLiteral("docs/report-by-command.txt"));
        writeFile(byCommand, "x");
        QCOMPARE(command(folder, {QStringLiteral("--add"), byCommand}).first, 0);
        QTRY_VERIFY_WITH_TIMEOUT(command(folder, {QStringLiteral("--list"), QStringLiteral("by-command")})
                                     .second.contains(byCommand),
                                 20000);

        program->terminate();
        QVERIFY(program->waitForFinished(15000));
        QCOMPARE(program->exitCode(), 0);

        // Without a running copy: the history file as it was saved, unchanged; --add says so.
        const QByteArray saved = vendle::test::readFile(folder.path(QStringLiteral("vendle.dat")));
        QCOMPARE(command(folder,
                         {QStringLiteral("--list"), QStringLiteral("--type"), QStringLiteral("txt"),
                          QStringLiteral("rep")},
                         false)
                     .second,
                 QStringLiteral("%1\n%2\n%3\n").arg(byCommand, away, older));
        QCOMPARE(command(folder, {QStringLiteral("--add"), byCommand}, false).first, 3);
        QCOMPARE(vendle::test::readFile(folder.path(QStringLiteral("vendle.dat"))), saved);
    }
};

QTEST_GUILESS_MAIN(SearchServiceTest)
#include "test_searchservice.moc"
