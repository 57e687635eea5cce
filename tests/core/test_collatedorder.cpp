// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/collatedorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace vendle;

namespace {

// Byte order; texts that start with a letter from `quickLetters` get quick keys (their bytes with
// a marker byte in front, so that a quick key can never pass for a full one), the rest full keys.
class SplitCollator final : public Collator {
public:
    explicit SplitCollator(std::string quickLetters) : quick_(std::move(quickLetters)) {}
    int compare(std::string_view a, std::string_view b) const override {
        const int c = a.compare(b);
        return (c > 0) - (c < 0);
    }
    std::string sortKey(std::string_view text) const override { return std::string(text); }
    bool appendQuickKey(std::string_view text, std::string& out) const override {
        out += '\x01';
        out.append(text);
        return !text.empty() && quick_.find(text.front()) != std::string::npos;
    }

private:
    std::string quick_;
};

} // namespace

TEST(CollatedOrder, QuickAndFullKeysMergeIntoTheCollatorsOrder) {
    std::mt19937 rng(17);
    // Runs of quick texts between full ones, long and short, duplicates across both lists (a text
    // can only be in one list, but texts equal by the collator may be), and the lists empty.
    for (const std::string quick : {"", "abcdefghij", "acegi", "a", "j"}) {
        SplitCollator collator(quick);
        for (int count : {0, 1, 2, 50, 5000}) {
            std::vector<std::string> storage;
            for (int i = 0; i < count; ++i) {
                std::string text(1, static_cast<char>('a' + rng() % 10));
                text += std::to_string(rng() % (count / 3 + 1));
                storage.push_back(text);
            }
            const std::vector<std::string_view> texts(storage.begin(), storage.end());
            const std::vector<std::uint32_t> order = collatedOrder(texts, collator);
            ASSERT_EQ(order.size(), texts.size());
            std::vector<std::uint32_t> seen = order;
            std::sort(seen.begin(), seen.end());
            for (std::size_t i = 0; i < seen.size(); ++i)
                ASSERT_EQ(seen[i], i) << "every text exactly once";
            for (std::size_t i = 1; i < order.size(); ++i)
                ASSERT_LE(texts[order[i - 1]], texts[order[i]]) << quick << " " << count << " at " << i;
            // The same run gives the same order: equal texts do not move about.
            EXPECT_EQ(collatedOrder(texts, collator), order);
        }
    }
}
