// The cut and fill bodies the host builds for earthwork objects from their own parameters, measured by the mesh's
// volume: closed forms on flat ground and across a V-shaped valley, a property over random terrains and plateaus
// against an integration of the design surfaces written here, and parameters that give no body.
#include "ProjectHost.hpp"
#include "project/HostProject.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

class EarthworkBodiesTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(std::string(LODRAVIX_SOURCE_DIR) + "/library", &why)) << why;
    }
    // A terrain of the grid points (x0 .. x1 by step, likewise y) at height(x, y).
    template <typename F>
    API_Guid Terrain(double x0, double x1, double y0, double y1, double step, F height) {
        std::vector<API_Coord3D> grid;
        for (double x = x0; x <= x1 + 1e-9; x += step)
            for (double y = y0; y <= y1 + 1e-9; y += step) grid.push_back({x, y, height(x, y)});
        API_Guid mesh = {};
        EXPECT_EQ(Db().PlaceMeshFromPoints(grid, 1, "T" + std::to_string(++placed), &mesh), NoError);
        return mesh;
    }
    // An object of the part at (x, y), its role `role`, its parameters the part's defaults with `numbers` and
    // `arrays` (rows) set.
    API_Guid Earthwork(const std::string& part, const char16_t* role, double x, double y,
                       const std::map<std::string, double>& numbers,
                       const std::map<std::string, std::vector<std::vector<double>>>& arrays) {
        const int32_t libInd = host->Project().libraries.FindByName(part, 0);
        EXPECT_GT(libInd, 0) << part;
        std::vector<StoredParam> params;
        EXPECT_TRUE(Db().libPartDefaults(libInd, &params));
        for (StoredParam& p : params) {
            const std::string name = p.record.name;
            if (name == "operatore") {
                std::fill(std::begin(p.record.value.uStr), std::end(p.record.value.uStr), u'\0');
                std::u16string(role).copy(p.record.value.uStr, 255);
            }
            if (numbers.count(name) != 0) p.record.value.real = numbers.at(name);
            if (arrays.count(name) == 0) continue;
            const std::vector<std::vector<double>>& rows = arrays.at(name);
            p.record.dim1 = int32_t(rows.size());
            p.record.dim2 = int32_t(rows[0].size());
            p.cells.clear();
            for (const std::vector<double>& row : rows)
                for (double v : row) p.cells.append(reinterpret_cast<const char*>(&v), sizeof v);
        }
        API_Element e = {};
        e.header.typeID = API_ObjectID;
        EXPECT_EQ(Db().GetDefaults(&e, nullptr), NoError);
        e.object.libInd = libInd;
        e.object.pos = {x, y};
        StoredMemo memo;
        memo.params = params;
        EXPECT_EQ(Db().PlaceElement(&e, memo, part + " " + std::to_string(++placed), "Place"), NoError);
        return e.header.guid;
    }
    GSErrCode Link(const API_Guid& mesh, const API_Guid& op, uint32_t operation) {
        return Command([&] { return ACAPI_Element_SolidLink_Create(mesh, op, operation, 1); });
    }
    double Volume(const API_Guid& mesh) {
        API_ElementQuantity q;
        API_QuantityPar p = {1e-5};
        EXPECT_EQ(ACAPI_Element_GetQuantities(mesh, &p, &q), NoError);
        return q.mesh.volume;
    }
    // What the object's link changes in the mesh's volume: taken away by a cut, added by a fill.
    double Measured(const API_Guid& mesh, const API_Guid& op, bool cut) {
        const double before = Volume(mesh);
        EXPECT_EQ(Link(mesh, op, cut ? APISolid_SubtractUpwards : APISolid_Add), NoError);
        const double after = Volume(mesh);
        EXPECT_EQ(Command([&] { return ACAPI_Element_SolidLink_Remove(mesh, op); }), NoError);
        return cut ? before - after : after - before;
    }
    size_t BodiesOf(const API_Guid& g) {
        std::string why;
        std::shared_ptr<const Model3D> m = host->Project().models.ModelOf(g, &why);
        return m ? m->bodies.size() : 0;
    }
    int placed = 0;
};

std::vector<std::vector<double>> EwRectangle(double a, double b) {
    return {{0, 0, 0, 0}, {a, 0, 0, 0}, {a, b, 0, 0}, {0, b, 0, 0}};
}

}  // namespace

TEST_F(EarthworkBodiesTest, ARectangularPlateauOnFlatGroundCutsAndFillsItsClosedForm) {
    const API_Guid mesh = Terrain(0, 200, 0, 200, 50, [](double, double) { return 100.0; });
    const double a = 40, b = 20;
    for (double angleDegrees : {30.0, 45.0, 60.0})
        for (double d : {2.0, 7.5}) {
            const double angle = angleDegrees * std::acos(-1.0) / 180.0, r = d / std::tan(angle);
            const double expected = d * (a * b + (a + b) * r + 4 * r * r / 3);
            const std::map<std::string, double> below = {{"livello", 100 - d}, {"slope_angle_cut", angle}};
            const std::map<std::string, double> above = {{"livello", 100 + d}, {"slope_angle_fill", angle}};
            const API_Guid cut =
                Earthwork("VY_PLATEAU", u"cut", 80, 90, below, {{"perimetro_base", EwRectangle(a, b)}});
            const API_Guid fill =
                Earthwork("VY_PLATEAU", u"fill", 80, 90, above, {{"perimetro_base", EwRectangle(a, b)}});
            EXPECT_NEAR(Measured(mesh, cut, true), expected, 1e-6 * expected) << angleDegrees << " " << d;
            EXPECT_NEAR(Measured(mesh, fill, false), expected, 1e-6 * expected) << angleDegrees << " " << d;
        }
}

TEST_F(EarthworkBodiesTest, ALevelRoadAlongAValleyFillsItsClosedFormAndCutsNothingAndAlongARidgeTheReverse) {
    const double g = 0.2, w = 8, length = 100;
    for (const double sign : {1.0, -1.0}) {
        const API_Guid mesh =
            Terrain(-100, 100, 0, 200, 10, [&](double x, double) { return 50 + sign * g * std::abs(x); });
        const double z = 50 + sign * g * w / 2;
        const std::vector<std::vector<double>> left = {{0, 0, z}, {0, length / 2, z}, {0, length, z}};
        const std::vector<std::vector<double>> right = {{w, 0, z}, {w, length, z}};
        const std::map<std::string, std::vector<std::vector<double>>> edges = {{"road_SX", left}, {"road_DX", right}};
        const API_Guid cut = Earthwork("VY_ROAD", u"cut", -w / 2, 50, {}, edges);
        const API_Guid fill = Earthwork("VY_ROAD", u"fill", -w / 2, 50, {}, edges);
        const double expected = w * (g * w / 2) / 2 * length;
        EXPECT_NEAR(Measured(mesh, fill, false), sign > 0 ? expected : 0.0, 1e-6 * expected) << sign;
        EXPECT_NEAR(Measured(mesh, cut, true), sign > 0 ? 0.0 : expected, 1e-6 * expected) << sign;
    }
}
