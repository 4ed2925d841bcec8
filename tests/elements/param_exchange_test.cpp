// Typed exchange between lists and array parameters: shapes written, round trips, empty lists, other modes,
// and counts in the object's arrays that point past the cells they index.
#include "ParamRecords.hpp"

#include "elements/ParamExchange.hpp"
#include "elements/ParamIndexes.hpp"

#include "MemoryDriver.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace param_exchange_test {

// An identity view whose name table is given by the test.
class TableView : public BaseIDLP {
public:
    TableView(std::map<int32_t, const char*> names, GSHandle records, int32_t n)
        : BaseIDLP(6, records, n), names_(std::move(names)) {}
    const char* GetParamName(int32_t index) const override {
        const auto it = names_.find(index);
        return it != names_.end() ? it->second : BaseLP::GetParamName(index);
    }

private:
    std::map<int32_t, const char*> names_;
};

const std::map<int32_t, const char*> kIdNames = {
    {13, "nodi_ostacoli"},     {14, "ostacolo"},          {15, "cuts_enne"},      {16, "cuts_node"},
    {21, "perimetro_base_SX"}, {22, "perimetro_base_DX"}, {27, "perimetro_base"}, {39, "perimetro_base"},
    {64, "quantita"},          {65, "identificatori"}};

const std::map<int32_t, const char*> kPaintNames = {{39, "nodes"},  {40, "coordinates"},  {41, "mat"},
                                                    {42, "retino"}, {43, "penna_retino"}, {44, "sfondo_retino"},
                                                    {45, "penna"},  {47, "origine"},      {49, "dislivello"}};

API_AddParType& Rec(ParamRecords& list, const char* name) { return *list.Find(name); }

class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.Reals("nodi_ostacoli", 1, 1, {0});
        list.Reals("ostacolo", 1, 1, {0});
        list.Reals("cuts_enne", 1, 2, {0, 0});
        list.Reals("cuts_node", 1, 6, {0, 0, 0, 0, 0, 0});
        list.Reals("perimetro_base_SX", 1, 4, {0, 0, 0, 0});
        list.Reals("perimetro_base_DX", 1, 4, {0, 0, 0, 0});
        list.Reals("perimetro_base", 1, 4, {0, 0, 0, 0});
        list.Reals("quantita", 1, 2, {0, 0});
        list.Texts("identificatori", 1, 2, {u"", u""});
        list.Real("scalar", 1.0);
    }
    TableView View() { return TableView(kIdNames, list.handle, list.Count()); }
    ParamRecords list;
};

TEST_F(ExchangeTest, QuadsRoundTripAsRowsOfFour) {
    TableView view = View();
    QV_List<QV_Coord3DLong> quads;
    quads.Insert({1, 2, 3, -1});
    quads.Insert({4, 5, 6, 900});
    ASSERT_TRUE(BaseIDLP::ExchangePerimetroBase(view, quads, LPMode_Set));
    EXPECT_EQ(Rec(list, "perimetro_base").dim1, 2);
    EXPECT_EQ(Rec(list, "perimetro_base").dim2, 4);
    EXPECT_EQ(list.CellsOf("perimetro_base"), (std::vector<double>{1, 2, 3, -1, 4, 5, 6, 900}));

    // Reading appends; codes are truncated toward zero.
    list.CellsOf("perimetro_base");
    reinterpret_cast<double*>(*Rec(list, "perimetro_base").value.array)[7] = -2.9;
    QV_List<QV_Coord3DLong> back;
    back.Insert({9, 9, 9, 9});
    ASSERT_TRUE(BaseIDLP::ExchangePerimetroBase(view, back, LPMode_Get));
    ASSERT_EQ(back.GetCount(), 3);
    EXPECT_EQ(back[1].z, 3.0);
    EXPECT_EQ(back[1].code, -1);
    EXPECT_EQ(back[2].code, -2);

    // The left and right edges are their own parameters.
    ASSERT_TRUE(BaseIDLP::ExchangePerimetroBaseSX(view, quads, LPMode_Set));
    EXPECT_EQ(Rec(list, "perimetro_base_SX").dim1, 2);
    EXPECT_EQ(Rec(list, "perimetro_base_DX").dim1, 1);
}

