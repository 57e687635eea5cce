// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/keysort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

using namespace vendle;

TEST(SortByKeys, MatchesAPlainSortOfTheKeysWithEqualKeysInAddressOrder) {
    std::mt19937 rng(5);
    // Shared prefixes shorter than, as long as and longer than the eight bytes the sort keeps
    // beside each entry; zero bytes inside keys, which must not pass for a key's end.
    const std::string prefixes[] = {"",
                                    "common-",
                                    "common-p",
                                    "common-pr",
                                    std::string("zero\0\0\0\0", 8),
                                    "sixteen-bytes-ab",
                                    "seventeen-bytes-a",
                                    "a-much-longer-common-prefix-here"};
    for (int round = 0; round < 30; ++round) {
        // Keys that are prefixes of each other, duplicates, empty keys and high bytes, in random
        // numbers.
        std::vector<std::string> keys;
        const int count = static_cast<int>(rng() % 3000);
        keys.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            std::string k = prefixes[round % 3 == 0 ? rng() % 8 : round % 8];
            const int len = static_cast<int>(rng() % 6);
            for (int j = 0; j < len; ++j)
                k += static_cast<char>(rng() % 3 == 0 ? 0xF0 + rng() % 8
                                                      : (rng() % 5 == 0 ? 0 : 'a' + rng() % 3));
            keys.push_back(k);
        }
        std::vector<KeyedPointer> entries;
        for (std::string& k : keys)
            entries.push_back(
                {reinterpret_cast<const unsigned char*>(k.data()), static_cast<std::uint32_t>(k.size()), &k});
        std::shuffle(entries.begin(), entries.end(), rng);
        sortByKeys(entries);
        // Expected: by key, then by position in `keys` (which is address order).
        std::vector<std::size_t> expected(keys.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            expected[i] = i;
        std::sort(expected.begin(), expected.end(), [&](std::size_t a, std::size_t b) {
            return keys[a] != keys[b] ? keys[a] < keys[b] : a < b;
        });
        ASSERT_EQ(entries.size(), expected.size());
        for (std::size_t i = 0; i < entries.size(); ++i)
            ASSERT_EQ(entries[i].item, &keys[expected[i]]) << "round " << round << " at " << i;
    }
}

TEST(SortByTime, MatchesAPlainSortOfTheTimes) {
    std::mt19937 rng(9);
    std::vector<double> times;
    for (int i = 0; i < 5000; ++i)
        times.push_back(i % 7 == 0 ? -static_cast<double>(rng() % 1000) / 7
                                   : 46000.0 + (rng() % 100000) / 86400.0);
    times.push_back(0.0);
    times.push_back(-0.5);
    std::vector<TimedPointer> entries;
    for (double& t : times)
        entries.push_back({t, &t});
    sortByTime(entries);
    std::vector<double> expected = times;
    std::sort(expected.begin(), expected.end());
    for (std::size_t i = 0; i < entries.size(); ++i)
        ASSERT_EQ(*static_cast<double*>(entries[i].item), expected[i]) << i;
}

TEST(SortByTime, StableWhateverTheSpreadOfTheTimes) {
    // Spreads that put all times in their own buckets, most of them into one bucket (a single time
    // far away from a tight cluster), and adjacent doubles; equal times keep their order.
    std::mt19937 rng(21);
    const auto check = [](std::vector<double> times) {
        std::vector<TimedPointer> entries;
        for (double& t : times)
            entries.push_back({t, &t});
        sortByTime(entries);
        for (std::size_t i = 1; i < entries.size(); ++i) {
            const double* a = static_cast<const double*>(entries[i - 1].item);
            const double* b = static_cast<const double*>(entries[i].item);
            ASSERT_LE(*a, *b) << i;
            if (*a == *b) {
                ASSERT_LT(a, b) << "equal times out of order at " << i;
            }
        }
    };
    std::vector<double> clustered;
    for (int i = 0; i < 20'000; ++i)
        clustered.push_back(46000.5 + (rng() % 500) / 86'400'000.0);
    clustered.push_back(1e9);
    check(clustered);
    std::vector<double> adjacent;
    double t = 46000.25;
    for (int i = 0; i < 3000; ++i) {
        adjacent.push_back(rng() % 2 ? t : std::nextafter(t, 1e9));
        if (i % 7 == 0)
            t = std::nextafter(t, 1e9);
    }
    check(adjacent);
    check(std::vector<double>(500, 46000.0));
    std::vector<double> wide;
    for (int i = 0; i < 50'000; ++i)
        wide.push_back((static_cast<double>(rng()) - 2e9) * (i % 3 ? 1.0 : 1e-6));
    wide.push_back(-0.0);
    wide.push_back(0.0);
    check(wide);

    double nan = std::nan("");
    double early = -5;
    double late = 5;
    std::vector<TimedPointer> withNan = {{late, &late}, {nan, &nan}, {early, &early}};
    sortByTime(withNan);
    EXPECT_EQ(withNan[0].item, &early);
    EXPECT_EQ(withNan[1].item, &late);
    EXPECT_EQ(withNan[2].item, &nan);
}
