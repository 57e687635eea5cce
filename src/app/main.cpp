// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point of Vendle: one copy per user, the program object, the event loop, and an orderly end
// on the exit command, at the end of the session or on a termination signal.
#include "app/application.h"
#include "app/commandline.h"
#include "app/listclient.h"
#include "app/mainwindow.h"
#include "app/program.h"
#include "platform/crashtrace.h"
#include "platform/logging.h"
#include "platform/singleinstance.h"
#include "platform/system.h"
#include "platform/terminationsignals.h"
#include "platform/version.h"
#include "platform/windowsystem.h"

#include <QCoreApplication>
#include <QSessionManager>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    using namespace vendle;
    // --help, --version and a wrong line are answered on the terminal before anything else runs:
    // no toolkit, no display, no files, no hand-over to a running copy.
    const app::CommandLine commandLine = app::readCommandLine(argc, argv, platform::programVersion());
    if (commandLine.action == app::CommandLine::Action::List ||
        commandLine.action == app::CommandLine::Action::Add)
        return app::runListOrAdd(commandLine, argc, argv);
    if (commandLine.action != app::CommandLine::Action::Run) {
        std::fputs(commandLine.message.c_str(),
                   commandLine.action == app::CommandLine::Action::Refuse ? stderr : stdout);
        return commandLine.exitCode();
    }
    logStartupStep("main");
    // Relative base folders are invalid: a start from another folder must find the same files.
    const std::vector<std::string> invalidFolders = platform::dropRelativeBaseDirectories();
    platform::installCrashTrace();
    const QString activationToken = platform::launchActivationToken(); // before the toolkit takes it
    app::VendleApplication application(argc, argv);
    installCoreLogHandler();
    logStartupStep("toolkit");
    for (const std::string& name : invalidFolders)
        qCWarning(lcFiles) << name.c_str() << "holds a relative path, which is invalid: the default is used";

    // Termination requests are caught from here on; one that arrives before the event loop runs is
    // served by its first turns.
    platform::TerminationSignals termination;
    std::string executable = platform::executablePath();
    if (executable.empty())
        executable = QCoreApplication::applicationFilePath().toStdString();
    const app::AppPaths paths = app::AppPaths::forProgram(executable);
    platform::SingleInstance instance(QString::fromStdString(paths.instanceName));
    switch (instance.start(10'000, activationToken)) {
    case platform::SingleInstance::Start::Running:
        break;
    case platform::SingleInstance::Start::HandedOver:
        return 0;
    case platform::SingleInstance::Start::NoAnswer:
        std::fprintf(stderr, "Vendle: another copy runs but does not answer\n");
        return 1;
    }

    std::unique_ptr<app::Program> program;
    try {
        program = std::make_unique<app::Program>(paths);
    } catch (const std::exception& e) {
        app::VendleApplication::showError(QString::fromUtf8(e.what()));
        return 1;
    }

    // A copy started while this one saves or ends waits for it to end instead of handing over.
    QObject::connect(&program->life(), &app::Life::changed, &instance, [&](app::Phase phase) {
        phase == app::Phase::Running ? instance.resumeAnswering() : instance.stopAnswering();
    });
    QObject::connect(&instance, &platform::SingleInstance::activationRequested, &program->window(),
                     &app::TVendleMainForm::activateFromSecondCopy);
    QObject::connect(&termination, &platform::TerminationSignals::terminationRequested, program.get(),
                     [&](int) { program->terminate(); });
    QObject::connect(&application, &QGuiApplication::commitDataRequest, program.get(), [&](QSessionManager&) {
        program->saveForSessionEnd();
        // The session may yet go on (a cancelled logout): keep watching.
        program->resumeWatching();
    });
    // A fault that escapes an event handler ends the program, after saving what was loaded; so
    // does a display that goes away.
    application.setEscapedExceptionHandler([&] { program->saveForSessionEnd(); });
    platform::setDisplayLostHandler([&] {
        program->saveForSessionEnd();
        program->finish();
    });

    // The start runs from the event loop, so that a termination request is served during its boxes.
    // A start that was given up (told to end while a box waited) ends the loop it runs in.
    QTimer::singleShot(0, program.get(), [&] {
        if (!program->start()) {
            QCoreApplication::exit(0);
            return;
        }
        logStartupStep("loop"); // from here on the program answers
    });
    const int code = QApplication::exec();
    platform::setDisplayLostHandler({});
    // The settings file reaches the disk; only then may another copy start and read it.
    program->finish();
    program.reset();
    instance.release();
    return code;
}
