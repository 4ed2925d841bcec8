#include "elements/ArrayParams.hpp"

#include "MemoryDriver.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace array_params_test {

QV_List<double> Doubles(const std::vector<double>& values) {
    QV_List<double> list;
    for (double v : values) list.Insert(v);
    return list;
}

std::vector<double> Values(const QV_List<double>& list) {
    std::vector<double> out;
    for (int32_t i = 0; i < list.GetCount(); ++i) out.push_back(list[i]);
    return out;
}

QV_List<QV_Coord3DLong> Quads(std::initializer_list<QV_Coord3DLong> items) {
    QV_List<QV_Coord3DLong> list;
    for (const auto& q : items) list.Insert(q);
    return list;
}

TEST(ArrayParams, QuadLayouts) {
    const QV_List<QV_Coord3DLong> quads = Quads({{1, 2, 3, 4}, {5, 6, 7, 8}});
    const struct {
        bool interleaved;
        bool codeBeforeZ;
        std::vector<double> flat;
    } cases[] = {{false, false, {1, 5, 2, 6, 3, 7, 4, 8}},
                 {false, true, {1, 5, 2, 6, 4, 8, 3, 7}},
                 {true, false, {1, 2, 3, 4, 5, 6, 7, 8}},
                 {true, true, {1, 2, 4, 3, 5, 6, 8, 7}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "interleaved " << c.interleaved << " codeBeforeZ " << c.codeBeforeZ);
        QV_List<double> flat = Doubles({-9});  // conversions append
        ASSERT_TRUE(QuadListToDoubles(quads, flat, c.interleaved, c.codeBeforeZ));
        std::vector<double> expected = {-9};
        expected.insert(expected.end(), c.flat.begin(), c.flat.end());
        EXPECT_EQ(Values(flat), expected);

        QV_List<QV_Coord3DLong> back = Quads({{0, 0, 0, 99}});
        ASSERT_TRUE(DoublesToQuadList(Doubles(c.flat), back, c.interleaved, c.codeBeforeZ));
        ASSERT_EQ(back.GetCount(), 3);
        EXPECT_EQ(back[0].code, 99);
        for (int32_t i = 0; i < 2; ++i) {
            EXPECT_EQ(back[i + 1].x, quads[i].x);
            EXPECT_EQ(back[i + 1].y, quads[i].y);
            EXPECT_EQ(back[i + 1].z, quads[i].z);
            EXPECT_EQ(back[i + 1].code, quads[i].code);
        }
    }
}

TEST(ArrayParams, TripleLayoutsAndHostPoints) {
    QV_List<QV_CoordLong> triples;
    triples.Insert({1.5, 2.5, 2});
    triples.Insert({3.5, 4.5, -1});
    triples.Insert({5.5, 6.5, 900});
    QV_List<double> byColumns;
    ASSERT_TRUE(TripleListToDoubles(triples, byColumns, false));
    EXPECT_EQ(Values(byColumns), (std::vector<double>{1.5, 3.5, 5.5, 2.5, 4.5, 6.5, 2, -1, 900}));
    QV_List<double> rows;
    ASSERT_TRUE(TripleListToDoubles(triples, rows, true));
    EXPECT_EQ(Values(rows), (std::vector<double>{1.5, 2.5, 2, 3.5, 4.5, -1, 5.5, 6.5, 900}));

    for (bool interleaved : {false, true}) {
        QV_List<QV_CoordLong> back;
        ASSERT_TRUE(DoublesToTripleList(interleaved ? rows : byColumns, back, interleaved));
        ASSERT_EQ(back.GetCount(), 3);
        for (int32_t i = 0; i < 3; ++i) {
            EXPECT_EQ(back[i].x, triples[i].x);
            EXPECT_EQ(back[i].y, triples[i].y);
            EXPECT_EQ(back[i].code, triples[i].code);
        }
    }

    QV_List<API_Coord3D> points;
    points.Insert({1, 2, 3});
    points.Insert({4, 5, 6});
    QV_List<double> flat;
    ASSERT_TRUE(TriplesToDoubleList(points, flat, false));
    EXPECT_EQ(Values(flat), (std::vector<double>{1, 4, 2, 5, 3, 6}));
    ASSERT_TRUE(TriplesToDoubleList(points, flat, true));
    EXPECT_EQ(Values(flat), (std::vector<double>{1, 4, 2, 5, 3, 6, 1, 2, 3, 4, 5, 6}));
}

