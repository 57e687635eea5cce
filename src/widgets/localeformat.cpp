// SPDX-License-Identifier: GPL-3.0-or-later
#include "localeformat.h"

namespace vendle::widgets {

namespace {

bool isPatternLetter(QChar c) {
    return c.isLetter();
}

// Length of the run of `letter` that starts at the first occurrence of it, or 0.
int runLength(const QString& pattern, QChar letter, int* where = nullptr) {
    const int at = pattern.indexOf(letter);
    if (where)
        *where = at;
    if (at < 0)
        return 0;
    int n = 0;
    while (at + n < pattern.size() && pattern[at + n] == letter)
        ++n;
    return n;
}

// Strips quoted literals ('...') out of a Qt pattern.
QString withoutQuotes(const QString& pattern) {
    QString out;
    bool quoted = false;
    for (QChar c : pattern) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted)
            out += c;
    }
    return out;
}

} // namespace

DateTimeFormat dateTimeFormatFromLocale(const QLocale& locale) {
    DateTimeFormat fmt;

    const QString date = withoutQuotes(locale.dateFormat(QLocale::ShortFormat));
    int yAt = -1, mAt = -1, dAt = -1;
    runLength(date, QLatin1Char('y'), &yAt);
    const int mLen = runLength(date, QLatin1Char('M'), &mAt);
    const int dLen = runLength(date, QLatin1Char('d'), &dAt);
    if (yAt >= 0 && mAt >= 0 && dAt >= 0) {
        if (yAt < mAt && mAt < dAt)
            fmt.order = DateTimeFormat::DateOrder::YMD;
        else if (mAt < dAt && dAt < yAt)
            fmt.order = DateTimeFormat::DateOrder::MDY;
        else
            fmt.order = DateTimeFormat::DateOrder::DMY;
        // The separator is what stands between the first field and the second.
        const int first = std::min({yAt, mAt, dAt});
        int i = first;
        while (i < date.size() && isPatternLetter(date[i]))
            ++i;
        int j = i;
        while (j < date.size() && !isPatternLetter(date[j]))
            ++j;
        const QString sep = date.mid(i, j - i).trimmed();
        if (!sep.isEmpty())
            fmt.dateSeparator = sep.toStdString();
        fmt.monthTwoDigits = mLen >= 2;
        fmt.dayTwoDigits = dLen >= 2;
    }

    const QString time = withoutQuotes(locale.timeFormat(QLocale::LongFormat));
    int hAt = -1;
    int hLen = runLength(time, QLatin1Char('h'), &hAt);
    if (hLen == 0)
        hLen = runLength(time, QLatin1Char('H'), &hAt);
    int apAt = time.indexOf(QLatin1Char('A'));
    if (apAt < 0)
        apAt = time.indexOf(QLatin1Char('a'));
    fmt.hourTwoDigits = hLen >= 2;
    fmt.hour12 = apAt >= 0;
    if (fmt.hour12) {
        fmt.amText = locale.amText().toStdString();
        fmt.pmText = locale.pmText().toStdString();
        fmt.markerFirst = apAt < hAt;
    }

    // The time separator is the one the short time pattern puts after the hour, where it is a
    // single punctuation character; otherwise ":".
    const QString shortTime = withoutQuotes(locale.timeFormat(QLocale::ShortFormat));
    int shAt = -1;
    int shLen = runLength(shortTime, QLatin1Char('h'), &shAt);
    if (shLen == 0)
        shLen = runLength(shortTime, QLatin1Char('H'), &shAt);
    fmt.timeSeparator = ":";
    if (shAt >= 0 && shAt + shLen < shortTime.size()) {
        const QChar c = shortTime[shAt + shLen];
        if (c.isPunct())
            fmt.timeSeparator = QString(c).toStdString();
    }
    return fmt;
}

} // namespace vendle::widgets
