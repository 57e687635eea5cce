// Entry point of Vendle: one copy per user, the three windows, the event loop, and an orderly end on
// the exit command, at the end of the session or on a termination signal.
#include "app/application.h"
#include "app/dialogs.h"
#include "app/mainwindow.h"
#include "platform/crashtrace.h"
#include "platform/logging.h"
#include "platform/singleinstance.h"
#include "platform/system.h"
#include "platform/terminationsignals.h"
#include "platform/version.h"
#include "widgets/messagebox.h"

#include <QCoreApplication>
#include <QSessionManager>
#include <QTimer>

#include <cstdio>
#include <memory>

int main(int argc, char* argv[]) {
    using namespace vendle;
    logStartupStep("main");
    platform::installCrashTrace();
    app::VendleApplication application(argc, argv);
    installCoreLogHandler();
    logStartupStep("toolkit");

    // Termination requests are caught from the start; one that arrives before the main window
    // exists is acted on as soon as it does.
    platform::SingleInstance instance(QStringLiteral("Vendle"));
    platform::TerminationSignals termination;
    app::TVendleMainForm* form = nullptr;
    bool terminationPending = false;
    QObject::connect(
        &termination, &platform::TerminationSignals::terminationRequested, &termination, [&](int) {
            // Nothing may wait for an answer now: open boxes close and no new one opens. A copy
            // started from now on waits for this one to end instead of handing over to it.
            widgets::MessageBox::shutDown();
            instance.stopAnswering();
            if (!form) {
                terminationPending = true;
                return;
            }
            form->saveForSessionEnd();
            QCoreApplication::exit(0); // quit() would first ask the windows, which refuse to close
        });

    switch (instance.start()) {
    case platform::SingleInstance::Start::Running:
        break;
    case platform::SingleInstance::Start::HandedOver:
        return 0;
    case platform::SingleInstance::Start::NoAnswer:
        std::fprintf(stderr, "Vendle: another copy runs but does not answer\n");
        return 1;
    }

    try {
        std::string executable = platform::executablePath();
        if (executable.empty())
            executable = QCoreApplication::applicationFilePath().toStdString();
        auto mainForm = std::make_unique<app::TVendleMainForm>(app::AppPaths::beside(executable));
        // Top-level dialogs, centred on the screen; they go after the main window.
        app::TOptionDlg optionDlg(mainForm->session(),
                                  [&](const char* page) { mainForm->ShowHelpTopic(page); });
        app::TFormAboutBox aboutBox(mainForm->session(), platform::programVersion());
        QObject::connect(mainForm.get(), &app::TVendleMainForm::settingsRequested, &optionDlg,
                         &app::TOptionDlg::acOptionExecute);
        QObject::connect(mainForm.get(), &app::TVendleMainForm::aboutRequested, &aboutBox,
                         &app::TFormAboutBox::showModalBox);
        QObject::connect(mainForm.get(), &app::TVendleMainForm::ending, &instance, [&](bool ending) {
            ending ? instance.stopAnswering() : instance.resumeAnswering();
        });
        QObject::connect(&instance, &platform::SingleInstance::activationRequested, mainForm.get(),
                         &app::TVendleMainForm::activateFromSecondCopy);

        QObject::connect(&application, &QGuiApplication::commitDataRequest, mainForm.get(),
                         [&](QSessionManager&) {
                             mainForm->saveForSessionEnd();
                             // The session may yet go on (a cancelled logout): keep watching.
                             mainForm->resumeWatching();
                         });

        form = mainForm.get();
        // The first turn of the event loop: from here on the program answers.
        QTimer::singleShot(0, mainForm.get(), [] { logStartupStep("loop"); });
        if (terminationPending)
            form->saveForSessionEnd();
        else
            QApplication::exec();
        form = nullptr;
        // The settings file reaches the disk; only then may another copy start and read it.
        mainForm->FormDestroy();
        mainForm.reset();
        instance.release();
    } catch (const std::exception& e) {
        app::VendleApplication::showError(QString::fromUtf8(e.what()));
    }
    return 0;
}
