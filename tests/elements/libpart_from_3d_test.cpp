// The library part generated from the 3D view, end to end on the stand-in host: the host saves the view as
// "tmpCL", the module rewrites its scripts and copies it into the element's own part, which the element class
// places; a view that cannot be saved changes nothing.
#include "ProjectHost.hpp"

#include "elements/LibPartFrom3D.hpp"
#include "foundation/LibPart.hpp"

#include "DGUnitDriver.hpp"
#include "library/LibraryStore.hpp"

#include <fstream>
#include <sstream>

namespace libpart_from_3d_test {

// An element class that places an object of its generated part at its bounds' corner.
class GeneratedPartElement : public BaseCls {
public:
    bool CreateObject(const QV_String& partName, int16_t, uint16_t, void*, API_Element*) override {
        ++created;
        placedName = partName.ToStdString();
        const int32_t index = SearchLibPartByName(partName, APILib_ObjectID);
        if (index < 0) return false;
        object.header.typeID = API_ObjectID;
        if (ACAPI_Element_GetDefaults(&object, nullptr) != NoError) return false;
        object.object.libInd = index;
        object.object.pos = {bounds.xMin, bounds.yMin};
        return ACAPI_Element_Create(&object, nullptr) == NoError;
    }
    bool TransferSettings(bool transfer, bool haveSource) override {
        transferred = transfer;
        hadSource = haveSource;
        return true;
    }
    int created = 0;
    std::string placedName;
    bool transferred = false;
    bool hadSource = false;
};

class LibPartFrom3DTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        // A terrain far from the origin: its -yMin text has 15 characters.
        ASSERT_EQ(
            Db().PlacePolygonElement(
                API_MeshID,
                {{10, 1234567890.125, 1}, {60, 1234567890.125, 2}, {60, 1234567930.125, 3}, {10, 1234567930.125, 4}},
                true, 1, "terrain", &mesh),
            NoError);
        cls.element = Db().Find(mesh)->record;
        ASSERT_EQ(Db().CalcBounds(mesh, &cls.bounds), NoError);
        cls.descriptor.TerrainId = QV_String("0A1B2C3D-0000-1111-2222-333344445555_007");
        // The user works in centimetres with a decimal comma; scripts still get metres with a point.
        DGUnitData unit = {};
        unit.lengthUnit = DG_UNIT_CENTIMETER;
        unit.decimalDelimiter = u',';
        DGUnitDriver::SetUnit(unit);
    }
    void TearDown() override {
        DGUnitDriver::Reset();
        ProjectHostTest::TearDown();
    }
    LibraryStore& Store() { return host->Project().libraries; }
    View3DState& View() { return host->Project().view3D; }
    std::u16string Script(int32_t lib, uint32_t type) { return Store().Part(lib)->Section(type, 0)->text; }
    std::string FileText(int32_t lib) {
        std::ifstream in(Store().Part(lib)->filePath, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    int32_t ObjectDefaultLibInd() {
        API_Element e = {};
        e.header.typeID = API_ObjectID;
        EXPECT_EQ(Db().GetDefaults(&e, nullptr), NoError);
        return e.object.libInd;
    }
    // After every run, successful or not: the perspective view is back, showing everything, behind the floor
    // plan, and nothing is selected.
    void ExpectViewRestored() {
        EXPECT_EQ(View().projection.isPersp, 1);
        EXPECT_EQ(View().projection.azimuth, 225.0);
        EXPECT_FALSE(View().showsSelection);
        EXPECT_EQ(Db().FrontWindowType(), APIWind_FloorPlanID);
        EXPECT_TRUE(Db().Selection().empty());
    }

    API_Guid mesh = {};
    GeneratedPartElement cls;
};

const char* const kPartName = "CL00000A1B2C3D-0000-1111-2222-333344445555007";

TEST_F(LibPartFrom3DTest, TheViewBecomesTheElementsOwnPartWhichIsPlaced) {
    ASSERT_EQ(std::string(kPartName).size(), 45u);
    const int32_t toolPart = ObjectDefaultLibInd();
    int listType = 0;
    EXPECT_EQ(cls.CreateLibPartObject(1, 0, 0, &listType, nullptr), 1);

    const int32_t part = Store().FindByName(kPartName, APILib_ObjectID);
    ASSERT_GT(part, 0);
    EXPECT_EQ(Store().Part(part)->filePath.rfind(UserFile("lib/"), 0), 0u);
    EXPECT_EQ(Script(part, API_Sect2DScript), u"PROJECT2 3, 270, 2\r\n");
    // The host listed the terrain; the module put the part at its origin, scaled by A and B.
    const std::u16string expected =
        GS::UniString(std::string("! ") + kPartName +
                      ".gsm\r\n! The 3D view saved as an object: 1 element(s), parallel view "
                      "from 270.000 degrees\r\nMULX A/50.000\r\nMULY B/40.000\r\nMULZ "
                      "1\r\nADDX -10.000\r\nADDY -1234567890.125\r\n")
            .ToU16String();
    const std::u16string script = Script(part, API_Sect3DScript);
    EXPECT_EQ(script.substr(0, expected.size()), expected);
    EXPECT_NE(script.find(u"mesh {" + GS::UniString(GuidText(mesh)).ToU16String() + u"}"), std::u16string::npos);
    EXPECT_EQ(script.find(u"ADDZ"), std::u16string::npos);
    double a = 0.0, b = 0.0;
    GetSizeParams(Store().Part(part)->params, &a, &b);
    EXPECT_EQ(a, 50.0);
    EXPECT_EQ(b, 40.0);

    EXPECT_EQ(cls.created, 1);
    EXPECT_EQ(cls.placedName, kPartName);
    EXPECT_TRUE(cls.transferred);
    EXPECT_TRUE(cls.hadSource);
    EXPECT_EQ(Db().Find(cls.object.header.guid)->record.Get().object.libInd, part);
    // Saved in the parallel projection, then the user's came back.
    ASSERT_EQ(View().projectionSets.size(), 2u);
    EXPECT_EQ(View().projectionSets[0].isPersp, 0);
    EXPECT_EQ(View().projectionSets[0].azimuth, 270.0);
    EXPECT_EQ(View().projectionSets[0].sunAzimuth, 240.0);
    EXPECT_EQ(View().projectionSets[0].sunAltitude, 35.0);
    EXPECT_EQ(View().saves, std::vector<std::string>{UserFile("lib/tmpCL.gsm")});
    ExpectViewRestored();
    EXPECT_EQ(ObjectDefaultLibInd(), toolPart);
}

TEST_F(LibPartFrom3DTest, AFailedSaveLeavesTheEarlierPartsAsTheyWere) {
    ASSERT_EQ(cls.CreateLibPartObject(0, 0, 0, nullptr, nullptr), 1);
    const int32_t temp = Store().FindByName("tmpCL", APILib_ObjectID);
    ASSERT_GT(temp, 0);
    const std::string tempFile = FileText(temp);
    const int32_t parts = Store().PartCount();
    const size_t undoSteps = Db().UndoTexts().size();

    cls.descriptor.TerrainId = QV_String("FFFFFFFF-0000-1111-2222-333344445555_008");
    ASSERT_TRUE(host->FailCall("Automate", int32_t(API_Selector("SAVE")), APIERR_GENERAL));
    EXPECT_EQ(cls.CreateLibPartObject(0, 0, 0, nullptr, nullptr), 0);
    EXPECT_EQ(cls.created, 1);
    EXPECT_EQ(Store().PartCount(), parts);
    EXPECT_EQ(Store().FindByName("CL0000FFFFFFFF-0000-1111-2222-333344445555008", 0), -1);
    EXPECT_EQ(FileText(temp), tempFile);
    EXPECT_EQ(Db().UndoTexts().size(), undoSteps);
    ExpectViewRestored();
}

TEST_F(LibPartFrom3DTest, WithoutALibraryToSaveIntoNothingIsSaved) {
    for (int32_t index : {-1, 5}) {
        View().saveLibrary = index;
        EXPECT_EQ(cls.CreateLibPartObject(0, 0, 0, nullptr, nullptr), 0);
    }
    EXPECT_TRUE(View().saves.empty());
    EXPECT_EQ(Store().FindByName("tmpCL", 0), -1);
    EXPECT_EQ(cls.created, 0);
    EXPECT_TRUE(Db().Selection().empty());
}

TEST(GeneratedPartName, FortyFiveCharactersStartingWithCLAndEndingWithTheBase) {
    EXPECT_EQ(GeneratedPartName(QV_String("AB_C")).ToStdString(), "CL" + std::string(40, '0') + "ABC");
    EXPECT_EQ(GeneratedPartName(QV_String("A_B_C")).ToStdString(), "CL" + std::string(39, '0') + "AB_C");
    EXPECT_EQ(GeneratedPartName(QV_String()).ToStdString(), "CL" + std::string(43, '0'));
    const std::string letters = "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (size_t n = 0; n <= 60; ++n) {
        const std::string base = letters.substr(0, n);
        const std::string name = GeneratedPartName(QV_String(base.c_str())).ToStdString();
        ASSERT_EQ(name.size(), 45u) << n;
        EXPECT_EQ(name.substr(0, 2), "CL") << n;
        const size_t kept = std::min<size_t>(n, 43);
        EXPECT_EQ(name.substr(45 - kept), base.substr(n - kept)) << n;
        EXPECT_EQ(name.substr(2, 43 - kept), std::string(43 - kept, '0')) << n;
    }
}

TEST(RewriteViewScript, EachRuleOnTheFirstMatchingLineButADDZOnEvery) {
    QV_List<QV_String> lines;
    for (const char* l : {"! tmpCL.gsm, not TMPCL.GSM", "addz 1", "mulx 2", "MULX 3", "AddZ 4", "ADDX 5", "ADDY 6",
                          "binary 3, 1", "BINARY 7", "DEL 6"})
        lines.Insert(QV_String(l));
    const API_Box3D box = {-2.5, -123456789012.125, 0, 7.5, 5, 1};
    RewriteViewScriptLines(lines, QV_String("CLX"), box);
    std::vector<std::string> out;
    for (const QV_String& l : lines) out.push_back(l.ToStdString());
    EXPECT_EQ(out,
              (std::vector<std::string>{"! CLX.gsm, not TMPCL.GSM", "MULX A/10.000", "MULX 3", "ADDX 2.500",
                                        "ADDY 123456789012.125", "BINARY 0,1", "BINARY 7", "DEL 6"}));
}

}  // namespace libpart_from_3d_test
