// SPDX-License-Identifier: GPL-3.0-or-later
#include "asciikeys.h"

#include "icucollator.h"

#include <unicode/uset.h>

#include <algorithm>
#include <vector>

namespace vendle::platform {

namespace {

struct SetClose {
    void operator()(USet* set) const { uset_close(set); }
};

UCollatorPtr withStrength(const UCollator* collator, UColAttributeValue strength) {
    UCollatorPtr copy = cloneCollator(collator);
    if (copy)
        ucol_setStrength(copy.get(), strength);
    return copy;
}

int compareAscii(const UCollator* collator, std::string_view a, std::string_view b) {
    std::u16string wa(a.begin(), a.end());
    std::u16string wb(b.begin(), b.end());
    const UCollationResult r =
        ucol_strcoll(collator, reinterpret_cast<const UChar*>(wa.data()), static_cast<int32_t>(wa.size()),
                     reinterpret_cast<const UChar*>(wb.data()), static_cast<int32_t>(wb.size()));
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

bool attributeIs(const UCollator* collator, UColAttribute attribute, UColAttributeValue wanted) {
    UErrorCode status = U_ZERO_ERROR;
    const UColAttributeValue value = ucol_getAttribute(collator, attribute, &status);
    return U_SUCCESS(status) && value == wanted;
}

// True when a set of the collator's contractions or expansions holds an ASCII-only string or an
// ASCII code point.
bool touchesAscii(const USet* set) {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t items = uset_getItemCount(set);
    for (int32_t i = 0; i < items; ++i) {
        UChar32 start = 0;
        UChar32 end = 0;
        UChar text[64];
        status = U_ZERO_ERROR;
        const int32_t length = uset_getItem(set, i, &start, &end, text, 64, &status);
        if (length == 0) {
            if (start < 0x80)
                return true;
        } else if (U_FAILURE(status) ||
                   std::all_of(text, text + std::min(length, 64), [](UChar c) { return c < 0x80; })) {
            return true;
        }
    }
    return false;
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

} // namespace

std::shared_ptr<const AsciiKeys> AsciiKeys::derive(const UCollator* collator) {
    if (!attributeIs(collator, UCOL_STRENGTH, UCOL_TERTIARY) ||
        !attributeIs(collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE) ||
        !attributeIs(collator, UCOL_CASE_LEVEL, UCOL_OFF) ||
        !attributeIs(collator, UCOL_NUMERIC_COLLATION, UCOL_OFF) ||
        !attributeIs(collator, UCOL_FRENCH_COLLATION, UCOL_OFF))
        return nullptr;
    {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<USet, SetClose> contractions(uset_openEmpty());
        std::unique_ptr<USet, SetClose> expansions(uset_openEmpty());
        ucol_getContractionsAndExpansions(collator, contractions.get(), expansions.get(), true, &status);
        if (U_FAILURE(status) || touchesAscii(contractions.get()) || touchesAscii(expansions.get()))
            return nullptr;
    }
    const UCollatorPtr primary = withStrength(collator, UCOL_PRIMARY);
    const UCollatorPtr secondary = withStrength(collator, UCOL_SECONDARY);
    if (!primary || !secondary)
        return nullptr;

    auto keys = std::make_shared<AsciiKeys>();
    std::vector<char> weighted;
    for (int c = 0; c < 128; ++c) {
        const std::string one(1, static_cast<char>(c));
        if (compareAscii(collator, one, "") == 0)
            continue; // ignorable at every level
        // Punctuation that is ignorable at the first level only would need levels of its own.
        if (compareAscii(primary.get(), one, "") == 0)
            return nullptr;
        weighted.push_back(static_cast<char>(c));
    }
    const auto before = [](const UCollator* by) {
        return [by](char a, char b) { return compareAscii(by, std::string(1, a), std::string(1, b)) < 0; };
    };
    std::stable_sort(weighted.begin(), weighted.end(), before(primary.get()));
    std::uint8_t rank = 0;
    for (std::size_t i = 0; i < weighted.size();) {
        // One first-level class: the characters equal to weighted[i] at the first level.
        std::size_t end = i + 1;
        while (end < weighted.size() &&
               compareAscii(primary.get(), std::string(1, weighted[i]), std::string(1, weighted[end])) == 0)
            ++end;
        ++rank;
        for (std::size_t k = i; k < end; ++k) {
            // The second level must not tell them apart: a key without it would be wrong.
            if (compareAscii(secondary.get(), std::string(1, weighted[i]), std::string(1, weighted[k])) != 0)
                return nullptr;
            keys->primary_[static_cast<unsigned char>(weighted[k])] = rank;
        }
        std::stable_sort(weighted.begin() + static_cast<std::ptrdiff_t>(i),
                         weighted.begin() + static_cast<std::ptrdiff_t>(end), before(collator));
        std::uint8_t third = 1;
        for (std::size_t k = i; k < end; ++k) {
            if (k > i &&
                compareAscii(collator, std::string(1, weighted[k - 1]), std::string(1, weighted[k])) != 0)
                ++third;
            keys->tertiary_[static_cast<unsigned char>(weighted[k])] = third;
        }
        i = end;
    }

    // Check the keys against the collator on texts made to tie often: few letters in both cases,
    // digits, punctuation, blanks and control characters.
    const std::string alphabet = std::string("aAbBcC01_-. ~") + '\t' + '\x01' + '\x7f' + "zZ9";
    std::uint32_t seed = 20261208;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    std::vector<std::pair<std::string, std::string>> samples; // key, text
    for (int i = 0; i < 1500; ++i) {
        std::string text;
        const std::uint32_t length = next() % 7;
        for (std::uint32_t k = 0; k < length; ++k)
            text += alphabet[next() % alphabet.size()];
        std::string key;
        keys->append(text, key);
        samples.emplace_back(std::move(key), std::move(text));
    }
    std::sort(samples.begin(), samples.end());
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const int byKey = sign(samples[i - 1].first.compare(samples[i].first));
        if (byKey != compareAscii(collator, samples[i - 1].second, samples[i].second))
            return nullptr;
    }
    for (int i = 0; i < 1500; ++i) {
        const auto& a = samples[next() % samples.size()];
        const auto& b = samples[next() % samples.size()];
        if (sign(a.first.compare(b.first)) != compareAscii(collator, a.second, b.second))
            return nullptr;
    }
    return keys;
}

bool AsciiKeys::append(std::string_view text, std::string& out) const {
    std::size_t weighted = 0;
    unsigned high = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        high |= byte;
        weighted += primary_[byte & 0x7F] != 0;
    }
    if (high >= 0x80)
        return false;
    // First-level ranks, a zero (below every rank), third-level ranks.
    const std::size_t at = out.size();
    out.resize(at + 2 * weighted + 1);
    char* primary = out.data() + at;
    char* tertiary = primary + weighted + 1;
    primary[weighted] = '\0';
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (const std::uint8_t p = primary_[byte]) {
            *primary++ = static_cast<char>(p);
            *tertiary++ = static_cast<char>(tertiary_[byte]);
        }
    }
    return true;
}

} // namespace vendle::platform
