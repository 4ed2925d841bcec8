// The "SOSI OBJECT" objects of a mode-1 import: the outline written as "XYZ" (offset taken off, contours ended
// by -1), the closed outline checked by the host's regularisation, and the settings edited in the object tool's
// dialog and remembered for the next run.
#include "LibraryHost.hpp"

#include "DGDriver.hpp"
#include "elements/ToolDefaults.hpp"
#include "foundation/Language.hpp"
#include "settings/ProjectOffset.hpp"
#include "sosi/SOSIFileCls.hpp"
#include "sosi/SOSIObjectPlacement.hpp"
#include "sosi/SOSIObjectSettings.hpp"

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

struct Placed {
    std::vector<QV_Coord3DLong> xyz;
    double sbagliato = -1, used = -1, pen = -1, fillPen = -1;
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
        reader.importMode = SOSIModeObjects;
        reader.objectLibPartIndex = part;
        reader.currentPen = 7;
        // The object record as the builder prepares it.
        reader.element.header.typeID = API_ObjectID;
        ASSERT_EQ(ACAPI_Element_GetDefaults(&reader.element, nullptr), NoError);
        reader.element.object.libInd = part;
        reader.element.object.xRatio = reader.element.object.yRatio = 1.0;
    }
    void TearDown() override {
        DGDriver::Reset();
        ProjectOffset.Reset();
        LibraryHostTest::TearDown();
    }
    // Real-world coordinates: the offset is added here so that the placed outline reads back as given.
    bool Place(const std::vector<API_Coord3D>& local, const char* type = "Bygning") {
        QV_List<API_Coord3D> coords;
        for (const API_Coord3D& c : local)
            coords.Insert(IsSOSISeparator(c) ? c : API_Coord3D{c.x + ProjectOffset.x, c.y + ProjectOffset.y, c.z});
        return Command([&] { return PlaceSOSIObject(reader, coords, QV_String(type)) ? NoError : GSErrCode(-1); }) ==
            NoError;
    }
    std::vector<Placed> Objects() {
        std::vector<Placed> out;
        for (const API_Guid& g : Db().AllElements()) {
            const API_Element e = Get(g);
            if (e.header.typeID != API_ObjectID || e.object.libInd != part) continue;
            API_ElementMemo memo = {};
            EXPECT_EQ(ACAPI_Element_GetMemo(g, &memo, APIMemoMask_AddPars), NoError);
            BaseLP view;
            view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
            Placed p;
            QV_List<double> cells;
            int32_t rows = 0, columns = 0;
            EXPECT_TRUE(view.GetSetDoubleArrayByName(QV_String("XYZ"), cells, rows, columns, LPMode_Get));
            EXPECT_EQ(columns, 4);
            for (int32_t r = 0; r < rows; ++r)
                p.xyz.push_back({cells[4 * r], cells[4 * r + 1], cells[4 * r + 2], int32_t(cells[4 * r + 3])});
            p.sbagliato = view.GetParamDouble(QV_String("sbagliato"));
            p.used = view.GetParamDouble(QV_String("used_by_Lodrava"));
            p.pen = view.GetParamDouble(QV_String("gs_cont_pen"));
            p.fillPen = view.GetParamDouble(QV_String("gs_fill_pen"));
            QV_String text;
            p.type = view.GetStringParam(text, QV_String("OBJECTTYPE")).ToStdString();
            p.style = view.GetStringParam(text, QV_String("stile")).ToStdString();
            view.Detach();
            ACAPI_DisposeElemMemoHdls(&memo);
            out.push_back(p);
        }
        return out;
    }
    std::vector<int32_t> Codes(const Placed& p) {
        std::vector<int32_t> codes;
        for (const QV_Coord3DLong& v : p.xyz) codes.push_back(v.code);
        return codes;
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

    static constexpr double S = SOSISeparatorValue;
    SOSIFileCls reader;
    int32_t part = 0;
};

