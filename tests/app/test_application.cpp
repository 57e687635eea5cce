// SPDX-License-Identifier: GPL-3.0-or-later
// An exception that escapes an event handler is a fault: it is logged with what was being
// dispatched, what was loaded is saved once, and the event loop ends with the fault's exit code.
// The program's life takes the moves of its table and no other.
#include "app/application.h"
#include "app/life.h"

#include <QSignalSpy>

#include <QTest>
#include <QTimer>

#include <set>
#include <stdexcept>
#include <utility>

using vendle::app::Life;
using vendle::app::Phase;
using vendle::app::VendleApplication;

namespace {

QStringList logged;

void keep(QtMsgType, const QMessageLogContext&, const QString& message) {
    logged.append(message);
}

class Broken : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw std::runtime_error("a broken handler");
        return QObject::event(event);
    }
};

} // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void anEscapedExceptionSavesOnceAndEndsWithAnError() {
        auto& app = *static_cast<VendleApplication*>(QCoreApplication::instance());
        int saves = 0;
        app.setEscapedExceptionHandler([&] { ++saves; });
        Broken broken;
        broken.setObjectName(QStringLiteral("Grid"));
        QCoreApplication::postEvent(&broken, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&broken, new QEvent(QEvent::User)); // a second fault on the way out
        QTimer::singleShot(5000, &app, [] { QCoreApplication::exit(1); });
        const QtMessageHandler before = qInstallMessageHandler(keep);
        const int code = QCoreApplication::exec();
        qInstallMessageHandler(before);
        QCOMPARE(code, VendleApplication::kFaultExitCode);
        QCOMPARE(saves, 1);
        QVERIFY(!logged.isEmpty());
        QVERIFY2(logged.first().contains(QStringLiteral("a broken handler")) &&
                     logged.first().contains(QStringLiteral("\"Grid\"")),
                 qPrintable(logged.first()));
    }

    void theLifeTakesTheMovesOfItsTableOnly() {
        constexpr Phase all[] = {Phase::Starting, Phase::Running, Phase::Saving, Phase::Ending,
                                 Phase::Abandoned};
        const std::set<std::pair<Phase, Phase>> allowed = {{Phase::Starting, Phase::Running},
                                                           {Phase::Starting, Phase::Abandoned},
                                                           {Phase::Running, Phase::Saving},
                                                           {Phase::Saving, Phase::Running},
                                                           {Phase::Saving, Phase::Ending}};
        for (Phase from : all)
            for (Phase to : all)
                QCOMPARE(Life::allows(from, to), allowed.count({from, to}) == 1);

        // A life of a failed exit, a session end that did not come, and the end.
        Life life;
        QSignalSpy changed(&life, &Life::changed);
        for (Phase next : {Phase::Running, Phase::Saving, Phase::Running, Phase::Saving, Phase::Ending})
            QVERIFY(life.enter(next));
        QCOMPARE(changed.count(), 5);
        QVERIFY(life.over());
#ifdef QT_NO_DEBUG // a debug build stops at the refusal
        QVERIFY(!life.enter(Phase::Running));
        QVERIFY(!life.enter(Phase::Ending));
        QCOMPARE(life.phase(), Phase::Ending);
        QCOMPARE(changed.count(), 5);
        Life starting;
        QVERIFY(!starting.enter(Phase::Saving)); // nothing is saved before the start is over
        QVERIFY(starting.is(Phase::Starting));
#endif
    }
};

int main(int argc, char* argv[]) {
    VendleApplication app(argc, argv);
    ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"
