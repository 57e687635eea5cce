// SPDX-License-Identifier: GPL-3.0-or-later
// An exception that escapes an event handler is a fault: it is logged with what was being
// dispatched, what was loaded is saved once, and the event loop ends with the fault's exit code.
#include "app/application.h"

#include <QTest>
#include <QTimer>

#include <stdexcept>

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
};

int main(int argc, char* argv[]) {
    VendleApplication app(argc, argv);
    ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"
