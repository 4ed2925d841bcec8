// The host's settings dialogs and the unique-id comparison as the module calls them: 'COMP' over many pairs of
// ids, the answers a script types, and records the host cannot take.
#include "InProcessHost.hpp"
#include "APISettingsDialogs.hpp"

#include <random>
#include <string>

namespace settings_dialogs_test {

class SettingsDialogsHostTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Attach());
    }
};

std::string UnId(uint32_t main, uint32_t revision, bool lower) {
    char buf[96];
    std::snprintf(buf, sizeof buf,
                  lower ? "{%08x-0000-0000-0000-00000000000a}-{%08x-0000-0000-0000-000000000000}"
                        : "{%08X-0000-0000-0000-00000000000A}-{%08X-0000-0000-0000-000000000000}",
                  main, revision);
    return buf;
}

TEST_F(SettingsDialogsHostTest, CompareTellsSameIdSamePartAndOtherParts) {
    std::mt19937 rng(5);
    for (int round = 0; round < 500; ++round) {
        const uint32_t m1 = rng() % 3, m2 = rng() % 3, r1 = rng() % 2, r2 = rng() % 2;
        API_LibPartUnIDText a = {}, b = {};
        const std::string first = UnId(m1, r1, rng() % 2 == 0), second = UnId(m2, r2, rng() % 2 == 0);
        std::snprintf(a.text, sizeof a.text, "%s", first.c_str());
        std::snprintf(b.text, sizeof b.text, "%s", second.c_str());
        const GSErrCode expected = m1 != m2 ? APIERR_GENERAL : r1 == r2 ? APIERR_COMPEQUAL : NoError;
        EXPECT_EQ(ACAPI_Goodies(APIAny_CompareLibPartUnIdsID, &a, &b), expected) << first << " " << second;
    }
    // Not an id, or an id without its end: refused, never read past the field.
    API_LibPartUnIDText good = {}, bad = {};
    std::snprintf(good.text, sizeof good.text, "%s", UnId(1, 1, false).c_str());
    for (const char* text : {"", "{1234}", "garbage", "{00000001-0000-0000-0000-00000000000A}-"}) {
        std::snprintf(bad.text, sizeof bad.text, "%s", text);
        EXPECT_EQ(ACAPI_Goodies(APIAny_CompareLibPartUnIdsID, &good, &bad), APIERR_BADPARS) << text;
    }
    std::memset(bad.text, 'F', sizeof bad.text);  // no terminator at all
    EXPECT_EQ(ACAPI_Goodies(APIAny_CompareLibPartUnIdsID, &bad, &good), APIERR_BADPARS);
}

TEST_F(SettingsDialogsHostTest, TypedValuesAndFiltersTheHostCannotTakeAreRefused) {
    std::vector<std::pair<std::string, std::string>> values;
    std::string why;
    ASSERT_TRUE(SettingsDialogAnswers::ParseValues(" A = 2.5 ;note=a = b;; ", &values, &why)) << why;
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0], (std::pair<std::string, std::string>("A", "2.5")));
    EXPECT_EQ(values[1], (std::pair<std::string, std::string>("note", "a = b")));
    for (const char* text : {"A", "=2", "A=1; B"}) {
        EXPECT_FALSE(SettingsDialogAnswers::ParseValues(text, &values, &why)) << text;
        EXPECT_FALSE(why.empty());
    }

    // A filter that is no unique id: refused before any dialog shows.
    API_ObjectSettingsPars record = {};
    record.tool.typeID = API_ObjectID;
    std::snprintf(record.subtypeID, sizeof record.subtypeID, "{not-an-id}");
    EXPECT_EQ(ACAPI_Interface(APIIo_ObjectSettingsID, &record), APIERR_BADPARS);
    EXPECT_EQ(record.params, nullptr);
    // A typed value that is no number for a numeric parameter: a host error, and the dialog counts as cancelled.
    const std::string folder = UserFile("lib");
    std::filesystem::create_directory(folder);
    std::ofstream(folder + "/P.lpd") << "name = P\nguid = " << UnId(9, 0, false)
                                     << "\ntype = object\nparam A length = 1\n";
    ASSERT_TRUE(host->AddLibraryFolder(folder, &why)) << why;
    SettingsDialogAnswer answer;
    answer.libPart = "P";
    answer.values = {{"A", "wide"}};
    host->Project().settingsDialogs.Queue(SettingsDialogAnswers::ToolSettings, answer);
    API_ToolBoxItem tool = {API_ObjectID, 0, {0, 0}};
    EXPECT_EQ(ACAPI_Interface(APIIo_SettingsDialogID, &tool), APIERR_CANCEL);
    ASSERT_EQ(host->Errors().size(), 1u);
    EXPECT_NE(host->Errors()[0].find("no number for A"), std::string::npos);
    API_Element defaults = {};
    defaults.header.typeID = API_ObjectID;
    ASSERT_EQ(ACAPI_Element_GetDefaults(&defaults, nullptr), NoError);
    EXPECT_NE(defaults.object.libInd, 1);
}

}  // namespace settings_dialogs_test
