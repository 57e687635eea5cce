// SPDX-License-Identifier: GPL-3.0-or-later
// The objects the search service puts on the bus, one interface each: GNOME Shell's search provider
// and the program's own. Each derives from QDBusContext itself, so that Qt finds a call's context.
#pragma once

#include "platform/searchservice.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusContext>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

#include <string>
#include <vector>

namespace vendle::platform {

// One result of Search: (path, last use in Unix seconds, available).
struct BusDocument {
    QString path;
    qint64 time = 0;
    bool available = true;
};

QDBusArgument& operator<<(QDBusArgument& out, const BusDocument& d);
const QDBusArgument& operator>>(const QDBusArgument& in, BusDocument& d);

// KRunner's match: (id, text, icon name, type, relevance, properties).
struct RunnerMatch {
    QString id;
    QString text;
    QString icon;
    int type = 0;
    double relevance = 0;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& out, const RunnerMatch& m);
const QDBusArgument& operator>>(const QDBusArgument& in, RunnerMatch& m);

// KRunner's action: (id, text, icon name).
struct RunnerAction {
    QString id;
    QString text;
    QString icon;
};

QDBusArgument& operator<<(QDBusArgument& out, const RunnerAction& a);
const QDBusArgument& operator>>(const QDBusArgument& in, RunnerAction& a);

} // namespace vendle::platform

Q_DECLARE_METATYPE(vendle::platform::BusDocument)
Q_DECLARE_METATYPE(vendle::platform::RunnerMatch)
Q_DECLARE_METATYPE(vendle::platform::RunnerAction)

namespace vendle::platform {

namespace bus {
// False (and an error to the caller) when a request brings more than `most` items or more than
// `longest` bytes.
bool bounded(const QDBusContext& context, const QStringList& items, std::size_t most, std::size_t longest);
std::vector<std::string> texts(const QStringList& items);
} // namespace bus

// GNOME Shell's search provider: result ids are the documents' paths.
class ShellProvider : public QObject, public QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Shell.SearchProvider2")

public:
    explicit ShellProvider(SearchBackend& backend, QObject* parent) : QObject(parent), backend_(backend) {}

public slots:
    QStringList GetInitialResultSet(const QStringList& terms) { return find(terms); }
    QStringList GetSubsearchResultSet(const QStringList&, const QStringList& terms) { return find(terms); }

    QList<QVariantMap> GetResultMetas(const QStringList& ids) {
        QList<QVariantMap> metas;
        if (!bus::bounded(*this, ids, kMostResults, kMostResults * 4096))
            return metas;
        static const QMimeDatabase types;
        for (const QString& id : ids) {
            const QFileInfo file(id);
            QVariantMap meta;
            meta.insert(QStringLiteral("id"), id);
            meta.insert(QStringLiteral("name"), file.fileName());
            meta.insert(QStringLiteral("description"), file.path());
            meta.insert(QStringLiteral("gicon"),
                        types.mimeTypeForFile(id, QMimeDatabase::MatchExtension).iconName());
            metas.append(meta);
        }
        return metas;
    }

    void ActivateResult(const QString& id, const QStringList& terms, uint) {
        const std::string reason = backend_.open(id.toStdString());
        if (!reason.empty()) // the window tells the user; a volume away shows the search instead
            backend_.show(terms.join(QLatin1Char(' ')).toStdString());
    }

    void LaunchSearch(const QStringList& terms, uint) {
        if (bus::bounded(*this, terms, 64, kLongestTerms))
            backend_.show(terms.join(QLatin1Char(' ')).toStdString());
    }

private:
    QStringList find(const QStringList& terms) {
        QStringList ids;
        if (!bus::bounded(*this, terms, 64, kLongestTerms))
            return ids;
        for (const FoundDocument& d : backend_.search(bus::texts(terms), kMostShellResults))
            ids.append(QString::fromStdString(d.path));
        return ids;
    }

    SearchBackend& backend_;
};

// KDE's KRunner: match ids are the documents' paths; the one action opens the folder.
class Runner : public QObject, public QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.krunner1")

public:
    explicit Runner(SearchBackend& backend, QObject* parent) : QObject(parent), backend_(backend) {}

public slots:
    QList<RunnerAction> Actions() {
        return {{QStringLiteral("openfolder"),
                 QCoreApplication::translate("vendle::platform::Runner", "フォルダを開く"),
                 QStringLiteral("document-open-folder")}};
    }

    QList<RunnerMatch> Match(const QString& query) {
        QList<RunnerMatch> matches;
        const QStringList terms = query.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (!bus::bounded(*this, terms, 64, kLongestTerms) || terms.isEmpty())
            return matches;
        static const QMimeDatabase types;
        const std::vector<FoundDocument> found = backend_.search(bus::texts(terms), kMostShellResults);
        for (std::size_t i = 0; i < found.size(); ++i) {
            const QString path = QString::fromStdString(found[i].path);
            const QFileInfo file(path);
            QVariantMap properties;
            properties.insert(QStringLiteral("subtext"), file.path());
            properties.insert(QStringLiteral("urls"), QStringList{QUrl::fromLocalFile(path).toString()});
            // Newest first: the relevance falls with the place.
            matches.append({path, file.fileName(),
                            types.mimeTypeForFile(path, QMimeDatabase::MatchExtension).iconName(),
                            found[i].available ? 30 : 50, 1.0 - static_cast<double>(i) / 100.0, properties});
        }
        return matches;
    }

    void Run(const QString& matchId, const QString& actionId) {
        const std::string path = matchId.toStdString();
        if (actionId == QLatin1String("openfolder"))
            backend_.openFolder(path);
        else if (actionId.isEmpty())
            backend_.open(path);
        else
            sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no such action"));
    }

private:
    SearchBackend& backend_;
};

// The program's own interface.
class OwnInterface : public QObject, public QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vendle.Vendle1")

public:
    explicit OwnInterface(SearchBackend& backend, QObject* parent) : QObject(parent), backend_(backend) {}

public slots:
    QList<BusDocument> Search(const QStringList& terms, int limit) {
        QList<BusDocument> out;
        if (!bus::bounded(*this, terms, 64, kLongestTerms))
            return out;
        if (limit < 0 || static_cast<std::size_t>(limit) > kMostResults) {
            sendErrorReply(QDBusError::InvalidArgs,
                           QStringLiteral("the limit lies in 0..%1").arg(kMostResults));
            return out;
        }
        for (const FoundDocument& d : backend_.search(bus::texts(terms), static_cast<std::size_t>(limit)))
            out.append({QString::fromStdString(d.path), d.unixTime, d.available});
        return out;
    }

    void Add(const QStringList& paths) {
        if (absolute(paths))
            backend_.add(bus::texts(paths));
    }

    void Forget(const QStringList& paths) {
        if (absolute(paths))
            backend_.forget(bus::texts(paths));
    }

    void Show() { backend_.show({}); }

private:
    bool absolute(const QStringList& paths) {
        if (!bus::bounded(*this, paths, kMostPaths, kMostPaths * 4096))
            return false;
        for (const QString& path : paths) {
            if (!path.startsWith(QLatin1Char('/')) || path.contains(QChar(0))) {
                sendErrorReply(QDBusError::InvalidArgs,
                               QStringLiteral("not an absolute path: %1").arg(path.left(200)));
                return false;
            }
        }
        return true;
    }

    SearchBackend& backend_;
};

} // namespace vendle::platform