TEST_F(ExchangeTest, EmptyListsAndOtherModes) {
    TableView view = View();
    QV_List<QV_Coord3DLong> none;
    ASSERT_TRUE(BaseIDLP::ExchangePerimetroBaseDX(view, none, LPMode_Set));
    QV_List<QV_Coord3DLong> back;
    ASSERT_TRUE(BaseIDLP::ExchangePerimetroBaseDX(view, back, LPMode_Get));
    EXPECT_EQ(back.GetCount(), 0);

    // Mode 2 changes nothing and succeeds, for quads and triples alike.
    QV_List<QV_Coord3DLong> quads;
    quads.Insert({1, 2, 3, 0});
    const std::vector<double> before = list.CellsOf("perimetro_base");
    EXPECT_TRUE(BaseIDLP::ExchangePerimetroBase(view, quads, 2));
    EXPECT_EQ(list.CellsOf("perimetro_base"), before);
    EXPECT_EQ(quads.GetCount(), 1);
    QV_List<API_Coord3D> triples;
    EXPECT_TRUE(ExchangeDoubleList39(view, triples, 2));
    EXPECT_EQ(triples.GetCount(), 0);

    // A scalar is not an array: status 4.
    TableView wrong({{27, "scalar"}}, list.handle, list.Count());
    EXPECT_FALSE(BaseIDLP::ExchangePerimetroBase(wrong, quads, LPMode_Get));
    EXPECT_EQ(wrong.status, LPStatus_WrongKind);
}

TEST_F(ExchangeTest, ObstaclesWriteOneRowPerPolyline) {
    TableView view = View();
    QV_List<int32_t> counts;
    counts.Insert(3);
    counts.Insert(1);
    QV_List<API_Coord3D> points;
    for (double v : {1.0, 2.0, 3.0, 4.0}) points.Insert({v, v + 10, v + 20});
    ASSERT_TRUE(BaseIDLP::ExchangeObstacles(view, counts, points, LPMode_Set));
    EXPECT_EQ(list.CellsOf("nodi_ostacoli"), (std::vector<double>{3, 1}));
    EXPECT_EQ(Rec(list, "ostacolo").dim1, 2);
    EXPECT_EQ(Rec(list, "ostacolo").dim2, 9);
    EXPECT_EQ(list.CellsOf("ostacolo"),
              (std::vector<double>{1, 11, 21, 2, 12, 22, 3, 13, 23, 4, 14, 24, 0, 0, 0, 0, 0, 0}));

    QV_List<int32_t> countsBack;
    QV_List<API_Coord3D> pointsBack;
    ASSERT_TRUE(BaseIDLP::ExchangeObstacles(view, countsBack, pointsBack, LPMode_Get));
    ASSERT_EQ(countsBack.GetCount(), 2);
    ASSERT_EQ(pointsBack.GetCount(), 4);
    EXPECT_EQ(pointsBack[3].x, 4.0);
    EXPECT_EQ(pointsBack[3].z, 24.0);

    // More counted points than given: refused before anything is written.
    counts.Insert(5);
    EXPECT_FALSE(BaseIDLP::ExchangeObstacles(view, counts, points, LPMode_Set));
    EXPECT_EQ(view.status, LPStatus_BadCell);
    EXPECT_EQ(list.CellsOf("nodi_ostacoli"), (std::vector<double>{3, 1}));
}

TEST_F(ExchangeTest, ObstacleCountsOfZero) {
    TableView view = View();
    QV_List<int32_t> counts;
    QV_List<API_Coord3D> points;
    // [0]: no polyline.
    ASSERT_TRUE(BaseIDLP::ExchangeObstacles(view, counts, points, LPMode_Get));
    EXPECT_EQ(counts.GetCount(), 0);
    // Writing no polyline reads back as none.
    ASSERT_TRUE(BaseIDLP::ExchangeObstacles(view, counts, points, LPMode_Set));
    ASSERT_TRUE(BaseIDLP::ExchangeObstacles(view, counts, points, 7));
    EXPECT_EQ(counts.GetCount(), 0);
    // [0, 0]: two empty polylines.
    counts.Insert(0);
    counts.Insert(0);
    ASSERT_TRUE(BaseIDLP::ExchangeObstacles(view, counts, points, LPMode_Set));
    QV_List<int32_t> back;
    ASSERT_TRUE(BaseIDLP::ExchangeObstacles(view, back, points, LPMode_Get));
    EXPECT_EQ(back.GetCount(), 2);
    EXPECT_EQ(points.GetCount(), 0);
}

