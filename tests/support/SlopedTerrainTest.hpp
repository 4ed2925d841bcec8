#pragma once
// A tool test that asks through scripted dialogs, standing on the terrain most site-object tests use: the grid's
// points on the plane z = 100 + 0.05x + 0.02y. The user's drawn polygons and polylines are placed here too.
#include "GridTerrain.hpp"
#include "ScriptedToolTest.hpp"

#include <string>
#include <vector>

class SlopedTerrainTest : public ScriptedToolTest {
protected:
    static double Plane(double x, double y) { return 100.0 + 0.05 * x + 0.02 * y; }

    void SetUp() override {
        ScriptedToolTest::SetUp();
        if (HasFatalFailure()) return;
        terrain = PlaceTerrain(GridTerrainPoints(Plane));
    }
    // A fill (closed) or a polyline (open) the user drew through `points`.
    API_Element Drawn(API_ElemTypeID type, const std::vector<API_Coord3D>& points) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(type, points, type == API_HatchID, 1, "drawn" + std::to_string(++drawn), &g),
                  NoError);
        return Get(g);
    }

    API_Element terrain = {};
    int drawn = 0;
};
