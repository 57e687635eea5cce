// SPDX-License-Identifier: GPL-3.0-or-later
// The search's folding with ICU: each character's composed compatibility form (full-width and
// half-width forms become the usual ones, ﾊﾞ becomes バ), katakana shifted to hiragana, ASCII
// letters in lower case.
#include "platform/collation.h"

#include <unicode/normalizer2.h>
#include <unicode/utf8.h>

namespace vendle::platform {

namespace {

class IcuKanaWidthFolder : public TextFolder {
public:
    IcuKanaWidthFolder() {
        UErrorCode status = U_ZERO_ERROR;
        nfkc_ = icu::Normalizer2::getNFKCInstance(status);
        if (U_FAILURE(status))
            nfkc_ = nullptr;
    }

    // Each character is taken with the marks that join it (ﾊﾞ, か and a combining mark) and put in
    // its composed compatibility form: a voiced kana stays one character, so that は never matches
    // the first half of ば. All bytes made from such a group point back to the group's start.
    void fold(std::string_view text, std::string& out, std::vector<std::uint32_t>* origins) const override {
        out.reserve(out.size() + text.size());
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        const auto length = static_cast<std::int32_t>(text.size());
        std::int32_t i = 0;
        icu::UnicodeString group;
        icu::UnicodeString composed;
        while (i < length) {
            const std::int32_t start = i;
            // ASCII followed by ASCII: the common case, without a lookup.
            if (bytes[i] < 0x80 && (i + 1 == length || bytes[i + 1] < 0x80)) {
                const char c = static_cast<char>(bytes[i++]);
                out += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
                if (origins)
                    origins->push_back(static_cast<std::uint32_t>(start));
                continue;
            }
            UChar32 c = 0;
            U8_NEXT(bytes, i, length, c);
            const std::size_t before = out.size();
            if (c < 0) {
                // A broken sequence stays as it is.
                out.append(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
            } else if (!nfkc_) {
                append(out, c);
            } else {
                group.setTo(c);
                while (i < length) {
                    std::int32_t next = i;
                    UChar32 mark = 0;
                    U8_NEXT(bytes, next, length, mark);
                    if (mark < 0 || nfkc_->hasBoundaryBefore(mark))
                        break;
                    group.append(mark);
                    i = next;
                }
                if (group.length() == U16_LENGTH(c) && nfkc_->isInert(c)) {
                    append(out, c);
                } else {
                    UErrorCode status = U_ZERO_ERROR;
                    nfkc_->normalize(group, composed, status);
                    const icu::UnicodeString& use = U_FAILURE(status) ? group : composed;
                    for (std::int32_t k = 0; k < use.length();) {
                        const UChar32 d = use.char32At(k);
                        k += U16_LENGTH(d);
                        append(out, d);
                    }
                }
            }
            if (origins)
                origins->insert(origins->end(), out.size() - before, static_cast<std::uint32_t>(start));
        }
    }

private:
    static void append(std::string& out, UChar32 c) {
        if (c >= 0x30A1 && c <= 0x30F6) // katakana ァ..ヶ to hiragana ぁ..ゖ
            c -= 0x60;
        else if (c >= 'A' && c <= 'Z')
            c += 'a' - 'A';
        char buffer[4];
        std::int32_t n = 0;
        UBool error = false;
        U8_APPEND(reinterpret_cast<std::uint8_t*>(buffer), n, 4, c, error);
        if (!error)
            out.append(buffer, static_cast<std::size_t>(n));
    }

    const icu::Normalizer2* nfkc_ = nullptr;
};

} // namespace

std::unique_ptr<TextFolder> kanaWidthFolder() {
    return std::make_unique<IcuKanaWidthFolder>();
}

} // namespace vendle::platform
