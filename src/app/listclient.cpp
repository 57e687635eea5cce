// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/listclient.h"

#include "app/apppaths.h"
#include "core/datetimeformat.h"
#include "core/filelimits.h"
#include "core/paths.h"
#include "core/text.h"
#include "platform/fileaccess.h"
#include "platform/searchservice.h"
#include "platform/system.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace vendle::app {
namespace {

constexpr const char* kObjectPath = "/org/vendle/Vendle";
constexpr const char* kInterface = "org.vendle.Vendle1";

struct Listed {
    std::string path;
    std::int64_t time = 0; // Unix seconds
    bool available = true;
};

QDBusMessage ask(const QString& method, const QList<QVariant>& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(platform::kBusName),
                                                       QString::fromLatin1(kObjectPath),
                                                       QString::fromLatin1(kInterface), method);
    call.setArguments(arguments);
    call.setAutoStartService(false); // a listing never starts the program
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
}

QStringList strings(const std::vector<std::string>& texts) {
    QStringList out;
    for (const std::string& text : texts)
        out.append(QString::fromStdString(text));
    return out;
}

// The running copy's answer, or nothing when no copy runs (or no session bus exists).
std::optional<std::vector<Listed>> fromRunningCopy(const CommandLine& line) {
    if (!QDBusConnection::sessionBus().isConnected())
        return std::nullopt;
    const QDBusMessage reply =
        ask(QStringLiteral("Search"), {strings(line.words), static_cast<int>(platform::kMostResults)});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    std::vector<Listed> found;
    const QDBusArgument array = reply.arguments().front().value<QDBusArgument>();
    array.beginArray();
    while (!array.atEnd()) {
        QString path;
        qint64 time = 0;
        bool available = true;
        array.beginStructure();
        array >> path >> time >> available;
        array.endStructure();
        found.push_back({path.toStdString(), time, available});
    }
    array.endArray();
    return found;
}

// The history file as it is: the documents still there, and those whose volume is away.
std::vector<Listed> fromHistoryFile(const CommandLine& line) {
    std::string executable = platform::executablePath();
    if (executable.empty())
        executable = QCoreApplication::applicationFilePath().toStdString();
    const AppPaths paths = AppPaths::forProgram(executable);
    platform::SystemFileAccess files;
    std::vector<Listed> found;
    // The whole file in memory for a moment: on huge pages that costs a few faults, not thousands.
    platform::prepareMemoryFor(static_cast<std::size_t>(std::max<qint64>(
                                   0, QFileInfo(QString::fromStdString(paths.dataFile)).size())) *
                               2);
    const std::optional<std::string> text = files.readAll(paths.dataFile, kDataFileLimit);
    if (!text)
        return found;
    const DateTimeFormat locale = DateTimeFormat::japanese();
    // The matching lines first; then the disk is asked about all of them at once (side by side).
    std::vector<std::string_view> matches;
    std::vector<std::string_view> times;
    std::string_view rest(*text);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view entry = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!entry.empty() && entry.back() == '\r')
            entry.remove_suffix(1);
        const std::size_t tab = entry.find('\t');
        const std::string_view path = entry.substr(0, tab);
        if (path.empty() || path.front() != '/' ||
            !std::all_of(line.words.begin(), line.words.end(), [&](const std::string& word) {
                return findNoCase(path, word, CodePage::utf8()) != std::string::npos;
            }))
            continue;
        matches.push_back(path);
        times.push_back(tab == std::string_view::npos ? std::string_view() : entry.substr(tab + 1));
    }
    const std::vector<FileAccess::Presence> presences = files.presenceOfEach(matches);
    for (std::size_t i = 0; i < matches.size(); ++i) {
        if (presences[i] == FileAccess::Presence::Gone)
            continue;
        const std::optional<DateTime> time =
            times[i].empty() ? std::nullopt : readFileDateTime(times[i], locale);
        found.push_back({std::string(matches[i]), time ? toUnixTime(*time) : 0,
                         presences[i] == FileAccess::Presence::File});
    }
    // Newest first; of equal times the later line first, as the history keeps them.
    std::reverse(found.begin(), found.end());
    std::stable_sort(found.begin(), found.end(),
                     [](const Listed& a, const Listed& b) { return b.time < a.time; });
    return found;
}

bool passes(const Listed& d, const CommandLine& line, std::int64_t since) {
    const QFileInfo file(QString::fromStdString(d.path));
    if (line.days > 0 && d.time < since)
        return false;
    if (!line.type.empty() &&
        file.suffix().compare(QString::fromStdString(line.type), Qt::CaseInsensitive) != 0)
        return false;
    if (!line.folder.empty() && QDir::cleanPath(file.path()) != QDir::cleanPath(QDir().absoluteFilePath(
                                                                    QString::fromStdString(line.folder))))
        return false;
    return true;
}

void print(const std::vector<Listed>& found, const CommandLine& line) {
    const char end = line.nulSeparated ? '\0' : '\n';
    QJsonArray json;
    for (const Listed& d : found) {
        const QString time = QDateTime::fromSecsSinceEpoch(d.time).toString(Qt::ISODate);
        switch (line.form) {
        case CommandLine::Form::Paths:
            std::printf("%s%c", d.path.c_str(), end);
            break;
        case CommandLine::Form::Long:
            std::printf("%s\t%s\t%s%c", time.toUtf8().constData(), d.available ? "yes" : "no", d.path.c_str(),
                        end);
            break;
        case CommandLine::Form::Json:
            json.append(QJsonObject{{QStringLiteral("path"), QString::fromStdString(d.path)},
                                    {QStringLiteral("time"), time},
                                    {QStringLiteral("available"), d.available}});
            break;
        }
    }
    if (line.form == CommandLine::Form::Json)
        std::printf("%s\n", QJsonDocument(json).toJson(QJsonDocument::Compact).constData());
}

} // namespace

int runListOrAdd(const CommandLine& line, int argc, char** argv) {
    platform::settleTimeZone();
    QCoreApplication application(argc, argv);
    // The terminal gets the answer and the errors, not where the files are.
    QLoggingCategory::setFilterRules(QStringLiteral("vendle.*.info=false"));
    if (line.action == CommandLine::Action::Add) {
        QStringList files;
        for (const std::string& file : line.words)
            files.append(QFileInfo(QString::fromStdString(file)).absoluteFilePath());
        if (!QDBusConnection::sessionBus().isConnected()) {
            std::fprintf(stderr, "vendle: no running copy to add to (no session bus)\n");
            return kNoRunningCopy;
        }
        const QDBusMessage reply = ask(QStringLiteral("Add"), {files});
        if (reply.type() == QDBusMessage::ReplyMessage)
            return 0;
        const bool none = reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
                          reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
        std::fprintf(stderr, "vendle: %s\n",
                     none ? "no running copy to add to" : reply.errorMessage().toUtf8().constData());
        return none ? kNoRunningCopy : 1;
    }
    std::optional<std::vector<Listed>> running = fromRunningCopy(line);
    std::vector<Listed> found = running ? std::move(*running) : fromHistoryFile(line);
    const std::int64_t since =
        QDateTime(QDate::currentDate().addDays(1 - line.days), QTime(0, 0)).toSecsSinceEpoch();
    std::erase_if(found, [&](const Listed& d) { return !passes(d, line, since); });
    print(found, line);
    return 0;
}

} // namespace vendle::app
