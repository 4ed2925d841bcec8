// The volume calculation against closed forms: boxes cut from and added to the plane terrain
// z = 100 + 0.05x + 0.02y remove and add prisms whose volumes are area x (height at the centre - bottom) and
// area x (top - height at the centre); and the totals of all features add up to the terrain's volume with all
// links minus its volume without; a calculation the host fails changes nothing.
#include "LibraryHost.hpp"

#include "foundation/GuidText.hpp"
#include "siteobjects/Calculation.hpp"

#include <nlohmann/json.hpp>

#include <cmath>

namespace volume_calculation_test {

double Plane(double x, double y) { return 100.0 + 0.05 * x + 0.02 * y; }

class VolumeCalculationTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        std::vector<API_Coord3D> points;
        for (int x = 20; x <= 120; x += 10)
            for (int y = 10; y <= 90; y += 10) points.push_back({double(x), double(y), Plane(x, y)});
        terrain = PlaceTerrain(points);
        plateau = host->Project().libraries.FindByName("VY_PLATEAU", 0);
        ASSERT_GT(plateau, 0);
    }
    static StoredBody Box(double x0, double y0, double x1, double y1, double z0, double z1) {
        return BoxBody(x0, y0, x1, y1, z0, z1);
    }
    // A plateau's cut or fill object with its box, its record naming the feature's result and its partner.
    API_Guid FeatureObject(const char* role, const StoredBody& box, const API_Guid& result, const API_Guid& partner) {
        const API_Guid g = PlaceObject(API_ObjectID, plateau, "");
        EXPECT_EQ(Db().GiveBodies(g, {box}), NoError);
        EXPECT_EQ(Command([&] {
                      GSHandle params = nullptr;
                      if (!BaseLP::GetLibPartParams(plateau, &params, nullptr, nullptr, nullptr)) return APIERR_GENERAL;
                      BaseLP view;
                      view.Attach(params, true);
                      view.SetStringParam("operatore", QV_String(role));
                      view.Detach();
                      API_ElementMemo memo = {};
                      memo.params = reinterpret_cast<API_AddParType**>(params);
                      GS::Array<API_Guid> one;
                      one.Push(g);
                      GSErrCode err = ACAPI_Element_ChangeParameters(one, nullptr, &memo, nullptr);
                      ReleaseParamRecords(&params);
                      ElemDescriptor d;
                      GuidToText(d.ResultGuid, result);
                      GuidToText(std::string(role) == "cut" ? d.FillGuid : d.CutGuid, partner);
                      if (err == NoError && !ElemUserData_WriteRecord(d, 7, Get(g).header)) err = APIERR_GENERAL;
                      return err;
                  }),
                  NoError);
        return g;
    }
    double Volume(const API_Guid& mesh) {
        API_ElementQuantity q;
        API_QuantityPar p = {1e-5};
        EXPECT_EQ(ACAPI_Element_GetQuantities(mesh, &p, &q), NoError);
        return q.mesh.volume;
    }
    GSErrCode Link(const API_Guid& op, uint32_t operation) {
        return Command([&] { return ACAPI_Element_SolidLink_Create(terrain.header.guid, op, operation, 0); });
    }
    API_Element terrain = {};
    int32_t plateau = 0;
};

