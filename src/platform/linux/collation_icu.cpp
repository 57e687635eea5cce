// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/collation.h"

#include "asciikeys.h"
#include "core/shelllink.h"
#include "icucollator.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <clocale>
#include <memory>
#include <vector>

namespace vendle::platform {

namespace {

// The sort key of UTF-8 text; the key's final zero byte, which plain byte comparison does not
// need, is left off.
void appendKeyOf(const UCollator* collator, std::string_view text, std::string& out) {
    // Short texts (file names, folders, types) convert and key on the stack.
    UChar wide[512];
    int32_t wideLength = 0;
    UErrorCode status = U_ZERO_ERROR;
    // Widening every byte and looking at the high bits afterwards keeps the loop free of
    // branches for the compiler to vectorise; non-ASCII text is converted again properly.
    const std::size_t shortLength = std::min<std::size_t>(text.size(), 512);
    unsigned high = 0;
    for (std::size_t i = 0; i < shortLength; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        high |= c;
        wide[i] = c;
    }
    if (text.size() <= 512 && high < 0x80)
        wideLength = static_cast<int32_t>(text.size());
    else
        u_strFromUTF8Lenient(wide, 512, &wideLength, text.data(), static_cast<int32_t>(text.size()), &status);
    std::u16string longText;
    const UChar* source = wide;
    if (status == U_BUFFER_OVERFLOW_ERROR || wideLength > 512) {
        longText = utf8ToUtf16(text);
        source = reinterpret_cast<const UChar*>(longText.data());
        wideLength = static_cast<int32_t>(longText.size());
    }
    uint8_t key[1024];
    int32_t n = ucol_getSortKey(collator, source, wideLength, key, sizeof key);
    if (n <= static_cast<int32_t>(sizeof key)) {
        out.append(reinterpret_cast<const char*>(key), n > 0 ? static_cast<std::size_t>(n - 1) : 0);
        return;
    }
    std::string big(static_cast<std::size_t>(n), '\0');
    n = ucol_getSortKey(collator, source, wideLength, reinterpret_cast<uint8_t*>(big.data()), n);
    out.append(big.data(), n > 0 ? static_cast<std::size_t>(n - 1) : 0);
}

// ICU's collator for a POSIX locale name such as "ja_JP.UTF-8" (the codeset and modifier dropped).
class IcuCollator final : public Collator {
public:
    IcuCollator(UCollatorPtr collator, std::shared_ptr<const AsciiKeys> ascii)
        : collator_(std::move(collator)), ascii_(std::move(ascii)) {}

    int compare(std::string_view a, std::string_view b) const override {
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult r = ucol_strcollUTF8(collator_.get(), a.data(), static_cast<int32_t>(a.size()),
                                                    b.data(), static_cast<int32_t>(b.size()), &status);
        return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
    }

    std::string sortKey(std::string_view text) const override {
        std::string key;
        appendSortKey(text, key);
        return key;
    }

    void appendSortKey(std::string_view text, std::string& out) const override {
        appendKeyOf(collator_.get(), text, out);
    }

    bool appendQuickKey(std::string_view text, std::string& out) const override {
        return ascii_ && ascii_->append(text, out);
    }

    std::unique_ptr<Collator> clone() const override {
        // A clone shares the immutable collation data; its own state makes it safe on another
        // thread.
        UCollatorPtr copy = cloneCollator(collator_.get());
        return copy ? std::make_unique<IcuCollator>(std::move(copy), ascii_) : nullptr;
    }

private:
    UCollatorPtr collator_;
    std::shared_ptr<const AsciiKeys> ascii_; // immutable, shared with clones
};

std::string icuLocaleOf(std::string posix) {
    const std::size_t cut = posix.find_first_of(".@");
    if (cut != std::string::npos)
        posix.erase(cut);
    return posix;
}

} // namespace

std::unique_ptr<Collator> userCollator(const std::string& locale) {
    std::string name = locale;
    if (name.empty()) {
        const char* current = std::setlocale(LC_COLLATE, nullptr);
        name = current ? current : "";
    }
    const std::string icu = icuLocaleOf(name);
    // The C and POSIX locales sort by bytes.
    if (icu.empty() || icu == "C" || icu == "POSIX")
        return std::make_unique<ByteCollator>();
    UErrorCode status = U_ZERO_ERROR;
    UCollatorPtr collator(ucol_open(icu.c_str(), &status));
    if (U_FAILURE(status) || !collator)
        return std::make_unique<LocaleCollator>(name);
    // Case-sensitive to the third level; the quaternary level some locales add (Japanese kana
    // kinds) would double the cost of every key for differences that hardly ever decide.
    ucol_setStrength(collator.get(), UCOL_TERTIARY);
    std::shared_ptr<const AsciiKeys> ascii = AsciiKeys::derive(collator.get());
    return std::make_unique<IcuCollator>(std::move(collator), std::move(ascii));
}

} // namespace vendle::platform
