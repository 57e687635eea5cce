// SPDX-License-Identifier: GPL-3.0-or-later
// Files for the program-level tests: reading and writing whole files, and the settings file of a
// user who has started the program before (so that no welcome box waits for an answer).
#pragma once

#include "core/datetimeformat.h"
#include "widgets/localeformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace vendle::test {

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The application information section of a returning user, its date in this system's format.
inline QByteArray knownUser(const QByteArray& extraLines = {}) {
    const std::string firstKick =
        DateTimeToStr(encodeDate(2026, 1, 1), widgets::dateTimeFormatFromLocale(QLocale::system()));
    return "[%%% Application Infomation Section %%%]\r\nFirstKick=" + QByteArray::fromStdString(firstKick) +
           "\r\nExecCount=3\r\nDebugDoAsFirst=0\r\n" + extraLines + "\r\n";
}

} // namespace vendle::test
