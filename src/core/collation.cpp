// SPDX-License-Identifier: GPL-3.0-or-later
#include "collation.h"

#include <atomic>
#include <clocale>
#include <cstring>
#include <locale.h>
#include <string.h>

namespace vendle {

namespace {

std::uint64_t nextCollatorNumber() {
    static std::atomic<std::uint64_t> made{0};
    return ++made;
}

} // namespace

Collator::Collator() : generation_(nextCollatorNumber()) {}

Collator::Collator(const Collator&) : generation_(nextCollatorNumber()) {}

int ByteCollator::compare(std::string_view a, std::string_view b) const {
    const int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

struct LocaleCollator::Impl {
    locale_t locale = nullptr;
};

LocaleCollator::LocaleCollator(const std::string& localeName) : impl_(std::make_unique<Impl>()) {
    impl_->locale = newlocale(LC_COLLATE_MASK, localeName.c_str(), static_cast<locale_t>(nullptr));
}

LocaleCollator::~LocaleCollator() {
    if (impl_->locale)
        freelocale(impl_->locale);
}

bool LocaleCollator::isLocaleAware() const {
    return impl_->locale != nullptr;
}

int LocaleCollator::compare(std::string_view a, std::string_view b) const {
    if (!impl_->locale)
        return ByteCollator().compare(a, b);
    // strcoll needs terminated strings; the texts are paths and names, short enough to copy.
    const std::string sa(a), sb(b);
    const int r = strcoll_l(sa.c_str(), sb.c_str(), impl_->locale);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

std::string LocaleCollator::sortKey(std::string_view text) const {
    if (!impl_->locale)
        return std::string(text);
    const std::string source(text);
    std::string key(source.size() * 4 + 16, '\0');
    std::size_t n = strxfrm_l(key.data(), source.c_str(), key.size(), impl_->locale);
    if (n >= key.size()) {
        key.resize(n + 1);
        n = strxfrm_l(key.data(), source.c_str(), key.size(), impl_->locale);
    }
    key.resize(n);
    return key;
}

} // namespace vendle
