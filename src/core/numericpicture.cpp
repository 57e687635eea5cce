// SPDX-License-Identifier: GPL-3.0-or-later
#include "numericpicture.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vendle {

std::string FormatPicture(std::string_view picture, Extended value, const NumberSeparators& separators) {
    const std::size_t point = picture.find('.');
    const std::string_view intPart = picture.substr(0, point);
    const std::string_view decPart =
        point == std::string_view::npos ? std::string_view() : picture.substr(point + 1);
    int minInt = 0;
    bool grouping = false;
    for (char c : intPart) {
        minInt += c == '0';
        grouping = grouping || c == ',';
    }
    int requiredDecimals = 0;
    int decimals = 0;
    for (char c : decPart) {
        if (c == '0' || c == '#') {
            ++decimals;
            if (c == '0')
                requiredDecimals = decimals;
        }
    }
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");

    const bool negative = value < 0;
    const Extended scaled = std::round(std::fabs(value) * std::pow(10.0L, decimals)); // half away from zero
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.0Lf", scaled);
    std::string digits = buf;
    if (static_cast<int>(digits.size()) <= decimals)
        digits.insert(0, static_cast<std::size_t>(decimals) - digits.size() + 1, '0');
    std::string whole = digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    std::string frac = digits.substr(digits.size() - static_cast<std::size_t>(decimals));
    // Leading zeros beyond the picture's "0" places go, and so do optional trailing decimals.
    while (whole.size() > 1 && whole[0] == '0')
        whole.erase(0, 1);
    if (whole == "0" && minInt == 0)
        whole.clear();
    while (static_cast<int>(whole.size()) < minInt)
        whole.insert(0, 1, '0');
    while (static_cast<int>(frac.size()) > requiredDecimals && frac.back() == '0')
        frac.pop_back();

    std::string out;
    if (grouping) {
        for (std::size_t i = 0; i < whole.size(); ++i) {
            if (i > 0 && (whole.size() - i) % 3 == 0)
                out += separators.thousands;
            out += whole[i];
        }
    } else {
        out = whole;
    }
    if (!frac.empty())
        out += separators.decimal + frac;
    if (out.empty())
        out = "0";
    const bool allZero = scaled == 0;
    if (negative && !allZero)
        out.insert(0, 1, '-');
    return out;
}

ReadNumber TextToValue(std::string_view text) {
    std::string n;
    bool digit = false, minus = false, started = false, point = false, exponent = false;
    for (char c : text) {
        if (c == '-') {
            if (!minus && !started) {
                n += '-';
                minus = true;
            }
        } else if (c == '0') {
            digit = true;
            if (started)
                n += '0';
        } else if (c >= '1' && c <= '9') {
            digit = true;
            n += c;
            started = true;
        } else if (c == '.') {
            if (point || exponent)
                continue;
            if (!started) {
                n += '0';
                started = true;
            }
            n += '.';
            point = true;
        } else if (c == 'E' || c == 'e') {
            if (!started || exponent)
                continue;
            n += c;
            exponent = true;
            minus = false;
            started = false;
        }
    }
    while (!n.empty() && !(n.back() >= '0' && n.back() <= '9'))
        n.pop_back();
    if (n.empty())
        n = "0";
    errno = 0;
    Extended value = std::strtold(n.c_str(), nullptr);
    if (std::isinf(value))
        value = value < 0 ? -LDBL_MAX : LDBL_MAX;
    return {value, digit};
}

ReadNumber TextToValue(std::string_view text, const NumberSeparators& separators) {
    if (separators.decimal == "." || separators.decimal.empty())
        return TextToValue(text);
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '.')
            continue;
        if (text.compare(i, separators.decimal.size(), separators.decimal) == 0) {
            plain += '.';
            i += separators.decimal.size() - 1;
        } else {
            plain += text[i];
        }
    }
    return TextToValue(plain);
}

std::optional<long long> wholeNumberIn(std::string_view text, long long min, long long max,
                                       const NumberSeparators& separators) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    long long value = 0;
    bool digits = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            value = value * 10 + (c - '0');
            digits = true;
            if (value > max)
                return std::nullopt; // also keeps the value from overflowing
        } else if (!separators.thousands.empty() && digits &&
                   text.compare(i, separators.thousands.size(), separators.thousands) == 0) {
            i += separators.thousands.size() - 1;
        } else {
            return std::nullopt;
        }
    }
    if (!digits || value < min)
        return std::nullopt;
    return value;
}

} // namespace vendle
