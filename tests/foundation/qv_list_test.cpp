// QV_List: insertion rules, copies, failure paths through the memory driver, sort and SplitString.
#include "foundation/QV_List.hpp"

#include "APICoord.hpp"
#include "MemoryDriver.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace qv_list_test {

static_assert(QV_IsRelocatable<int>::value && QV_IsRelocatable<QV_String>::value &&
                  QV_IsRelocatable<QV_List<QV_String>>::value,
              "the module's element types are relocatable");
static_assert(!QV_IsRelocatable<std::string>::value, "std::string may point into itself: not admitted");

struct Rec24 {
    double a;
    double b;
    int32_t c;
    int32_t d;
};

std::vector<std::string> Texts(const QV_List<QV_String>& list) {
    std::vector<std::string> out;
    for (const QV_String& s : list) out.push_back(s.ToStdString());
    return out;
}

std::vector<int> Ints(const QV_List<int>& list) { return std::vector<int>(list.begin(), list.end()); }

class ListTest : public ::testing::Test {
protected:
    void SetUp() override {
        handles = MemoryDriver::LiveHandleCount();
        blocks = MemoryDriver::LiveManagerBlockCount();
    }
    void TearDown() override {
        MemoryDriver::Reset();
        // Every list and string of a test is gone by now: nothing may be left behind.
        EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);
        EXPECT_EQ(MemoryDriver::LiveManagerBlockCount(), blocks);
    }
    int64_t handles = 0;
    int64_t blocks = 0;
};

TEST_F(ListTest, InsertAppendsAndShifts) {
    QV_List<int> list;
    EXPECT_TRUE(list.HasHandle());
    EXPECT_TRUE(list.Insert(1, -1));
    EXPECT_EQ(list.GetCount(), 1);
    list.Insert(2);
    list.Insert(3);
    EXPECT_TRUE(list.Insert(0, 0));
    EXPECT_EQ(Ints(list), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(list.Insert(9, 4));  // index == count appends
    EXPECT_TRUE(list.Insert(5, 2));
    EXPECT_EQ(Ints(list), (std::vector<int>{0, 1, 5, 2, 3, 9}));
}

TEST_F(ListTest, InsertOutOfRangeIsRefused) {
    QV_List<int> list;
    list.Insert(1);
    EXPECT_FALSE(list.Insert(7, 2));
    EXPECT_FALSE(list.Insert(7, -2));
    EXPECT_FALSE(list.Insert(7, INT32_MAX));
    EXPECT_EQ(Ints(list), (std::vector<int>{1}));
}

TEST_F(ListTest, InsertOfOwnElementSurvivesTheMove) {
    // Every growth moves the block here: the item must not be read from the old block.
    MemoryDriver::ScopedAlwaysMove alwaysMove;
    QV_List<QV_String> strings;
    strings.Insert(QV_String("alpha"));
    strings.Insert(QV_String("beta"));
    strings.Insert(strings[1], 0);
    strings.Insert(strings[0], -1);
    EXPECT_EQ(Texts(strings), (std::vector<std::string>{"beta", "alpha", "beta", "beta"}));

    QV_List<Rec24> records;
    records.Insert(Rec24{1, 2, 3, 4});
    records.Insert(records[0], 0);
    ASSERT_EQ(records.GetCount(), 2);
    EXPECT_EQ(records[0].d, 4);
    EXPECT_EQ(records[1].a, 1.0);
}

TEST_F(ListTest, RemoveClosesTheGap) {
    QV_List<QV_String> list;
    for (const char* t : {"a", "b", "c"}) list.Insert(QV_String(t));
    EXPECT_TRUE(list.Remove(1));
    EXPECT_FALSE(list.Remove(2));
    EXPECT_FALSE(list.Remove(-1));
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "c"}));
    EXPECT_TRUE(list.Remove(1));
    EXPECT_TRUE(list.Remove(0));
    EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(ListTest, CopiesAreDeep) {
    QV_List<QV_String> a;
    a.Insert(QV_String("one"));
    a.Insert(QV_String("two"));
    QV_List<QV_String> b(a);
    a[0] = "changed";
    EXPECT_EQ(Texts(b), (std::vector<std::string>{"one", "two"}));
    EXPECT_NE(b[1].GetBuffer(), a[1].GetBuffer());

    QV_List<QV_String> c;
    c.Insert(QV_String("old1"));
    c.Insert(QV_String("old2"));
    c = a;  // the old strings must be destroyed (the fixture checks for leaks)
    EXPECT_EQ(Texts(c), (std::vector<std::string>{"changed", "two"}));
    c = c;
    EXPECT_EQ(c.GetCount(), 2);

    QV_List<API_Coord> coords;
    QV_List<API_Coord> empty;
    coords.Insert(API_Coord{1, 2});
    coords = empty;
    EXPECT_EQ(coords.GetCount(), 0);
    EXPECT_TRUE(coords.Insert(API_Coord{3, 4}));
}

