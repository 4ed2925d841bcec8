// The box-and-lists record's reset.
#include "elements/RecordLists.hpp"

#include "APICoord.hpp"

#include <gtest/gtest.h>

#include <cfloat>

namespace bounds_and_lists_test {

TEST(BoundsAndLists, ResetUnsetsTheBoxWithTheShortLiteralAndEmptiesTheLists) {
    BoundsAndLists<double, int32_t, QV_String, API_Coord3D> record;
    record.head = 77;
    record.minX = record.maxZ = 3.0;
    ASSERT_TRUE(record.list1.Insert(1.0));
    ASSERT_TRUE(record.list3.Insert(QV_String("text")));
    ASSERT_TRUE(record.list4.Insert(API_Coord3D{1, 2, 3}));
    ResetBoundsAndLists(record);
    EXPECT_EQ(record.head, 0);
    for (double v : {record.minX, record.minY, record.minZ}) {
        EXPECT_EQ(v, 1.79769313486231e308);
        EXPECT_LT(v, DBL_MAX);
    }
    for (double v : {record.maxX, record.maxY, record.maxZ}) EXPECT_EQ(v, -1.79769313486231e308);
    EXPECT_EQ(record.list1.GetCount() + record.list2.GetCount() + record.list3.GetCount() + record.list4.GetCount(), 0);
    EXPECT_TRUE(record.list3.Insert(QV_String("again")));  // the lists stay usable
}

}  // namespace bounds_and_lists_test