TEST_F(ExchangeTest, ObstacleCountsPastTheCoordinatesAreRefused) {
    TableView view = View();
    struct Case {
        std::vector<double> counts;
        int32_t rows;
        int32_t columns;
    };
    const Case cases[] = {
        {{3}, 1, 6},     // three points in a row of two
        {{1, 1}, 1, 3},  // a second polyline without its row
        {{-1}, 1, 3},    // a negative count
        {{2e9}, 1, 3},   // a huge count
    };
    for (const Case& c : cases) {
        BMKillHandle(&Rec(list, "nodi_ostacoli").value.array);
        BMKillHandle(&Rec(list, "ostacolo").value.array);
        list.Find("nodi_ostacoli")->name[0] = 'x';
        list.Find("ostacolo")->name[0] = 'x';
        list.Reals("nodi_ostacoli", int32_t(c.counts.size()), 1, c.counts);
        list.Reals("ostacolo", c.rows, c.columns, std::vector<double>(size_t(c.rows * c.columns), 1.0));
        TableView fresh(kIdNames, list.handle, list.Count());
        QV_List<int32_t> counts;
        counts.Insert(42);
        QV_List<API_Coord3D> points;
        EXPECT_FALSE(BaseIDLP::ExchangeObstacles(fresh, counts, points, LPMode_Get)) << c.counts[0];
        EXPECT_EQ(fresh.status, LPStatus_BadCell);
        // The caller's lists stay as they were.
        EXPECT_EQ(counts.GetCount(), 1);
        EXPECT_EQ(points.GetCount(), 0);
    }
}

TEST_F(ExchangeTest, CutLinesOfTwoAndZeroPoints) {
    TableView view = View();
    QV_List<QV_CoordLong> first;
    first.Insert({1, 2, 15});
    first.Insert({4, 5, -1});
    QV_List<QV_CoordLong> second;
    ASSERT_TRUE(ExchangeCoordLists(view, first, second));
    EXPECT_EQ(list.CellsOf("cuts_enne"), (std::vector<double>{2, 0}));
    EXPECT_EQ(Rec(list, "cuts_node").dim1, 2);
    EXPECT_EQ(Rec(list, "cuts_node").dim2, 6);
    EXPECT_EQ(list.CellsOf("cuts_node"), (std::vector<double>{1, 2, 15, 0, 0, 0, 4, 5, -1, 0, 0, 0}));

    // A failing first write ends it: the points stay as they were.
    TableView noCounts({{15, "missing"}, {16, "cuts_node"}}, list.handle, list.Count());
    EXPECT_FALSE(ExchangeCoordLists(noCounts, second, first));
    EXPECT_EQ(list.CellsOf("cuts_node")[0], 1.0);
}

TEST_F(ExchangeTest, QuantityListRoundTrip) {
    TableView view = View();
    QV_List<CalculationVolume> volumes;
    ASSERT_TRUE(ExchangeStringList(view, volumes, LPMode_Set));
    EXPECT_EQ(list.CellsOf("quantita"), (std::vector<double>{0, 0}));
    QV_List<CalculationVolume> back;
    ASSERT_TRUE(ExchangeStringList(view, back, LPMode_Get));
    ASSERT_EQ(back.GetCount(), 1);
    EXPECT_EQ(U16(back[0].featureName), u"");

    CalculationVolume v;
    v.secondDifference = 12.5;
    v.firstDifference = -3.25;
    v.total = 99;
    std::strcpy(v.terrainName, "TERRAIN_001");
    v.featureName = QV_String("Road 1");
    volumes.Insert(v);
    std::strcpy(v.terrainName, "T2");
    v.featureName = QV_String("Plateau");
    volumes.Insert(v);
    ASSERT_TRUE(ExchangeStringList(view, volumes, LPMode_Set));
    EXPECT_EQ(Rec(list, "quantita").dim1, 2);
    EXPECT_EQ(Rec(list, "identificatori").dim2, 2);

    back.Insert(v);  // reading empties the list first
    ASSERT_TRUE(ExchangeStringList(view, back, LPMode_Get));
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back[0].secondDifference, 12.5);
    EXPECT_EQ(back[0].firstDifference, -3.25);
    EXPECT_EQ(back[0].total, 0.0);
    EXPECT_STREQ(back[0].terrainName, "TERRAIN_001");
    EXPECT_EQ(U16(back[1].featureName), u"Plateau");
    EXPECT_TRUE(ExchangeStringList(view, back, 3));
    EXPECT_EQ(back.GetCount(), 2);
}

TEST_F(ExchangeTest, QuantityCodesAreCutTo15Bytes) {
    API_AddParType& ids = Rec(list, "identificatori");
    BMKillHandle(&ids.value.array);
    ids.name[0] = 'x';
    list.Texts("identificatori", 1, 2, {u"label", u"ABCDEFGHIJKLMNOPQRST"});
    TableView view = View();
    QV_List<CalculationVolume> back;
    ASSERT_TRUE(ExchangeStringList(view, back, LPMode_Get));
    ASSERT_EQ(back.GetCount(), 1);
    EXPECT_STREQ(back[0].terrainName, "ABCDEFGHIJKLMNO");
}