TEST(ArrayParams, IncompleteRecordsAndEmptyLists) {
    QV_List<QV_Coord3DLong> quads;
    ASSERT_TRUE(DoublesToQuadList(Doubles({1, 2, 3, 4, 5, 6, 7}), quads, true, false));
    ASSERT_EQ(quads.GetCount(), 1);  // the last three values are ignored
    EXPECT_EQ(quads[0].z, 3);
    EXPECT_EQ(quads[0].code, 4);
    // By columns, N = floor(7 / 4) = 1: the fields of the one record are at 0, 1, 2, 3.
    quads.Clear();
    ASSERT_TRUE(DoublesToQuadList(Doubles({1, 2, 3, 4, 5, 6, 7}), quads, false, false));
    ASSERT_EQ(quads.GetCount(), 1);
    EXPECT_EQ(quads[0].y, 2);

    QV_List<QV_CoordLong> triples;
    ASSERT_TRUE(DoublesToTripleList(Doubles({1, 2}), triples, false));
    EXPECT_EQ(triples.GetCount(), 0);
    ASSERT_TRUE(DoublesToTripleList(Doubles({}), triples, true));
    EXPECT_EQ(triples.GetCount(), 0);

    QV_List<double> flat;
    ASSERT_TRUE(QuadListToDoubles(QV_List<QV_Coord3DLong>(), flat, false, false));
    ASSERT_TRUE(TripleListToDoubles(QV_List<QV_CoordLong>(), flat, true));
    ASSERT_TRUE(TriplesToDoubleList(QV_List<API_Coord3D>(), flat, true));
    EXPECT_EQ(flat.GetCount(), 0);
}

TEST(ArrayParams, CodesTruncateTowardZeroAndStayInRange) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<double, int32_t>> cases = {{2.9, 2},
                                                           {-2.9, -2},
                                                           {0.999, 0},
                                                           {-0.5, 0},
                                                           {3015.0, 3015},
                                                           {1e300, INT32_MAX},
                                                           {-1e300, INT32_MIN},
                                                           {inf, INT32_MAX},
                                                           {-inf, INT32_MIN},
                                                           {std::nan(""), 0},
                                                           {2147483647.9, INT32_MAX},
                                                           {-2147483648.5, INT32_MIN}};
    for (const auto& c : cases) {
        EXPECT_EQ(CodeFromDouble(c.first), c.second) << c.first;
        QV_List<QV_CoordLong> triples;
        ASSERT_TRUE(DoublesToTripleList(Doubles({0, 0, c.first}), triples, true));
        EXPECT_EQ(triples[0].code, c.second) << c.first;
        QV_List<QV_Coord3DLong> quads;
        ASSERT_TRUE(DoublesToQuadList(Doubles({0, 0, c.first, 7}), quads, true, true));
        EXPECT_EQ(quads[0].code, c.second) << c.first;
        EXPECT_EQ(quads[0].z, 7);
    }
}

TEST(ArrayParams, FailedGrowthLeavesTheTargetAsItWas) {
    MemoryDriver::ScopedReset reset;
    const QV_List<QV_Coord3DLong> quads = Quads({{1, 2, 3, 4}, {5, 6, 7, 8}});
    QV_List<double> flat = Doubles({42});
    MemoryDriver::FailNextAllocations(1);
    EXPECT_FALSE(QuadListToDoubles(quads, flat, true, false));
    EXPECT_EQ(Values(flat), std::vector<double>{42});

    QV_List<QV_Coord3DLong> back = Quads({{9, 9, 9, 9}});
    const QV_List<double> source = Doubles({1, 2, 3, 4});
    MemoryDriver::FailNextAllocations(1);
    EXPECT_FALSE(DoublesToQuadList(source, back, true, false));
    ASSERT_EQ(back.GetCount(), 1);
    EXPECT_EQ(back[0].x, 9);

    // Afterwards the conversions work again.
    EXPECT_TRUE(DoublesToQuadList(source, back, true, false));
    EXPECT_EQ(back.GetCount(), 2);
}

}  // namespace array_params_test
