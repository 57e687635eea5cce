// SPDX-License-Identifier: GPL-3.0-or-later
// Text collation for sorting the grid's columns: case-sensitive comparison in the user's locale,
// with sort keys so that one sort computes each key once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vendle {

class Collator {
public:
    Collator();
    // A copy is a collator of its own: it takes its own identity.
    Collator(const Collator&);
    Collator& operator=(const Collator&) { return *this; }
    virtual ~Collator() = default;

    // Negative, zero or positive like strcmp.
    virtual int compare(std::string_view a, std::string_view b) const = 0;

    // A byte string whose plain byte order equals this collator's order.
    virtual std::string sortKey(std::string_view text) const = 0;

    // Appends the sort key to `out`, so that many keys can share one buffer.
    virtual void appendSortKey(std::string_view text, std::string& out) const { out += sortKey(text); }

    // Appends a key from a cheaper key space of this collator's own and returns true, or returns
    // false when the text has none (anything appended is then dropped). Texts with quick keys are
    // ordered among themselves by those keys exactly as compare() orders them; between them and
    // other texts, compare() decides.
    virtual bool appendQuickKey(std::string_view, std::string&) const { return false; }

    // An independent copy for another thread, or nullptr when this collator has none (callers then
    // stay on one thread).
    virtual std::unique_ptr<Collator> clone() const { return nullptr; }

    // Orders kept under a collator are recognised by its identity: every collator takes a number
    // of its own when it is made, so one made where another was is never taken for it.
    std::uint64_t generation() const { return generation_; }

private:
    std::uint64_t generation_;
};

// Plain byte order.
class ByteCollator final : public Collator {
public:
    int compare(std::string_view a, std::string_view b) const override;
    std::string sortKey(std::string_view text) const override { return std::string(text); }
};

// The C library's collation of a named locale ("" = the user's LC_COLLATE setting). Falls back to
// byte order when the locale is not installed; `isLocaleAware` tells which.
class LocaleCollator final : public Collator {
public:
    explicit LocaleCollator(const std::string& localeName = "");
    ~LocaleCollator() override;
    LocaleCollator(const LocaleCollator&) = delete;
    LocaleCollator& operator=(const LocaleCollator&) = delete;

    bool isLocaleAware() const;
    int compare(std::string_view a, std::string_view b) const override;
    std::string sortKey(std::string_view text) const override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace vendle
