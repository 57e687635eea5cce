// SPDX-License-Identifier: GPL-3.0-or-later
// The search service with Qt D-Bus: one object a path, each exporting the slots of one interface.
#include "platform/linux/searchservice_dbus.h"

#include "platform/logging.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMetaType>

namespace vendle::platform {

QDBusArgument& operator<<(QDBusArgument& out, const BusDocument& d) {
    out.beginStructure();
    out << d.path << d.time << d.available;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, BusDocument& d) {
    in.beginStructure();
    in >> d.path >> d.time >> d.available;
    in.endStructure();
    return in;
}

QDBusArgument& operator<<(QDBusArgument& out, const RunnerMatch& m) {
    out.beginStructure();
    out << m.id << m.text << m.icon << m.type << m.relevance << m.properties;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, RunnerMatch& m) {
    in.beginStructure();
    in >> m.id >> m.text >> m.icon >> m.type >> m.relevance >> m.properties;
    in.endStructure();
    return in;
}

QDBusArgument& operator<<(QDBusArgument& out, const RunnerAction& a) {
    out.beginStructure();
    out << a.id << a.text << a.icon;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, RunnerAction& a) {
    in.beginStructure();
    in >> a.id >> a.text >> a.icon;
    in.endStructure();
    return in;
}

namespace bus {

bool bounded(const QDBusContext& context, const QStringList& items, std::size_t most, std::size_t longest) {
    std::size_t bytes = 0;
    for (const QString& item : items)
        bytes += static_cast<std::size_t>(item.toUtf8().size());
    if (static_cast<std::size_t>(items.size()) > most || bytes > longest) {
        context.sendErrorReply(
            QDBusError::LimitsExceeded,
            QStringLiteral("at most %1 items of %2 bytes together").arg(most).arg(longest));
        return false;
    }
    return true;
}

std::vector<std::string> texts(const QStringList& items) {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(items.size()));
    for (const QString& item : items)
        out.push_back(item.toStdString());
    return out;
}

} // namespace bus

namespace {

constexpr const char* kObjectPath = "/org/vendle/Vendle";
constexpr const char* kProviderPath = "/org/vendle/Vendle/SearchProvider";
constexpr const char* kRunnerPath = "/runner";

} // namespace

std::unique_ptr<QObject> startSearchService(SearchBackend& backend) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCInfo(lcUi) << "no session bus: the search service is off";
        return nullptr;
    }
    qDBusRegisterMetaType<BusDocument>();
    qDBusRegisterMetaType<QList<BusDocument>>();
    qDBusRegisterMetaType<QList<QVariantMap>>();
    qDBusRegisterMetaType<RunnerMatch>();
    qDBusRegisterMetaType<QList<RunnerMatch>>();
    qDBusRegisterMetaType<RunnerAction>();
    qDBusRegisterMetaType<QList<RunnerAction>>();
    auto owner = std::make_unique<QObject>();
    auto* provider = new ShellProvider(backend, owner.get());
    auto* own = new OwnInterface(backend, owner.get());
    auto* runner = new Runner(backend, owner.get());
    if (!bus.registerObject(QString::fromLatin1(kProviderPath), provider, QDBusConnection::ExportAllSlots) ||
        !bus.registerObject(QString::fromLatin1(kObjectPath), own, QDBusConnection::ExportAllSlots) ||
        !bus.registerObject(QString::fromLatin1(kRunnerPath), runner, QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QString::fromLatin1(kBusName))) {
        qCWarning(lcUi) << "the search service could not be put on the session bus:"
                        << bus.lastError().message();
        bus.unregisterObject(QString::fromLatin1(kProviderPath));
        bus.unregisterObject(QString::fromLatin1(kObjectPath));
        bus.unregisterObject(QString::fromLatin1(kRunnerPath));
        return nullptr;
    }
    // The name and the objects go with the owner.
    QObject::connect(owner.get(), &QObject::destroyed, [] {
        QDBusConnection connection = QDBusConnection::sessionBus();
        connection.unregisterService(QString::fromLatin1(kBusName));
        connection.unregisterObject(QString::fromLatin1(kProviderPath));
        connection.unregisterObject(QString::fromLatin1(kObjectPath));
        connection.unregisterObject(QString::fromLatin1(kRunnerPath));
    });
    return owner;
}

} // namespace vendle::platform
