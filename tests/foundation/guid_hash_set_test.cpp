// The flat GUID set against std::set under random adds, removals, clears and room made ahead, with GUIDs that differ
// in few bits (the host's serials) and in many, the null GUID among them.
#include "foundation/GuidHashSet.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>

namespace guid_hash_set_test {

struct Less {
    bool operator()(const API_Guid& a, const API_Guid& b) const { return std::memcmp(&a, &b, sizeof a) < 0; }
};

TEST(GuidHashSet, AgreesWithAnOrderedSetUnderRandomAddsAndRemovals) {
    std::mt19937_64 rng(29);
    for (const int spread : {0, 1}) {
        GuidHashSet set;
        std::set<API_Guid, Less> model;
        const auto some = [&] {
            API_Guid g = {};
            if (spread == 0) {
                // Serials, the rest fixed as the host makes them; some sixteen apart, which crowd one slot.
                g.time_low = uint32_t(rng() % 3000) * (rng() % 4 == 0 ? 16u : 1u);
                g.time_mid = 0x0E1E;
                if (g.time_low == 0) g = API_Guid{};
            } else {
                const uint64_t x[2] = {rng() % 50 == 0 ? 0 : rng(), rng() % 4};
                std::memcpy(&g, x, sizeof g);
            }
            return g;
        };
        for (int step = 0; step < 200000; ++step) {
            const API_Guid g = some();
            const int what = int(rng() % 100);
            if (what < 55) {
                ASSERT_EQ(set.Insert(g), model.insert(g).second);
            } else if (what < 99) {
                ASSERT_EQ(set.Erase(g), model.erase(g) == 1);
            } else if (step % 7 == 0) {
                set.Clear();
                model.clear();
            } else {
                set.Reserve(model.size() + rng() % 5000);
            }
            ASSERT_EQ(set.Contains(g), model.count(g) == 1);
            ASSERT_EQ(set.Size(), model.size());
        }
        for (const API_Guid& g : model) EXPECT_TRUE(set.Contains(g));
    }
}

}  // namespace guid_hash_set_test
