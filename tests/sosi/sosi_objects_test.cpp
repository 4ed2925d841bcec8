// The "SOSI OBJECT" objects of a mode-1 import: the outline as "XYZ" (offset off, contours ended by -1), the
// closed outline checked by the host's regularisation, the settings edited in the object tool's dialog and kept.
#include "LibraryHost.hpp"

#include "DGDriver.hpp"
#include "elements/ToolDefaults.hpp"
#include "foundation/Language.hpp"
#include "settings/ProjectOffset.hpp"
#include "settings/Settings.hpp"
#include "sosi/SOSIFileCls.hpp"
#include "sosi/SOSIObjectPlacement.hpp"
#include "sosi/SOSIObjectSettings.hpp"
#include "sosi/SOSIOutput.hpp"
#include "sosi/SOSIOutputSteps.hpp"

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace sosi_objects_test {

constexpr double S = SOSISeparatorValue;

struct Placed {
    std::vector<QV_Coord3DLong> xyz;
    std::vector<int32_t> codes;
    double sbagliato, used, pen, fillPen;
    std::string type, style;
};

class SosiObjectsTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        ProjectOffset.Reset();
        ProjectOffset.x = 1000.0;
        ProjectOffset.y = 5000.0;
        SOSIObjectSettingsRecord().Init();
        part = host->Project().libraries.FindByName("SOSI OBJECT", 0);
        ASSERT_GT(part, 0);
        reader.output.objectLibPartIndex = part;
        SOSIBuildState& build = SOSIOutputState();
        build.pen = 7;
        build.object = API_Element();
        build.object.header.typeID = API_ObjectID;  // as the builder prepares it
        ASSERT_EQ(ACAPI_Element_GetDefaults(&build.object, nullptr), NoError);
        build.object.object.libInd = part;
    }
    void TearDown() override {
        DGDriver::Reset();
        ProjectOffset.Reset();
        LibraryHostTest::TearDown();
    }
    // Coordinates given relative to the offset.
    bool Place(const std::vector<API_Coord3D>& local, const char* type = "Bygning") {
        QV_List<API_Coord3D> coords;
        for (const API_Coord3D& c : local)
            coords.Insert(IsSOSISeparator(c) ? c : API_Coord3D{c.x + ProjectOffset.x, c.y + ProjectOffset.y, c.z});
        return Command([&] {
                   return PlaceSOSIObject(coords, QV_String(type), SOSIOutputState().object, SOSIOutputState().pen) ==
                           SOSIPlacement::Placed
                       ? NoError
                       : GSErrCode(-1);
               }) == NoError;
    }
    std::vector<Placed> Objects() {
        std::vector<Placed> out;
        for (const API_Guid& g : Db().AllElements()) {
            API_ElementMemo memo = {};
            EXPECT_EQ(ACAPI_Element_GetMemo(g, &memo, APIMemoMask_AddPars), NoError);
            BaseLP view;
            view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
            Placed p;
            QV_List<double> c;
            int32_t rows = 0, columns = 0;
            EXPECT_TRUE(view.GetSetDoubleArrayByName(QV_String("XYZ"), c, rows, columns, LPMode_Get));
            for (int32_t r = 0; r < rows && columns == 4; ++r) {
                p.xyz.push_back({c[4 * r], c[4 * r + 1], c[4 * r + 2], int32_t(c[4 * r + 3])});
                p.codes.push_back(int32_t(c[4 * r + 3]));
            }
            p.sbagliato = view.GetParamDouble(QV_String("sbagliato"));
            p.used = view.GetParamDouble(QV_String("used_by_Lodrava"));
            p.pen = view.GetParamDouble(QV_String("gs_cont_pen"));
            p.fillPen = view.GetParamDouble(QV_String("gs_fill_pen"));
            QV_String t;
            p.type = view.GetStringParam(t, QV_String("OBJECTTYPE")).ToStdString();
            p.style = view.GetStringParam(t, QV_String("stile")).ToStdString();
            view.Detach();
            ACAPI_DisposeElemMemoHdls(&memo);
            out.push_back(p);
        }
        return out;
    }
    void Answer(bool ok, const std::string& libPart = "", const std::string& values = "") {
        SettingsDialogAnswer a;
        a.ok = ok;
        a.libPart = libPart;
        std::string why;
        ASSERT_TRUE(SettingsDialogAnswers::ParseValues(values, &a.values, &why)) << why;
        host->Project().settingsDialogs.Queue(SettingsDialogAnswers::ToolSettings, a);
    }
    std::vector<std::string> Alerts() const {
        std::vector<std::string> out;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "alert" && !r.texts.empty()) out.push_back(r.texts[0]);
        return out;
    }
    size_t DialogsShown() const { return host->Project().settingsDialogs.ShownDialogs().size(); }

    SOSIFileCls reader;
    int32_t part = 0;
};