TEST_F(ExchangeTest, QuantityRowsNeedTheirCells) {
    // Two rows of values, but texts for one row only.
    API_AddParType& q = Rec(list, "quantita");
    BMKillHandle(&q.value.array);
    q.name[0] = 'x';
    list.Reals("quantita", 2, 2, {1, 2, 3, 4});
    TableView view = View();
    QV_List<CalculationVolume> back;
    EXPECT_FALSE(ExchangeStringList(view, back, LPMode_Get));
    EXPECT_EQ(view.status, LPStatus_BadCell);
    EXPECT_EQ(back.GetCount(), 0);
}

TEST(ExchangeShapes, PairsColoursColumnsGridsAndGroups) {
    ParamRecords list;
    list.Reals("origine", 1, 1, {0});
    list.Reals("rgb", 1, 1, {0});
    list.Texts("codice", 1, 1, {u""});
    list.Reals("livello", 1, 1, {0});
    list.Reals("mask", 1, 1, {0});
    list.Reals("indici", 1, 1, {0});
    TableView view({{47, "origine"}, {51, "rgb"}, {8, "codice"}, {9, "livello"}, {3, "mask"}, {4, "indici"}},
                   list.handle, list.Count());

    API_Coord origin = {0, 0};
    EXPECT_FALSE(LPArrays::PointPair(view, 47, origin, LPMode_Get));  // a 1 x 1 array holds no pair
    EXPECT_EQ(view.status, LPStatus_BadCell);
    origin = {3.5, -1};
    ASSERT_TRUE(LPArrays::PointPair(view, 47, origin, LPMode_Set));
    EXPECT_EQ(list.CellsOf("origine"), (std::vector<double>{3.5, -1}));
    API_Coord back = {};
    ASSERT_TRUE(LPArrays::PointPair(view, 47, back, LPMode_Get));
    EXPECT_EQ(back.x, 3.5);

    API_Coord3D colours[4] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.5, 0.5, 0.5}};
    ASSERT_TRUE(LPArrays::RgbRows(view, 51, colours, LPMode_Set));
    EXPECT_EQ(list.Find("rgb")->dim1, 4);
    EXPECT_EQ(list.Find("rgb")->dim2, 3);
    API_Coord3D read[4] = {};
    ASSERT_TRUE(LPArrays::RgbRows(view, 51, read, LPMode_Get));
    EXPECT_EQ(read[2].z, 1.0);
    EXPECT_EQ(read[3].y, 0.5);

    QV_List<QV_String> codes;
    codes.Insert(QV_String("P1"));
    codes.Insert(QV_String("P2"));
    ASSERT_TRUE(LPArrays::TextColumn(view, 8, codes, LPMode_Set));
    EXPECT_EQ(list.Find("codice")->dim1, 2);
    EXPECT_EQ(list.Find("codice")->dim2, 1);
    ASSERT_TRUE(LPArrays::TextColumn(view, 8, codes, LPMode_Get));
    EXPECT_EQ(codes.GetCount(), 4);

    QV_List<double> grid;
    for (double v : {1.0, 2.0, 3.0, 4.0, 5.0, 6.0}) grid.Insert(v);
    int32_t rows = 2, columns = 3;
    ASSERT_TRUE(LPArrays::DoubleGrid(view, 9, grid, rows, columns, LPMode_Set));
    QV_List<double> gridBack;
    rows = columns = 0;
    ASSERT_TRUE(LPArrays::DoubleGrid(view, 9, gridBack, rows, columns, LPMode_Get));
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(columns, 3);
    EXPECT_EQ(gridBack.GetCount(), 6);

    // Column groups: two lists of 2 and 1 points give 2 rows of 6.
    QV_List<QV_Poly3D> groups;
    QV_Poly3D a, b;
    a.points.Insert({1, 2, 3});
    a.points.Insert({4, 5, 6});
    b.points.Insert({7, 8, 9});
    groups.Insert(a);
    groups.Insert(b);
    ASSERT_TRUE(LPArrays::WriteColumnGroups(view, 3, groups));
    EXPECT_EQ(list.Find("mask")->dim1, 2);
    EXPECT_EQ(list.CellsOf("mask"), (std::vector<double>{1, 2, 3, 7, 8, 9, 4, 5, 6, 0, 0, 0}));

    QV_List<int32_t> indices;
    indices.Insert(5);
    indices.Insert(-1);
    ASSERT_TRUE(LPArrays::WriteLongColumn(view, 4, indices));
    EXPECT_EQ(list.Find("indici")->dim1, 2);
    EXPECT_EQ(list.CellsOf("indici"), (std::vector<double>{5, -1}));
}