TEST_F(ListTest, ClearKeepsTheHandleButAListWithoutHandleRefusesInsert) {
    QV_List<QV_String> list;
    list.Insert(QV_String("x"));
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_TRUE(list.HasHandle());
    EXPECT_EQ(BMGetHandleSize(list.GetHandle()), 0);
    EXPECT_TRUE(list.Insert(QV_String("y")));

    MemoryDriver::FailNextAllocations(1);
    QV_List<int> dead;  // its handle could not be allocated
    MemoryDriver::Reset();
    EXPECT_FALSE(dead.HasHandle());
    QV_List<int> assigned;
    assigned.Insert(5);
    assigned = dead;
    EXPECT_FALSE(assigned.HasHandle());
    EXPECT_EQ(assigned.GetCount(), 0);
    EXPECT_FALSE(assigned.Insert(1));
    EXPECT_EQ(assigned.GetCount(), 0);
    QV_List<int> copied(dead);
    EXPECT_FALSE(copied.Insert(1));
}

TEST_F(ListTest, FailedGrowthKeepsEveryElement) {
    QV_List<QV_String> list;
    list.Insert(QV_String("keep"));
    list.Insert(QV_String("me"));
    const QV_String lost("lost");
    MemoryDriver::FailNextAllocations(1);
    EXPECT_FALSE(list.Insert(lost, 0));
    EXPECT_TRUE(list.HasHandle());
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"keep", "me"}));
    EXPECT_TRUE(list.Insert(lost));
    EXPECT_EQ(list.GetCount(), 3);

    QV_List<int> numbers;
    numbers.Insert(1);
    QV_List<int> other;
    other.Insert(3);
    MemoryDriver::FailAllocationsAfter(0);
    EXPECT_FALSE(numbers.Insert(2));
    EXPECT_FALSE(numbers.SetSize(10));
    EXPECT_FALSE(numbers.InsertList(other));
    MemoryDriver::Reset();
    EXPECT_EQ(Ints(numbers), (std::vector<int>{1}));
}

TEST_F(ListTest, FailedCopyGivesAnEmptyListWithoutHandle) {
    QV_List<QV_String> source;
    source.Insert(QV_String("a"));
    MemoryDriver::FailNextAllocations(1);
    QV_List<QV_String> copy(source);
    EXPECT_EQ(copy.GetCount(), 0);
    EXPECT_FALSE(copy.HasHandle());
}

TEST_F(ListTest, SetSizeAndInsertList) {
    QV_List<QV_String> list;
    EXPECT_TRUE(list.SetSize(3));
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_FALSE(list[2].HasBuffer());
    list[1] = "mid";
    EXPECT_TRUE(list.SetSize(2));
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"", "mid"}));
    EXPECT_FALSE(list.SetSize(-1));

    QV_List<int> a;
    for (int v : {1, 2, 3}) a.Insert(v);
    QV_List<int> b;
    for (int v : {8, 9}) b.Insert(v);
    EXPECT_TRUE(a.InsertList(b, 1));
    EXPECT_EQ(Ints(a), (std::vector<int>{1, 8, 9, 2, 3}));
    EXPECT_TRUE(b.InsertList(b, 1));
    EXPECT_EQ(Ints(b), (std::vector<int>{8, 8, 9, 9}));

    QV_List<QV_String> s;
    s.Insert(QV_String("x"));
    s.Insert(QV_String("y"));
    EXPECT_TRUE(s.InsertList(s, 1));
    EXPECT_EQ(Texts(s), (std::vector<std::string>{"x", "x", "y", "y"}));
}

