// The host's settings dialogs driven through a tool's defaults: what the user chose comes back, the former
// defaults and the selection come back however the dialog ends, unreadable parameters are an error, and the
// subtype test walks a part's ancestry (also a faulty, circular one) without looping.
#include "MemoryDriver.hpp"
#include "ProjectHost.hpp"
#include "elements/BaseLP.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/ToolDefaults.hpp"

#include "APISettingsDialogs.hpp"

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace tool_defaults_test {

const std::string kRoot = API_LibPartHierarchyRoot;
std::string Id(int n) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "{%08X-0000-0000-0000-000000000000}-{00000000-0000-0000-0000-000000000000}", n);
    return buf;
}

class ToolDefaultsTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        // SUB derives from the root; CHILD from SUB, GRANDCHILD from CHILD. LOOP_A and LOOP_B are each other's
        // parent; ORPHAN's parent is listed without a definition.
        const std::string folder = UserFile("tree");
        std::filesystem::create_directory(folder);
        Part(folder, "SUB", Id(1), kRoot, "param A length = 1\n");
        Part(folder, "CHILD", Id(2), Id(1), "param A length = 2\nparam B length = 3\nparam note string = \"x\"\n");
        Part(folder, "GRANDCHILD", Id(3), Id(2), "param A length = 4\n");
        Part(folder, "OTHER", Id(4), kRoot, "param A string = \"wide\"\nparam B length = 5\n");
        Part(folder, "LOOP_A", Id(5), Id(6), "");
        Part(folder, "LOOP_B", Id(6), Id(5), "");
        Part(folder, "GHOST", Id(7), kRoot, "definition = missing\n");
        Part(folder, "ORPHAN", Id(8), Id(7), "");
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(folder, &why)) << why;
        child = Index("CHILD");
        other = Index("OTHER");
        // The tool's own defaults: PART_A, and two elements selected.
        API_Element object = Tool(API_ObjectID);
        object.object.libInd = libA;
        ASSERT_EQ(ACAPI_Element_ChangeDefaults(&object, nullptr, nullptr), NoError);
        selected = {PlaceHotspot("h1"), PlaceHotspot("h2")};
        Select(selected);
        handlesAtStart = MemoryDriver::LiveHandleCount();
    }
    void TearDown() override {
        EXPECT_EQ(Answers().Pending(), 0u);
        // Parameter handles change owner on the way: none may be left behind.
        EXPECT_EQ(MemoryDriver::LiveHandleCount(), handlesAtStart);
        ProjectHostTest::TearDown();
    }
    static void Part(const std::string& folder, const std::string& name, const std::string& id,
                     const std::string& parent, const std::string& rest) {
        std::ofstream(folder + "/" + name + ".lpd")
            << "name = " << name << "\nguid = " << id << "\ntype = object\nparent = " << parent << "\n"
            << rest;
    }
    int32_t Index(const std::string& name) { return host->Project().libraries.FindByName(name, 0); }
    SettingsDialogAnswers& Answers() { return host->Project().settingsDialogs; }
    void Answer(SettingsDialogAnswers::Dialog dialog, bool ok, const std::string& part = "",
                const std::string& values = "") {
        SettingsDialogAnswer a;
        a.ok = ok;
        a.libPart = part;
        std::string why;
        ASSERT_TRUE(SettingsDialogAnswers::ParseValues(values, &a.values, &why)) << why;
        Answers().Queue(dialog, a);
    }
    static API_Element Tool(API_ElemTypeID type) {
        API_Element e = {};
        e.header.typeID = type;
        EXPECT_EQ(ACAPI_Element_GetDefaults(&e, nullptr), NoError);
        return e;
    }
    static double Param(GSHandle params, const char* name) {
        const auto* records = reinterpret_cast<const API_AddParType*>(*params);
        for (GSSize i = 0; i < BMGetHandleSize(params) / GSSize(sizeof(API_AddParType)); ++i)
            if (std::strcmp(records[i].name, name) == 0) return records[i].value.real;
        ADD_FAILURE() << "no parameter " << name;
        return 0.0;
    }
    bool SelectionIsBack() { return Db().Selection() == selected; }

    int64_t handlesAtStart = 0;
    int32_t child = 0;
    int32_t other = 0;
    std::vector<API_Guid> selected;
};