TEST(ExchangeAreas, AreasRoundTripWithTheirAttributes) {
    ParamRecords list;
    for (const char* n :
         {"nodes", "coordinates", "mat", "retino", "penna_retino", "sfondo_retino", "penna", "dislivello"})
        list.Reals(n, 1, 1, {0});
    TableView view(kPaintNames, list.handle, list.Count());

    QV_List<PaintInfo> areas;
    PaintInfo a;
    a.points.Insert({0, 0, 0});
    a.points.Insert({1, 0, 0});
    a.points.Insert({1, 1, 0});
    a.retino = 7;
    a.penna = 3;
    a.penna_retino = 4;
    a.sfondo_retino = 5;
    a.mat = 60000;
    a.dislivello = -0.5;
    areas.Insert(a);
    PaintInfo b;
    b.points.Insert({5, 5, 1});
    b.retino = 2;
    areas.Insert(b);
    ASSERT_TRUE(LPArrays::AreaRecords(view, areas, LPMode_Set));
    EXPECT_EQ(list.Find("coordinates")->dim2, 9);
    EXPECT_EQ(list.Find("penna")->dim1, 1);
    EXPECT_EQ(list.Find("penna")->dim2, 2);

    QV_List<PaintInfo> back;
    ASSERT_TRUE(LPArrays::AreaRecords(view, back, LPMode_Get));
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back[0].points.GetCount(), 3);
    EXPECT_EQ(back[0].points[2].y, 1.0);
    EXPECT_EQ(back[0].mat, 60000);  // a short array round-trips the 16 bits
    EXPECT_EQ(back[0].dislivello, -0.5);
    EXPECT_EQ(back[1].points.GetCount(), 1);
    EXPECT_EQ(back[1].retino, 2);

    // An attribute array shorter than the outlines is refused.
    QV_List<int16_t> one;
    one.Insert(1);
    int32_t d1 = 1, d2 = 1;
    ASSERT_TRUE(view.GetSetShortArray(PaintParam::Penna, one, d1, d2, LPMode_Set));
    QV_List<PaintInfo> refused;
    EXPECT_FALSE(LPArrays::AreaRecords(view, refused, LPMode_Get));
    EXPECT_EQ(view.status, LPStatus_BadCell);
    EXPECT_EQ(refused.GetCount(), 0);

    // No areas: reads back as none.
    QV_List<PaintInfo> none;
    ASSERT_TRUE(LPArrays::AreaRecords(view, none, LPMode_Set));
    ASSERT_TRUE(LPArrays::AreaRecords(view, none, LPMode_Get));
    EXPECT_EQ(none.GetCount(), 0);
}

TEST(ExchangeLinks, FlagFollowsThePartner) {
    ParamRecords list;
    list.Real("IDoriginal", 5);
    TableView view({{45, "IDoriginal"}}, list.handle, list.Count());
    API_Guid guid = {1, 2, 3, {4, 5}, {6, 7, 8, 9, 10, 11}};
    ASSERT_TRUE(LPArrays::LinkFlag(view, 45, guid, LPMode_Set));
    EXPECT_EQ(list.At(0).value.real, 0.0);
    API_Guid none = APINULLGuid;
    ASSERT_TRUE(LPArrays::LinkFlag(view, 45, none, LPMode_Set));
    EXPECT_EQ(list.At(0).value.real, -1.0);
    EXPECT_TRUE(LPArrays::LinkFlag(view, 45, guid, LPMode_Get));
    EXPECT_TRUE(guid == APINULLGuid);
}

TEST(ExchangeMemory, AFailedReadLeavesTheListAsItWas) {
    ParamRecords list;
    list.Reals("perimetro_base", 2, 4, {1, 2, 3, 0, 4, 5, 6, 0});
    TableView view(kIdNames, list.handle, list.Count());
    QV_List<QV_Coord3DLong> quads;
    quads.Insert({9, 9, 9, 9});
    MemoryDriver::ScopedReset reset;
    for (int64_t n = 0; n < 64; ++n) {
        MemoryDriver::FailAllocationsAfter(n);
        const bool ok = BaseIDLP::ExchangePerimetroBase(view, quads, LPMode_Get);
        MemoryDriver::Reset();
        if (ok) {
            EXPECT_EQ(quads.GetCount(), 3);
            break;
        }
        EXPECT_EQ(quads.GetCount(), 1) << n;
        EXPECT_EQ(view.status, LPStatus_NoMemory) << n;
    }
    EXPECT_EQ(quads.GetCount(), 3);
}

}  // namespace param_exchange_test
