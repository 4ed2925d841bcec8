// The basin tracer's drawing on the stand-in host, exploded and turned into an outline as the basin command does:
// level polygons of real meshes against their exact level lines.
#include "ProjectHost.hpp"

#include "earthworks/BasinOutline.hpp"

#include <cmath>
#include <cstring>

namespace basin_tracer_test {

class BasinTracerTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(std::string(LODRAVIX_SOURCE_DIR) + "/library", &why)) << why;
        tracerLib = host->Project().libraries.FindByName("VY3_BasinBuilder", 0);
        ASSERT_GT(tracerLib, 0);
    }

    API_Guid Mesh(const std::vector<API_Coord3D>& points) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlaceMeshFromPoints(points, 1, "", &g), NoError) << Db().LastRefusal();
        return g;
    }

    // A tracer over the box at the level, exploded down to its polygons.
    void Trace(const API_Box& box, double level, QV_Explode& x) {
        API_Element e = {};
        e.header.typeID = API_ObjectID;
        ASSERT_EQ(Db().GetDefaults(&e, nullptr), NoError);
        e.object.libInd = tracerLib;
        e.object.pos = {box.xMin, box.yMin};
        e.object.xRatio = box.xMax - box.xMin;
        e.object.yRatio = box.yMax - box.yMin;
        std::vector<StoredParam> params;
        ASSERT_TRUE(Db().libPartDefaults(tracerLib, &params));
        for (StoredParam& p : params)
            if (std::strcmp(p.record.name, "livello") == 0) p.record.value.real = level;
        StoredMemo memo;
        memo.params = params;
        ASSERT_EQ(Db().PlaceElement(&e, memo, "", "Place"), NoError) << Db().LastRefusal();
        ASSERT_EQ(x.Run(Db().Find(e.header.guid)->record.header), NoError);
        Basin::KeepPolygonPrimitives(x);
    }

    int32_t tracerLib = 0;
};

double OutlineArea(const QV_List<QV_CoordLong>& o) {
    double a = 0.0;
    for (int32_t i = 0; i + 1 < o.GetCount(); ++i)
        if (o[i].code != QV_CodeContourEnd) a += o[i].x * o[i + 1].y - o[i + 1].x * o[i].y;
    return std::fabs(a) / 2;
}

TEST_F(BasinTracerTest, APitTracesToTheExactLevelSquare) {
    Mesh({{0, 0, 20}, {100, 0, 20}, {100, 100, 20}, {0, 100, 20}, {50, 50, 0}});
    for (double level : {2.0, 5.0, 13.0}) {
        QV_Explode x;
        Trace({0, 0, 100, 100}, level, x);
        ASSERT_EQ(x.polygons.GetCount(), 1) << level;
        QV_List<QV_CoordLong> outline;
        ASSERT_TRUE(Basin::ChooseOutline(x, {55, 50}, outline));
        const double h = 50.0 * level / 20.0;
        EXPECT_NEAR(OutlineArea(outline), 4 * h * h, 1e-6) << level;
        for (int32_t i = 0; i < outline.GetCount(); ++i) {
            EXPECT_NEAR(std::fabs(outline[i].x - 50.0), h, 1e-6) << level;
            EXPECT_NEAR(std::fabs(outline[i].y - 50.0), h, 1e-6) << level;
        }
        EXPECT_EQ(outline[outline.GetCount() - 1].code, QV_CodeContourEnd);
    }
}

TEST_F(BasinTracerTest, TwoHollowsGiveTwoPolygonsAndThePickChoosesOne) {
    Mesh({{0, 0, 20},
          {100, 0, 20},
          {100, 100, 20},
          {0, 100, 20},
          {25, 50, 0},
          {75, 50, 0},
          {50, 50, 20},
          {50, 0, 20},
          {50, 100, 20}});
    QV_Explode x;
    Trace({0, 0, 100, 100}, 4.0, x);
    ASSERT_EQ(x.polygons.GetCount(), 2);
    QV_List<QV_CoordLong> outline;
    ASSERT_TRUE(Basin::ChooseOutline(x, {80, 50}, outline));
    for (int32_t i = 0; i < outline.GetCount(); ++i) EXPECT_GT(outline[i].x, 50.0);

    QV_Explode dry;
    Trace({0, 0, 100, 100}, -1.0, dry);  // below the lowest point: nothing to trace
    EXPECT_EQ(dry.polygons.GetCount(), 0);
    EXPECT_FALSE(Basin::ChooseOutline(dry, {50, 50}, outline));
}

}  // namespace basin_tracer_test