TEST_F(SosiObjectsTest, ClosedOutlinesAreCheckedOthersClosedInPlanOnly) {
    ASSERT_TRUE(reader.EditObjectSettings());
    // A closed square: last vertex ends the contour, the outline is sound.
    ASSERT_TRUE(Place({{0, 0, 5}, {10, 0, 5}, {10, 10, 5}, {0, 10, 5}, {0, 0, 5}}, "Takkant"));
    // A closed bow-tie: two triangles after regularisation, flagged but still placed.
    ASSERT_TRUE(Place({{0, 0, 1}, {10, 10, 1}, {10, 0, 1}, {0, 10, 1}, {0, 0, 1}}));
    // The same bow-tie closing in plan only: a closing vertex is added and nothing is checked.
    ASSERT_TRUE(Place({{0, 0, 1}, {10, 10, 1}, {10, 0, 1}, {0, 10, 1}, {0, 0, 3}}));
    // An open line stays as it is.
    ASSERT_TRUE(Place({{0, 0, 1}, {5, 1, 2}, {9, 3, 3}}));
    const std::vector<Placed> placed = Objects();
    ASSERT_EQ(placed.size(), 4u);

    EXPECT_EQ(Codes(placed[0]), (std::vector<int32_t>{0, 0, 0, 0, -1}));
    EXPECT_EQ(placed[0].xyz[2].x, 10.0);  // the project offset taken off
    EXPECT_EQ(placed[0].xyz[2].y, 10.0);
    EXPECT_EQ(placed[0].xyz[2].z, 5.0);
    EXPECT_EQ(placed[0].sbagliato, 0.0);
    EXPECT_EQ(placed[0].type, "Takkant");
    EXPECT_EQ(placed[0].pen, 7.0);
    EXPECT_EQ(placed[0].used, 1.0);

    EXPECT_EQ(Codes(placed[1]), (std::vector<int32_t>{0, 0, 0, 0, -1}));
    EXPECT_EQ(placed[1].sbagliato, 1.0);

    ASSERT_EQ(placed[2].xyz.size(), 6u);
    EXPECT_EQ(Codes(placed[2]), (std::vector<int32_t>(6, 0)));
    EXPECT_EQ(placed[2].xyz[5].z, 1.0);  // a copy of the first vertex
    EXPECT_EQ(placed[2].sbagliato, 0.0);

    EXPECT_EQ(Codes(placed[3]), (std::vector<int32_t>(3, 0)));
}

TEST_F(SosiObjectsTest, SeparatorsEndContoursAndNeverBecomeVertices) {
    ASSERT_TRUE(reader.EditObjectSettings());
    ASSERT_TRUE(Place({{0, 0, 1}, {4, 0, 1}, {S, S, S}, {6, 0, 2}, {9, 0, 2}}));
    ASSERT_TRUE(Place({{S, S, S}, {0, 0, 1}, {4, 4, 1}}));  // a leading separator ends nothing
    EXPECT_FALSE(Place({{S, S, S}, {S, S, S}}));
    EXPECT_FALSE(Place({}));
    const std::vector<Placed> placed = Objects();
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(Codes(placed[0]), (std::vector<int32_t>{0, -1, 0, 0}));
    EXPECT_EQ(placed[0].xyz[2].x, 6.0);
    EXPECT_EQ(Codes(placed[1]), (std::vector<int32_t>{0, 0}));
}

TEST_F(SosiObjectsTest, OutlineCheckKeepsHolesAndFlagsWhatRegularisationChanges) {
    auto ring = [](QV_List<QV_Coord3DLong>& out, int n, double r, double phase, bool clockwise) {
        for (int i = 0; i <= n; ++i) {
            const double a = phase + (clockwise ? -1 : 1) * 2 * M_PI * (i % n) / n;
            out.Insert(QV_Coord3DLong{100 + r * std::cos(a), 50 + r * std::sin(a), 0, i == n ? -1 : 0});
        }
    };
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> phase(0, 2 * M_PI);
    for (int n = 3; n < 40; ++n) {
        const bool clockwise = n % 2 == 0;
        bool invalid = true;
        QV_List<QV_Coord3DLong> simple;
        ring(simple, n, 20, phase(rng), clockwise);
        EXPECT_TRUE(ValidateSOSIOutline(reader, simple, invalid));
        EXPECT_FALSE(invalid) << n;

        QV_List<QV_Coord3DLong> holed = simple;
        ring(holed, n, 5, phase(rng), !clockwise);
        EXPECT_TRUE(ValidateSOSIOutline(reader, holed, invalid));
        EXPECT_FALSE(invalid) << "hole kept, " << n;

        QV_List<QV_Coord3DLong> outside = simple;  // a "hole" beside the area is dropped
        for (QV_Coord3DLong v : std::vector<QV_Coord3DLong>{{200, 0, 0, 0}, {210, 0, 0, 0}, {210, 10, 0, -1}})
            outside.Insert(v);
        EXPECT_TRUE(ValidateSOSIOutline(reader, outside, invalid));
        EXPECT_TRUE(invalid) << n;

        if (n < 5) continue;
        QV_List<QV_Coord3DLong> crossed = simple;  // two neighbours swapped: the outline crosses itself
        std::swap(crossed[1], crossed[2]);
        EXPECT_TRUE(ValidateSOSIOutline(reader, crossed, invalid));
        EXPECT_TRUE(invalid) << n;
    }
    bool invalid = false;
    QV_List<QV_Coord3DLong> line;
    for (QV_Coord3DLong v : std::vector<QV_Coord3DLong>{{0, 0, 0, 0}, {5, 0, 0, 0}, {0, 0, 0, -1}}) line.Insert(v);
    EXPECT_FALSE(ValidateSOSIOutline(reader, line, invalid));  // encloses nothing at all
    ASSERT_TRUE(reader.EditObjectSettings());
    EXPECT_FALSE(Place({{0, 0, 0}, {5, 0, 0}, {0, 0, 0}}));
    EXPECT_TRUE(Objects().empty());
}

