// How the project keeps an element compactly: its record and its user data read back byte for byte whatever bytes
// they hold, and the memo parts as optional values that copy deeply.
#include "project/ElementMemo.hpp"
#include "project/ElementRecord.hpp"
#include "project/GuidTable.hpp"
#include "project/PackedBytes.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <vector>

namespace element_record_test {

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
        // Any run of bytes reads as the whole record's (across the head's end and the tail's too).
        const size_t from = random() % sizeof whole, count = random() % (sizeof whole - from + 1);
        std::vector<uint8_t> run(count + 1, 0x7F);
        kept.CopyBytes(from, count, run.data());
        ASSERT_EQ(std::memcmp(run.data(), whole.bytes + from, count), 0) << "round " << round;
        ASSERT_EQ(run[count], 0x7F);
        // The hash names the bytes: the same record kept again hashes the same, a changed one not.
        ASSERT_EQ(kept.Hash(), ElementRecord(back).Hash());

        // A copy is its own: changing it leaves the first as it was.
        ElementRecord copy = kept;
        API_Element other = whole;
        other.bytes[random() % sizeof other] ^= 0x5A;
        copy = other;
        ASSERT_FALSE(kept.SameAs(other));
        ASSERT_TRUE(copy.SameAs(other));
        ASSERT_NE(copy.Hash(), kept.Hash());
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

TEST(PackedBytes, EveryByteStringReadsBackByteForByte) {
    std::mt19937 random(5);
    for (int round = 0; round < 3000; ++round) {
        // Zero runs and literal runs of random lengths (some past one byte of length, 128), zeros or not at the
        // ends; sizes up to several thousand.
        std::string bytes;
        const int pieces = int(random() % 12);
        for (int p = 0; p < pieces; ++p) {
            const size_t zeros = random() % 4 == 0 ? random() % 400 : random() % 6;
            bytes.append(zeros, '\0');
            const size_t literal = random() % 5 == 0 ? random() % 300 : random() % 8;
            for (size_t i = 0; i < literal; ++i) bytes.push_back(char(random() % 4 == 0 ? 0 : 1 + random() % 255));
        }
        if (round % 3 == 0) bytes.append(random() % 700, '\0');

        const PackedBytes packed(bytes);
        ASSERT_EQ(packed.size(), bytes.size()) << "round " << round;
        ASSERT_EQ(packed.empty(), bytes.empty());
        ASSERT_EQ(packed.str(), bytes) << "round " << round;
        std::string out(bytes.size() + 2, '\x7F');
        packed.CopyTo(out.data() + 1);
        ASSERT_EQ(out.substr(1, bytes.size()), bytes);
        ASSERT_EQ(out.front(), '\x7F');  // nothing written outside
        ASSERT_EQ(out.back(), '\x7F');
        // A prefix of any length (past the end too) writes those bytes and no more.
        const size_t count = random() % (bytes.size() + 3);
        std::string front(count + 1, '\x7F');
        packed.CopyTo(front.data(), count);
        const size_t written = std::min(count, bytes.size());
        ASSERT_EQ(front.substr(0, written), bytes.substr(0, written)) << "round " << round;
        ASSERT_EQ(front.substr(written), std::string(count + 1 - written, '\x7F')) << "round " << round;

        // Equal exactly when the bytes are; a copy is its own.
        PackedBytes copy = packed;
        ASSERT_TRUE(copy == packed);
        ASSERT_TRUE(copy == bytes);
        std::string other = bytes;
        if (other.empty())
            other.push_back('\0');
        else
            other[random() % other.size()] ^= char(1 + random() % 255);
        copy = PackedBytes(other);
        ASSERT_FALSE(copy == packed);
        ASSERT_EQ(copy.str(), other);
        ASSERT_EQ(packed.str(), bytes);
    }
}

TEST(GuidTable, FindsWhatAnOrderedMapFindsThroughInsertionsAndDeletions) {
    std::mt19937 random(9);
    GuidTable<int> table;
    GuidSet set;
    std::map<API_Guid, int, GuidLess> expected;
    bool nullInSet = false;
    // Keys from a small pool (this host's GUIDs differ in their first field; some differ further on) so that
    // runs of neighbours form, wrap round the table's end and are cut by deletions; the null GUID comes too. Some
    // are sixteen serials apart, the same in the bits that place a key within its run: they crowd one slot.
    const auto key = [&]() {
        API_Guid g = {};
        g.time_low = uint32_t(random() % 3000) * (random() % 4 == 0 ? 16u : 1u);
        if (random() % 5 == 0) g.node[5] = uint8_t(random() % 3);
        return g;
    };
    for (int step = 0; step < 60000; ++step) {
        const API_Guid g = key();
        const bool isNull = GuidTable<int>::IsNull(g);
        const bool had = isNull ? nullInSet : expected.count(g) == 1;
        if (random() % 3 != 0) {
            if (!isNull) {  // never a key of the table
                const auto made = table.Insert(g);
                ASSERT_EQ(made.second, !had) << step;
                *made.first = step;
                expected[g] = step;
            } else {
                nullInSet = true;
            }
            ASSERT_EQ(set.insert(g), !had) << step;
        } else {
            if (!isNull) {
                ASSERT_EQ(table.Erase(g), expected.erase(g) == 1) << step;
            }
            if (isNull) nullInSet = false;
            ASSERT_EQ(set.erase(g), had ? 1u : 0u) << step;
        }
        if (step % 997 == 0 || step == 59999) {
            ASSERT_EQ(table.size(), expected.size());
            ASSERT_EQ(set.size(), expected.size() + (nullInSet ? 1 : 0));
            size_t walked = 0;
            for (size_t i = 0; i < table.capacity(); ++i) {
                const auto& slot = table.SlotAt(i);
                if (GuidTable<int>::IsNull(slot.key)) continue;
                ++walked;
                ASSERT_EQ(expected.at(slot.key), slot.value);
            }
            ASSERT_EQ(walked, expected.size());
            for (uint32_t k = 0; k < 3000; ++k) {
                API_Guid probe = {};
                probe.time_low = k;
                const int* found = table.Find(probe);
                ASSERT_EQ(found != nullptr, expected.count(probe) == 1) << k;
                if (found != nullptr) {
                    ASSERT_EQ(*found, expected.at(probe));
                }
                ASSERT_EQ(set.count(probe), k == 0 ? size_t(nullInSet) : expected.count(probe)) << k;
            }
        }
    }
}

}  // namespace element_record_test
