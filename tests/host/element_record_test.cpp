// How the project keeps an element compactly: its record read back byte for byte whatever bytes it holds, and the
// memo parts as optional values that copy deeply.
#include "project/ElementMemo.hpp"
#include "project/ElementRecord.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

TEST(ElementRecord, EveryRecordReadsBackByteForByte) {
    std::mt19937 random(3);
    for (int round = 0; round < 2000; ++round) {
        // Random bytes up to a random end, zeros after it; sometimes a lone byte far out, sometimes none at all.
        API_Element whole;
        std::memset(&whole, 0, sizeof whole);
        const size_t end = random() % (sizeof whole + 1);
        for (size_t i = 0; i < end; ++i) whole.bytes[i] = uint8_t(random() % 3 == 0 ? 0 : random());
        if (round % 7 == 0) whole.bytes[sizeof whole - 1 - random() % 16] = uint8_t(1 + random() % 255);

        ElementRecord kept(whole);
        const API_Element back = kept.Get();
        ASSERT_EQ(std::memcmp(&back, &whole, sizeof whole), 0) << "round " << round;
        ASSERT_TRUE(kept.SameAs(whole));
        uint64_t h = 1469598103934665603ull;
        for (uint8_t b : whole.bytes) h = (h ^ b) * 1099511628211ull;
        ASSERT_EQ(kept.Hash(), h);

        // A copy is its own: changing it leaves the first as it was.
        ElementRecord copy = kept;
        API_Element other = whole;
        other.bytes[random() % sizeof other] ^= 0x5A;
        copy = other;
        ASSERT_FALSE(kept.SameAs(other));
        ASSERT_TRUE(copy.SameAs(other));
        ASSERT_EQ(std::memcmp(&whole, &back, sizeof whole), 0);
        copy.Edit([&](API_Element& r) { r = whole; });
        ASSERT_TRUE(copy.SameAs(whole));
    }
}

TEST(ElementRecord, MemoPartsAreOptionalValues) {
    StoredMemo a;
    EXPECT_TRUE(a.IsEmpty());
    a.coords = std::vector<API_Coord>{{1, 2}, {3, 4}};
    a.elemInfoString = u"ID";
    StoredMemo b = a;
    (*b.coords)[0].x = 9;
    b.elemInfoString.reset();
    EXPECT_EQ((*a.coords)[0].x, 1);
    EXPECT_EQ(a.elemInfoString.value_or(u""), u"ID");
    EXPECT_FALSE(b.elemInfoString);
    EXPECT_FALSE(a.SameAs(b));
    b = a;
    EXPECT_TRUE(a.SameAs(b));
    b.coords = std::nullopt;
    EXPECT_FALSE(b.coords.has_value());
    EXPECT_THROW(b.coords.value(), std::bad_optional_access);
}