TEST_F(VolumeCalculationTest, ABoxCutAndABoxFilledGiveTheirPrismsAndTheTotalsAddUp) {
    const double none = Volume(terrain.header.guid);
    API_Guid result = {};
    result.time_low = 0x1234;
    const API_Guid cut = FeatureObject("cut", Box(40, 30, 60, 50, 101.0, 110.0), result, {});
    const API_Guid fill = FeatureObject("fill", Box(80, 50, 100, 70, 104.0, 109.0), result, cut);
    // An unrelated feature's lone object between them in time.
    API_Guid other = {};
    other.time_low = 0x99;
    const API_Guid lone = FeatureObject("cut", Box(25, 70, 35, 80, 100.0, 120.0), other, {});
    ASSERT_EQ(Link(cut, APISolid_SubtractUpwards), NoError);
    ASSERT_EQ(Link(lone, APISolid_SubtractUpwards), NoError);
    ASSERT_EQ(Link(fill, APISolid_Add), NoError);
    // The newest link is no earthwork's: it is taken off unmeasured.
    const API_Guid plain = PlaceObject(API_ObjectID, libA, "plain");
    ASSERT_EQ(Db().GiveBodies(plain, {Box(100, 20, 110, 30, 100.0, 112.0)}), NoError);
    const double beforePlain = Volume(terrain.header.guid);
    ASSERT_EQ(Link(plain, APISolid_Add), NoError);
    const double plainAdded = Volume(terrain.header.guid) - beforePlain;
    EXPECT_NEAR(plainAdded, 100.0 * (112.0 - Plane(105, 25)), 1e-6);
    const double all = Volume(terrain.header.guid);

    CalculationCls cls;
    ASSERT_EQ(cls.Run(Get(terrain.header.guid)), 0);
    ASSERT_EQ(cls.volumes.GetCount(), 2);
    // Newest first: the feature whose fill was linked last, its cut measured first.
    const CalculationVolume& f = cls.volumes[0];
    EXPECT_NEAR(f.firstDifference, -400.0 * (Plane(50, 40) - 101.0), 1e-6);
    EXPECT_NEAR(f.secondDifference, 400.0 * (109.0 - Plane(90, 60)), 1e-6);
    const CalculationVolume& l = cls.volumes[1];
    EXPECT_NEAR(l.firstDifference, -100.0 * (Plane(30, 75) - 100.0), 1e-6);
    EXPECT_EQ(l.secondDifference, 0.0);
    double sum = 0.0;
    for (const CalculationVolume& v : cls.volumes) sum += v.total;
    EXPECT_NEAR(sum + plainAdded, all - none, 1e-6);
    // The copy is gone, the terrain keeps its links.
    EXPECT_EQ(Db().SolidLinks().size(), 4u);
    int32_t meshes = 0;
    for (const API_Guid& g : Db().AllElements()) meshes += Get(g).header.typeID == API_MeshID ? 1 : 0;
    EXPECT_EQ(meshes, 1);
}

TEST_F(VolumeCalculationTest, AFeatureWhoseFillRefillsItsCutHasItsWholeExcavationCounted) {
    // As a sidewalk's: its cut takes everything above its underside u, its fill adds everything below its top, which
    // lies under the ground: the cut is the whole excavation down to u, the fill the pavement between u and the top.
    // A 2 x 2 box: the ground within it stays within 0.07 of its centre's height, above the top.
    const double u = Plane(50, 40) - 0.3, top = Plane(50, 40) - 0.1;
    API_Guid result = {};
    result.time_low = 0x4321;
    const API_Guid cut = FeatureObject("cut", Box(49, 39, 51, 41, u, 130.0), result, {});
    const API_Guid fill = FeatureObject("fill", Box(49, 39, 51, 41, 90.0, top), result, cut);
    ASSERT_EQ(Link(cut, APISolid_SubtractUpwards), NoError);
    ASSERT_EQ(Link(fill, APISolid_Add), NoError);
    CalculationCls cls;
    ASSERT_EQ(cls.Run(Get(terrain.header.guid)), 0);
    ASSERT_EQ(cls.volumes.GetCount(), 1);
    EXPECT_NEAR(cls.volumes[0].firstDifference, -4.0 * (Plane(50, 40) - u), 1e-9);
    EXPECT_NEAR(cls.volumes[0].secondDifference, 4.0 * (top - u), 1e-9);
}

TEST_F(VolumeCalculationTest, NoLinksGiveNoVolumesAndAFailedMeasurementIsAnError) {
    CalculationCls cls;
    EXPECT_EQ(cls.Run(Get(terrain.header.guid)), 0);
    EXPECT_EQ(cls.volumes.GetCount(), 0);

    API_Guid result = {};
    result.time_low = 7;
    const API_Guid cut = FeatureObject("cut", Box(40, 30, 60, 50, 101.0, 110.0), result, {});
    ASSERT_EQ(Link(cut, APISolid_SubtractUpwards), NoError);
    ASSERT_TRUE(host->FailCall("Element_GetQuantities", -1, APIERR_GENERAL));
    EXPECT_EQ(cls.Run(Get(terrain.header.guid)), 41);
    EXPECT_EQ(cls.volumes.GetCount(), 0);
}

