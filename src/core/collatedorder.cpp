// SPDX-License-Identifier: GPL-3.0-or-later
#include "collatedorder.h"

#include "keysort.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <iterator>
#include <memory>
#include <system_error>
#include <thread>

namespace vendle {

namespace {

// Sorted keys of some texts: the keys in one buffer, the entries pointing at the texts.
struct SortedRange {
    std::string arena;
    std::vector<KeyedPointer> entries;
};

// Turns keys appended one after another to `range.arena` (each ending at `ends`) into sorted
// entries for the texts `which`.
void sortAppendedKeys(const std::vector<std::string_view>& texts, const std::uint32_t* which,
                      const std::vector<std::size_t>& ends, SortedRange& range) {
    // The buffer is complete: only now are pointers into it stable.
    const auto* base = reinterpret_cast<const unsigned char*>(range.arena.data());
    range.entries.reserve(ends.size());
    std::size_t from = 0;
    for (std::size_t k = 0; k < ends.size(); ++k) {
        range.entries.push_back({base + from, static_cast<std::uint32_t>(ends[k] - from),
                                 const_cast<std::string_view*>(&texts[which[k]])});
        from = ends[k];
    }
    sortByKeys(range.entries);
}

void sortRange(const std::vector<std::string_view>& texts, const std::uint32_t* which, std::size_t count,
               const Collator& collator, SortedRange& out) {
    std::vector<std::size_t> ends;
    ends.reserve(count);
    out.arena.reserve(count * 48);
    for (std::size_t k = 0; k < count; ++k) {
        collator.appendSortKey(texts[which[k]], out.arena);
        ends.push_back(out.arena.size());
    }
    sortAppendedKeys(texts, which, ends, out);
}

bool keyLess(const KeyedPointer& a, const KeyedPointer& b) {
    const int c = std::memcmp(a.key, b.key, std::min(a.length, b.length));
    return c < 0 || (c == 0 && a.length < b.length);
}

// The texts `which` sorted by their full keys. Computing keys is most of a sort's time, so a long
// list is split into ranges whose keys are computed and sorted on other threads, each with its own
// clone of the collator; the sorted ranges are merged at the end.
std::vector<KeyedPointer> sortByFullKeys(const std::vector<std::string_view>& texts,
                                         const std::vector<std::uint32_t>& which, const Collator& collator,
                                         std::vector<SortedRange>& ranges) {
    constexpr std::size_t kTextsPerThread = 8192;
    const std::size_t wanted =
        std::min<std::size_t>({std::max(1u, std::thread::hardware_concurrency()), 4,
                               std::max<std::size_t>(1, which.size() / kTextsPerThread)});
    std::vector<std::unique_ptr<Collator>> clones;
    while (clones.size() + 1 < wanted) {
        std::unique_ptr<Collator> clone = collator.clone();
        if (!clone)
            break;
        clones.push_back(std::move(clone));
    }
    const std::size_t parts = clones.size() + 1;
    const auto rangeBegin = [&](std::size_t part) { return which.size() * part / parts; };
    const auto work = [&](std::size_t part, const Collator& c) {
        sortRange(texts, which.data() + rangeBegin(part), rangeBegin(part + 1) - rangeBegin(part), c,
                  ranges[part]);
    };

    ranges.resize(parts);
    std::vector<std::exception_ptr> errors(parts);
    std::vector<bool> started(parts, false);
    {
        std::vector<std::jthread> workers;
        for (std::size_t part = 1; part < parts; ++part) {
            try {
                workers.emplace_back([&, part] {
                    try {
                        work(part, *clones[part - 1]);
                    } catch (...) {
                        errors[part] = std::current_exception();
                    }
                });
                started[part] = true;
            } catch (const std::system_error&) {
                break; // no more threads to be had: this thread does the rest
            }
        }
        work(0, collator);
        for (std::size_t part = 1; part < parts; ++part) {
            if (!started[part])
                work(part, collator);
        }
    } // the workers are joined here
    for (const std::exception_ptr& error : errors) {
        if (error)
            std::rethrow_exception(error);
    }
    std::vector<KeyedPointer> merged = std::move(ranges[0].entries);
    for (std::size_t part = 1; part < parts; ++part) {
        std::vector<KeyedPointer> next;
        next.reserve(merged.size() + ranges[part].entries.size());
        std::merge(merged.begin(), merged.end(), ranges[part].entries.begin(), ranges[part].entries.end(),
                   std::back_inserter(next), keyLess);
        merged.swap(next);
    }
    return merged;
}

} // namespace

std::vector<std::uint32_t> collatedOrder(const std::vector<std::string_view>& texts,
                                         const Collator& collator) {
    SortedRange quick;
    std::vector<std::size_t> quickEnds;
    std::vector<std::uint32_t> quickTexts;
    std::vector<std::uint32_t> fullTexts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::size_t before = quick.arena.size();
        if (collator.appendQuickKey(texts[i], quick.arena)) {
            quickTexts.push_back(static_cast<std::uint32_t>(i));
            quickEnds.push_back(quick.arena.size());
        } else {
            quick.arena.resize(before);
            fullTexts.push_back(static_cast<std::uint32_t>(i));
        }
    }
    sortAppendedKeys(texts, quickTexts.data(), quickEnds, quick);
    std::vector<SortedRange> ranges;
    const std::vector<KeyedPointer> full =
        fullTexts.empty() ? std::vector<KeyedPointer>() : sortByFullKeys(texts, fullTexts, collator, ranges);