TEST_F(SosiObjectsTest, SettingsAreEditedOnTheObjectAndRememberedForTheNextRun) {
    Answer(true, "", "stile=POLYGON; gs_fill_pen=12; gs_shadow=1; show_2D=0.5; top_material=20.9");
    ASSERT_TRUE(reader.EditObjectSettings());
    SOSIObjectSettings& s = SOSIObjectSettingsRecord();
    EXPECT_EQ(s.style.ToStdString(), "POLYGON");
    EXPECT_EQ(s.fillPen, 12);
    EXPECT_EQ(s.shadow, 1);
    EXPECT_EQ(s.show2D, 0);  // a boolean is on only at exactly 1
    EXPECT_EQ(s.topMaterial, 20);
    EXPECT_EQ(s.backPen, 19);
    EXPECT_EQ(s.detailLevel3D.ToStdString(), "Wireframe 3D model");

    // The next run opens on what this one chose; the objects take it from the tool's defaults.
    ASSERT_TRUE(reader.EditObjectSettings());
    EXPECT_EQ(s.style.ToStdString(), "POLYGON");
    EXPECT_EQ(s.fillPen, 12);
    ASSERT_TRUE(Place({{0, 0, 0}, {1, 1, 0}}));
    const std::vector<Placed> placed = Objects();
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].style, "POLYGON");
    EXPECT_EQ(placed[0].fillPen, 12.0);
    EXPECT_EQ(DialogsShown(), 2u);
    EXPECT_TRUE(Alerts().empty());
}

TEST_F(SosiObjectsTest, AnotherPartIsRefusedCancelEndsAndAMissingParameterIsAnError) {
    Answer(true, "PART_A");
    Answer(true, "", "dato=2026");
    ASSERT_TRUE(reader.EditObjectSettings());
    EXPECT_EQ(DialogsShown(), 2u);
    EXPECT_EQ(Alerts(), (std::vector<std::string>{"The selected object isn't the needed one!"}));
    EXPECT_EQ(SOSIObjectSettingsRecord().date.ToStdString(), "2026");

    DGDriver::Reset();
    Answer(false);
    EXPECT_FALSE(reader.EditObjectSettings());
    EXPECT_TRUE(Alerts().empty());
    EXPECT_EQ(SOSIObjectSettingsRecord().date.ToStdString(), "2026");

    reader.objectLibPartIndex = libB;  // a part without the settings' parameters
    EXPECT_FALSE(reader.EditObjectSettings());
    EXPECT_EQ(Alerts(), (std::vector<std::string>{"Error while finding data."}));
    EXPECT_EQ(DialogsShown(), 3u);

    // Object defaults of a part without "XYZ": nothing placed, nothing left behind.
    SettingsDialogAnswer a;
    a.libPart = "PART_A";
    host->Project().settingsDialogs.Queue(SettingsDialogAnswers::ToolSettings, a);
    int32_t chosen = libA;
    GSHandle params = nullptr;
    ASSERT_EQ(ChangeLibPartParams(chosen, &params, API_ObjectID, 0, false), NoError);
    ReleaseParamRecords(&params);
    EXPECT_FALSE(Place({{0, 0, 0}, {1, 1, 0}}));
    EXPECT_TRUE(Db().AllElements().empty());
}

}  // namespace