TEST_F(ListTest, NestedListsCopyDeeply) {
    QV_List<QV_List<QV_String>> rows;
    QV_List<QV_String> row;
    row.Insert(QV_String("cell"));
    rows.Insert(row);
    rows.Insert(row);
    rows.Insert(rows[0], 0);
    QV_List<QV_List<QV_String>> copy(rows);
    copy[0][0] = "changed";
    EXPECT_EQ(rows[0][0].ToStdString(), "cell");
    EXPECT_EQ(copy.GetCount(), 3);
}

bool IntLess(const int& a, const int& b, void*) { return a < b; }
bool StringLess(const QV_String& a, const QV_String& b, void* userData) {
    ++*static_cast<int*>(userData);
    return a < b;
}
bool AlwaysLess(const int&, const int&, void*) { return true; }

TEST_F(ListTest, SortOrdersAndPassesUserData) {
    std::mt19937 random(7);
    QV_List<int> list;
    std::vector<int> expected;
    for (int i = 0; i < 2000; ++i) {
        const int v = int(random() % 100);  // many duplicates
        list.Insert(v);
        expected.push_back(v);
    }
    list.Sort(IntLess);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Ints(list), expected);

    QV_List<QV_String> strings;
    for (const char* t : {"pear", "apple", "fig", "apple"}) strings.Insert(QV_String(t));
    int calls = 0;
    strings.Sort(StringLess, &calls);
    EXPECT_GT(calls, 0);
    EXPECT_EQ(Texts(strings), (std::vector<std::string>{"apple", "apple", "fig", "pear"}));
}

TEST_F(ListTest, SortEdgeCases) {
    QV_List<int> one;
    one.Insert(4);
    one.Sort(IntLess);
    EXPECT_EQ(Ints(one), (std::vector<int>{4}));

    // Two equal elements are swapped: visible through a field the comparison ignores.
    QV_List<Rec24> pair;
    pair.Insert(Rec24{1, 0, 0, 1});
    pair.Insert(Rec24{1, 0, 0, 2});
    pair.Sort([](const Rec24& a, const Rec24& b, void*) { return a.a < b.a; });
    EXPECT_EQ(pair[0].d, 2);
    EXPECT_EQ(pair[1].d, 1);

    // A comparator that is no ordering must not run off the block.
    QV_List<int> list;
    for (int v : {3, 1, 2, 5, 4}) list.Insert(v);
    list.Sort(AlwaysLess);
    EXPECT_EQ(list.GetCount(), 5);

    // Without memory for the pivot nothing is sorted, nothing breaks.
    QV_List<int> unsorted;
    for (int v : {3, 1, 2}) unsorted.Insert(v);
    MemoryDriver::FailAllocationsAfter(1);  // the scratch element succeeds, the pivot fails
    unsorted.Sort(IntLess);
    MemoryDriver::Reset();
    EXPECT_EQ(Ints(unsorted), (std::vector<int>{3, 1, 2}));
}

TEST_F(ListTest, SplitString) {
    QV_List<QV_String> list;
    SplitString("a,b", ',', list);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b"}));
    SplitString("a,,b", ',', list);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(list[1].HasBuffer());
    SplitString("", ',', list);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_TRUE(list[0].HasBuffer());
    EXPECT_EQ(list[0].GetLength(), 0u);
    SplitString(",a,", ',', list);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"", "a", ""}));
    SplitString(nullptr, ',', list);
    EXPECT_EQ(list.GetCount(), 0);
    SplitString("caf\xE9;x", ';', list);  // system code page bytes
    EXPECT_EQ(list[0].GetAt(3), 0x00E9);
}

}  // namespace qv_list_test