    const auto indexOf = [&](const KeyedPointer& e) {
        return static_cast<std::uint32_t>(static_cast<const std::string_view*>(e.item) - texts.data());
    };
    // The lists interleave in few long runs (names in Latin letters before those in kana, say), so
    // the merge gallops: it finds the end of each run with a few comparisons instead of one per text.
    const auto textOf = [&](const KeyedPointer& e) { return *static_cast<const std::string_view*>(e.item); };
    // The first position in [from, end) where `stop` holds, given that it holds from there on.
    const auto gallop = [](auto from, auto end, const auto& stop) {
        std::size_t step = 1;
        auto low = from;
        while (low != end && !stop(*low)) {
            const auto room = static_cast<std::size_t>(end - low);
            const auto high = low + static_cast<std::ptrdiff_t>(std::min(step, room));
            if (high == end || stop(*high)) {
                // The run ends in (low, high].
                return std::partition_point(low + 1, high, [&](const KeyedPointer& e) { return !stop(e); });
            }
            low = high;
            step *= 2;
        }
        return low;
    };
    std::vector<std::uint32_t> order;
    order.reserve(texts.size());
    auto q = quick.entries.cbegin();
    auto f = full.cbegin();
    while (q != quick.entries.cend() && f != full.cend()) {
        // Quick texts up to the first that comes after *f (equal texts keep the quick one first, so
        // the result does not depend on the timing), then full texts before the next quick one.
        const std::string_view fullText = textOf(*f);
        const auto qEnd = gallop(q, quick.entries.cend(), [&](const KeyedPointer& e) {
            return collator.compare(fullText, textOf(e)) < 0;
        });
        for (; q != qEnd; ++q)
            order.push_back(indexOf(*q));
        if (q == quick.entries.cend())
            break;
        const std::string_view quickText = textOf(*q);
        const auto fEnd = gallop(f, full.cend(), [&](const KeyedPointer& e) {
            return collator.compare(textOf(e), quickText) >= 0;
        });
        for (; f != fEnd; ++f)
            order.push_back(indexOf(*f));
    }
    for (; q != quick.entries.cend(); ++q)
        order.push_back(indexOf(*q));
    for (; f != full.cend(); ++f)
        order.push_back(indexOf(*f));
    return order;
}

} // namespace vendle