TEST_F(SosiObjectsTest, OutlinesBecomeXYZRowsClosedOnesChecked) {
    ASSERT_TRUE(EditSOSIObjectSettings(reader.output.objectLibPartIndex));
    ASSERT_TRUE(Place({{0, 0, 5}, {10, 0, 5}, {10, 10, 5}, {0, 10, 5}, {0, 0, 5}}, "Takkant"));  // sound square
    ASSERT_TRUE(Place({{0, 0, 1}, {10, 10, 1}, {10, 0, 1}, {0, 10, 1}, {0, 0, 1}}));  // bow-tie: split in two
    ASSERT_TRUE(Place({{0, 0, 1}, {10, 10, 1}, {10, 0, 1}, {0, 10, 1}, {0, 0, 3}}));  // closed in plan only
    ASSERT_TRUE(Place({{0, 0, 1}, {4, 0, 1}, {S, S, S}, {6, 0, 2}, {9, 0, 2}}));      // two pieces
    ASSERT_TRUE(Place({{S, S, S}, {0, 0, 1}, {4, 4, 1}}));                            // nothing before it
    EXPECT_FALSE(Place({{S, S, S}, {S, S, S}}));
    EXPECT_FALSE(Place({{0, 0, 0}, {5, 0, 0}, {0, 0, 0}}));  // closed around no area
    const std::vector<Placed> p = Objects();
    ASSERT_EQ(p.size(), 5u);
    EXPECT_EQ(p[0].codes, (std::vector<int32_t>{0, 0, 0, 0, -1}));
    EXPECT_EQ(p[0].xyz[2].x, 10.0);
    EXPECT_EQ(p[0].xyz[2].y, 10.0);
    EXPECT_EQ(p[0].xyz[2].z, 5.0);
    EXPECT_EQ(p[0].type, "Takkant");
    EXPECT_EQ(p[0].pen, 7.0);
    EXPECT_EQ(p[0].used, 1.0);
    EXPECT_EQ(p[0].sbagliato, 0.0);
    EXPECT_EQ(p[1].codes, (std::vector<int32_t>{0, 0, 0, 0, -1}));
    EXPECT_EQ(p[1].sbagliato, 1.0);
    EXPECT_EQ(p[2].codes, (std::vector<int32_t>(6, 0)));  // the first vertex again, unchecked
    EXPECT_EQ(p[2].xyz[5].z, 1.0);
    EXPECT_EQ(p[2].sbagliato, 0.0);
    EXPECT_EQ(p[3].codes, (std::vector<int32_t>{0, -1, 0, 0}));
    EXPECT_EQ(p[3].xyz[2].x, 6.0);
    EXPECT_EQ(p[4].codes, (std::vector<int32_t>{0, 0}));
}

TEST_F(SosiObjectsTest, CheckKeepsHolesAndFlagsWhatRegularisationChanges) {
    auto ring = [](QV_List<QV_Coord3DLong>& out, int n, double r, double phase, bool clockwise) {
        for (int i = 0; i <= n; ++i) {
            const double a = phase + (clockwise ? -2 : 2) * M_PI * (i % n) / n;
            out.Insert(QV_Coord3DLong{100 + r * std::cos(a), 50 + r * std::sin(a), 0, i == n ? -1 : 0});
        }
    };
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> phase(0, 2 * M_PI);
    for (int n = 4; n < 40; ++n) {
        bool invalid = true;
        QV_List<QV_Coord3DLong> simple, holed, crossed;
        ring(simple, n, 20, phase(rng), n % 2 == 0);
        EXPECT_TRUE(ValidateSOSIOutline(simple, invalid));
        EXPECT_FALSE(invalid) << n;
        holed = simple;
        ring(holed, n, 5, phase(rng), n % 2 != 0);
        EXPECT_TRUE(ValidateSOSIOutline(holed, invalid));
        EXPECT_FALSE(invalid) << n;
        crossed = simple;
        std::swap(crossed[1], crossed[2]);
        EXPECT_TRUE(ValidateSOSIOutline(crossed, invalid));
        EXPECT_TRUE(invalid) << n;
    }
}