TEST_F(ToolDefaultsTest, OkHandsBackThePartAndParametersTheUserChose) {
    for (const bool restore : {true, false}) {
        Answer(SettingsDialogAnswers::ToolSettings, true, "CHILD", "A=7.5; note=chosen");
        int32_t index = libB;
        GSHandle params = nullptr;
        ASSERT_EQ(EditLibPartSettings(index, &params, API_ObjectID, 0, restore), NoError);
        EXPECT_EQ(index, child);
        ASSERT_NE(params, nullptr);
        EXPECT_EQ(Param(params, "A"), 7.5);
        EXPECT_EQ(Param(params, "B"), 3.0);
        ReleaseParamRecords(&params);
        // The dialog edited the defaults: the selection was away meanwhile and is back.
        EXPECT_TRUE(SelectionIsBack());
        const API_Element now = Tool(API_ObjectID);
        EXPECT_EQ(now.object.libInd, restore ? libA : child) << restore;
        if (!restore) {
            EXPECT_EQ(now.object.xRatio, 7.5);
            EXPECT_EQ(now.object.yRatio, 3.0);
        }
        // Back to the start for the next round.
        API_Element start = now;
        start.object.libInd = libA;
        ASSERT_EQ(ACAPI_Element_ChangeDefaults(&start, nullptr, nullptr), NoError);
    }
    ASSERT_EQ(Answers().ShownDialogs().size(), 2u);
    EXPECT_EQ(Answers().ShownDialogs()[0].tool.typeID, API_ObjectID);
}

TEST_F(ToolDefaultsTest, CancelledDialogBringsBackSelectionAndWithRestoreTheDefaults) {
    for (const bool restore : {true, false}) {
        Answer(SettingsDialogAnswers::ToolSettings, false);
        int32_t index = libB;
        GSHandle params = nullptr;
        EXPECT_EQ(EditLibPartSettings(index, &params, API_ObjectID, 0, restore), APIERR_CANCEL);
        EXPECT_EQ(index, libB);
        EXPECT_EQ(params, nullptr);
        EXPECT_TRUE(SelectionIsBack()) << restore;
        // Without restore the part written before the dialog stays, as asked.
        EXPECT_EQ(Tool(API_ObjectID).object.libInd, restore ? libA : libB) << restore;
    }
    // The same through the plain tool dialog over a given element.
    Answer(SettingsDialogAnswers::ToolSettings, false);
    API_Element wall = Tool(API_WallID);
    const double height = wall.wall.height;
    wall.wall.height = height + 1.0;
    EXPECT_EQ(EditToolDefaults(nullptr, nullptr, API_WallID, 0, &wall, nullptr, nullptr, true), APIERR_CANCEL);
    EXPECT_EQ(Tool(API_WallID).wall.height, height);
    EXPECT_TRUE(SelectionIsBack());
}

TEST_F(ToolDefaultsTest, UnreadableParametersAreAnErrorAndChangeNothing) {
    int32_t index = 9999;
    GSHandle params = nullptr;
    EXPECT_EQ(EditLibPartSettings(index, &params, API_ObjectID, 0, true), LodravixErr_StepFailed);
    EXPECT_EQ(index, 9999);
    EXPECT_EQ(params, nullptr);
    EXPECT_TRUE(Answers().ShownDialogs().empty());
    EXPECT_EQ(Tool(API_ObjectID).object.libInd, libA);
    EXPECT_TRUE(SelectionIsBack());
    index = 9999;
    EXPECT_EQ(ChooseLibPartWithSubtype(index, &params, nullptr, API_ObjectID, 0, true), LodravixErr_StepFailed);
    EXPECT_TRUE(Answers().ShownDialogs().empty());
}

TEST_F(ToolDefaultsTest, SizesComeFromNumericAAndB) {
    // OTHER's "A" is a text: size A is 0, B its number. None queued: OK with what was written.
    int32_t index = other;
    GSHandle params = nullptr;
    ASSERT_EQ(EditLibPartSettings(index, &params, API_ObjectID, 0, false), NoError);
    ReleaseParamRecords(&params);
    EXPECT_EQ(index, other);
    EXPECT_EQ(Tool(API_ObjectID).object.xRatio, 0.0);
    EXPECT_EQ(Tool(API_ObjectID).object.yRatio, 5.0);
}