TEST_F(VolumeCalculationTest, ALinkListTheHostRefusesIsNoEmptyOneAndAFailedStepChangesNothing) {
    API_Guid result = {};
    result.time_low = 9;
    const API_Guid cut = FeatureObject("cut", Box(40, 30, 60, 50, 101.0, 110.0), result, {});
    ASSERT_EQ(Link(cut, APISolid_SubtractUpwards), NoError);
    const auto project = [&] {
        nlohmann::ordered_json p = Db().ToJson();
        p.erase("rebuilds");
        return p;
    };
    // The host answers a list it could not make with the code that also says "no links": not taken for none. A
    // feature whose ID text the host cannot tell is not recorded under an empty one.
    const std::pair<const char*, int32_t> failures[] = {{"SolidLink_GetOperators", -1},
                                                        {"SolidLink_Create", -1},
                                                        {"SolidLink_GetTime", -1},
                                                        {"Element_Create", -1},
                                                        {"Database", int32_t(API_Selector("GEIS"))}};
    for (const auto& [f, key] : failures)
        ExpectRefusalTakenBack(
            f, key, 0, 41,
            [&] {
                CalculationCls cls;
                const int32_t code = cls.Run(Get(terrain.header.guid));
                EXPECT_EQ(cls.volumes.GetCount(), 0);
                return code;
            },
            project);
    CalculationCls cls;
    EXPECT_EQ(cls.Run(Get(terrain.header.guid)), 0);
    EXPECT_EQ(cls.volumes.GetCount(), 1);
}

int heardFailures = 0;
void HeardFailure(const char*, int64_t) { ++heardFailures; }

// Any one read of the calculation refused, whichever it is: the calculation answers its error, records nothing
// and leaves the project as it was; never a result whose rows are paired or signed by guess, never a silent zero.
TEST_F(VolumeCalculationTest, EveryRefusedReadEndsTheCalculationWithNothingWritten) {
    API_Guid result = {};
    result.time_low = 11;
    const API_Guid cut = FeatureObject("cut", Box(40, 30, 60, 50, 101.0, 110.0), result, {});
    const API_Guid fill = FeatureObject("fill", Box(80, 50, 100, 70, 104.0, 109.0), result, cut);
    // The fill linked first: the pairing, not the link order, decides which difference is the cut.
    ASSERT_EQ(Link(fill, APISolid_Add), NoError);
    ASSERT_EQ(Link(cut, APISolid_SubtractUpwards), NoError);
    CalculationCls clean;
    ASSERT_EQ(clean.Run(Get(terrain.header.guid)), 0);
    ASSERT_EQ(clean.volumes.GetCount(), 1);
    EXPECT_NEAR(clean.volumes[0].firstDifference, -400.0 * (Plane(50, 40) - 101.0), 1e-6);
    EXPECT_NEAR(clean.volumes[0].secondDifference, 400.0 * (109.0 - Plane(90, 60)), 1e-6);

    const auto project = [&] {
        nlohmann::ordered_json p = Db().ToJson();
        p.erase("rebuilds");
        return p;
    };
    host->HearInjectedFailures(HeardFailure);
    for (const char* f : {"Element_GetMemo", "Element_GetQuantities", "Element_Get", "Element_GetUserData"}) {
        int refused = 0;
        for (int32_t passes = 0; passes < 200; ++passes) {
            SCOPED_TRACE(std::string(f) + " refused after " + std::to_string(passes) + " calls");
            const nlohmann::ordered_json before = project();
            const API_Element mesh = Get(terrain.header.guid);
            heardFailures = 0;
            ASSERT_TRUE(host->FailCallAfter(f, -1, APIERR_GENERAL, passes, 1));
            CalculationCls cls;
            const int32_t code = cls.Run(mesh);
            host->ClearFailures();
            if (heardFailures == 0) {  // past the calculation's last call of it: the clean result
                ASSERT_EQ(code, 0);
                ASSERT_EQ(cls.volumes.GetCount(), 1);
                EXPECT_EQ(cls.volumes[0].firstDifference, clean.volumes[0].firstDifference);
                EXPECT_EQ(cls.volumes[0].secondDifference, clean.volumes[0].secondDifference);
                break;
            }
            ++refused;
            EXPECT_EQ(code, 41);
            EXPECT_EQ(cls.volumes.GetCount(), 0);
            EXPECT_TRUE(project() == before);
        }
        EXPECT_GT(refused, 0) << f;
    }
    host->HearInjectedFailures(nullptr);
}

}  // namespace volume_calculation_test