TEST_F(SosiObjectsTest, SettingsAreEditedOnTheRightPartAndKeptForTheNextRun) {
    Answer(true, "PART_A");
    Answer(true, "", "stile=POLYGON; gs_fill_pen=12; gs_shadow=1; show_2D=0.5; top_material=20.9");
    ASSERT_TRUE(EditSOSIObjectSettings(reader.output.objectLibPartIndex));
    EXPECT_EQ(Alerts(), (std::vector<std::string>{"The selected object isn't the needed one!"}));
    const SOSIObjectSettings& s = SOSIObjectSettingsRecord();
    EXPECT_EQ(s.style.ToStdString(), "POLYGON");
    EXPECT_EQ(s.fillPen, 12);
    EXPECT_EQ(s.shadow, 1);
    EXPECT_EQ(s.show2D, 0);  // on only at exactly 1
    EXPECT_EQ(s.topMaterial, 20);
    EXPECT_EQ(s.backPen, 19);

    DGDriver::Reset();
    ASSERT_TRUE(EditSOSIObjectSettings(reader.output.objectLibPartIndex));  // the next run opens on them
    ASSERT_TRUE(Place({{0, 0, 0}, {1, 1, 0}}));
    ASSERT_EQ(Objects().size(), 1u);
    EXPECT_EQ(Objects()[0].style, "POLYGON");
    EXPECT_EQ(Objects()[0].fillPen, 12.0);

    Answer(false);
    EXPECT_FALSE(EditSOSIObjectSettings(reader.output.objectLibPartIndex));
    EXPECT_TRUE(Alerts().empty());
    EXPECT_EQ(DialogsShown(), 4u);
    reader.output.objectLibPartIndex = libB;  // lacks the settings' parameters
    EXPECT_FALSE(EditSOSIObjectSettings(reader.output.objectLibPartIndex));
    EXPECT_EQ(Alerts(), (std::vector<std::string>{"Error while finding data."}));
    EXPECT_EQ(DialogsShown(), 4u);
    EXPECT_EQ(s.fillPen, 12);

    // The object tool left on a part without "XYZ": nothing placed, nothing left behind.
    Answer(true, "PART_A");
    int32_t chosen = libA;
    GSHandle params = nullptr;
    ASSERT_EQ(ChangeLibPartParams(chosen, &params, API_ObjectID, 0, false), NoError);
    ReleaseParamRecords(&params);
    EXPECT_FALSE(Place({{0, 0, 0}, {1, 1, 0}}));
    EXPECT_EQ(Db().AllElements().size(), 1u);
}

TEST_F(SosiObjectsTest, AnObjectsImportOfARealFilePlacesOneObjectPerCurve) {
    SOSIFileData file;
    file.path = QV_String((TestSupport::DataDir() + "/sosi/buer.sos").c_str(), Encoding_UTF8);
    reader.scan.files.Insert(file);
    reader.importMode = SOSIModeObjects;
    ASSERT_TRUE(reader.ReadSOSIFiles(GlobalSettings.misc));
    for (SOSIOType& row : reader.scan.types) row.import = 1;
    reader.ImportObjects();
    ASSERT_TRUE(EditSOSIObjectSettings(reader.output.objectLibPartIndex));
    uint8_t made = 0;
    ASSERT_TRUE(BuildSOSIOutput(reader, GlobalSettings.misc, &made));
    EXPECT_EQ(made, 1);
    EXPECT_EQ(reader.output.buildError, 0);
    const std::vector<Placed> p = Objects();
    ASSERT_EQ(p.size(), size_t(reader.assembly.data.GetCount()));
    for (size_t k = 0; k < p.size(); ++k) {
        const SOSIData& d = reader.assembly.data[int32_t(k)];
        EXPECT_EQ(p[k].type, d.type.ToStdString());
        ASSERT_GE(p[k].xyz.size(), 2u);
        // An arc may run from either end.
        const QV_Coord3DLong& a = p[k].xyz[0];
        const QV_Coord3DLong& b = p[k].xyz.back();
        const API_Coord3D& c = d.coords[0];
        auto at = [&](const QV_Coord3DLong& v) {
            return std::hypot(v.x + ProjectOffset.x - c.x, v.y + ProjectOffset.y - c.y) < 1e-6;
        };
        EXPECT_TRUE(at(a) || (d.geometryKind == SOSIKindArcByPoints && at(b))) << k << " kind " << d.geometryKind;
    }
}

}  // namespace sosi_objects_test