TEST_F(ToolDefaultsTest, SubtypeWalkFollowsAncestryAndStops) {
    struct Case {
        const char* part;
        bool firstLevelOnly;
        bool answered;
        bool isSubtype;
    } cases[] = {
        {"CHILD", false, true, true},      {"CHILD", true, true, true},     {"GRANDCHILD", false, true, true},
        {"GRANDCHILD", true, true, false}, {"SUB", false, true, false},     {"OTHER", false, true, false},
        {"LOOP_A", false, false, false},   {"ORPHAN", false, false, false}, {"NO_SUCH_PART", false, false, false},
    };
    const std::string sub = Id(1);
    for (const Case& c : cases) {
        bool isSubtype = true;
        EXPECT_EQ(IsLibPartSubtypeOf(sub.c_str(), QV_String(c.part), isSubtype, c.firstLevelOnly), c.answered)
            << c.part;
        EXPECT_EQ(isSubtype, c.isSubtype) << c.part << " " << c.firstLevelOnly;
    }
    // Another revision of the subtype is the same subtype.
    const std::string revised = "{00000001-0000-0000-0000-000000000000}-{00000000-0000-0000-0000-0000000000AB}";
    bool isSubtype = false;
    EXPECT_TRUE(IsLibPartSubtypeOf(revised.c_str(), QV_String("GRANDCHILD"), isSubtype, false));
    EXPECT_TRUE(isSubtype);
}

TEST_F(ToolDefaultsTest, ObjectSettingsOfferOnlyTheSubtype) {
    const std::string sub = Id(1);
    // A part outside the subtype is dropped before the dialog; the user picks GRANDCHILD.
    Answer(SettingsDialogAnswers::ObjectSettings, true, "GRANDCHILD", "A=9");
    int32_t index = other;
    GSHandle params = nullptr;
    ASSERT_EQ(ChooseLibPartWithSubtype(index, &params, sub.c_str(), API_ObjectID, int32_t(API_Selector("GISS")), true),
              NoError);
    EXPECT_EQ(index, Index("GRANDCHILD"));
    ASSERT_NE(params, nullptr);
    EXPECT_EQ(Param(params, "A"), 9.0);
    ReleaseParamRecords(&params);
    ASSERT_EQ(Answers().ShownDialogs().size(), 1u);
    EXPECT_EQ(Answers().ShownDialogs()[0].filter, sub);
    EXPECT_TRUE(SelectionIsBack());
    EXPECT_TRUE(host->Errors().empty());

    // Cancel: the code comes back, the selection and the defaults too.
    Answer(SettingsDialogAnswers::ObjectSettings, false);
    index = child;
    EXPECT_EQ(ChooseLibPartWithSubtype(index, &params, sub.c_str(), API_ObjectID, 0, true), APIERR_CANCEL);
    EXPECT_EQ(params, nullptr);
    EXPECT_EQ(Tool(API_ObjectID).object.libInd, libA);
    EXPECT_TRUE(SelectionIsBack());

    // The host holds the dialog to its filter: a part outside it is not there to pick.
    Answer(SettingsDialogAnswers::ObjectSettings, true, "OTHER");
    index = child;
    EXPECT_EQ(ChooseLibPartWithSubtype(index, nullptr, sub.c_str(), API_ObjectID, 0, true), APIERR_CANCEL);
    ASSERT_EQ(host->Errors().size(), 1u);
    EXPECT_NE(host->Errors()[0].find("not of the subtype"), std::string::npos);
}

TEST_F(ToolDefaultsTest, SelectToolWithDefaultsKeepsTheCallersParameters) {
    // Only the tool changes.
    const API_Element before = Tool(API_ObjectID);
    ASSERT_EQ(SelectToolWithDefaults(-1, nullptr, nullptr, nullptr, API_WallID, 0), NoError);
    API_ToolBoxItem tool = {};
    ASSERT_EQ(ACAPI_Environment(APIEnv_GetToolBoxModeID, &tool), NoError);
    EXPECT_EQ(tool.typeID, API_WallID);
    EXPECT_EQ(Tool(API_ObjectID).object.libInd, before.object.libInd);

    GSHandle params = nullptr;
    ASSERT_TRUE(BaseLP::GetLibPartParams(child, &params, nullptr, nullptr, nullptr));
    ASSERT_EQ(SelectToolWithDefaults(child, params, nullptr, nullptr, API_ObjectID, 0), NoError);
    EXPECT_EQ(Param(params, "B"), 3.0);  // still the caller's
    ReleaseParamRecords(&params);
    ASSERT_EQ(ACAPI_Environment(APIEnv_GetToolBoxModeID, &tool), NoError);
    EXPECT_EQ(tool.typeID, API_ObjectID);
    const API_Element now = Tool(API_ObjectID);
    EXPECT_EQ(now.object.libInd, child);
    EXPECT_EQ(now.object.xRatio, 2.0);
    EXPECT_TRUE(Answers().ShownDialogs().empty());
}

}  // namespace tool_defaults_test
