// An edit of a placed building whose ID text the host will not tell, at any of the edit's database calls: the
// building keeps its name, whatever else the edit does.
#include "ExampleScript.hpp"
#include "InProcessHost.hpp"

#include <string>

namespace edited_names_test {

class EditedNamesTest : public InProcessHostTest {};

TEST_F(EditedNamesTest, ABuildingEditKeepsTheNameItCouldNotRead) {
    // examples/site_buildings.script up to the edit of the building's 3D pen alone.
    const ExampleCut cut = ExampleUpTo("site_buildings", 66);
    ASSERT_EQ(cut.at, "dialog 32403 click 5");
    const std::string& before = cut.before;
    const std::string& line = cut.at;
    bool nameUnread = false;
    for (int n = 1; n <= 24; ++n) {
        const std::string shown = RunAfresh(before + "fail Database -1 call " + std::to_string(n) + "\n" + line +
                                                "\nfail clear\nexpect element B /memo/infoString \"BUILDING\"\n",
                                            "site_buildings");
        EXPECT_EQ(shown.find("FAILED (line 69)"), std::string::npos) << n;
        nameUnread = nameUnread || log.str().find("Database 1195723091 fails on purpose") != std::string::npos;
    }
    EXPECT_TRUE(nameUnread);
}

}  // namespace edited_names_test
