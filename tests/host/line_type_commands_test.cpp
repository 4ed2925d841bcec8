// The script commands that describe line types and the drawing scale, and what they refuse.
#include "InProcessHost.hpp"
#include "assembly/HostProject.hpp"
#include "script/ScriptRunner.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace line_type_commands_test {

class LineTypeCommandsTest : public InProcessHostTest {
protected:
    bool Run(const std::string& text) {
        std::ostringstream out;
        ScriptRunner runner(*host, out);
        const bool ok = runner.RunText(text, "test");
        output = out.str();
        return ok;
    }
    std::string output;
};

TEST_F(LineTypeCommandsTest, DashPairsMakeADashedLineTypeAndBadOnesStopTheScript) {
    ASSERT_TRUE(Run("linetype \"Dashes\" \"1.5 1 0.5 0.25\" 1\nlinetype \"Plain\" \"\"\ndrawing-scale 50\n")) << output;
    const LineTypeDefinitions& defs = host->Project().lineTypes;
    EXPECT_EQ(defs.drawingScale, 50.0);
    ASSERT_EQ(defs.byIndex.size(), 2u);
    const LineTypeDefinition& dashed = defs.byIndex.begin()->second;
    EXPECT_EQ(dashed.kind, 1);
    EXPECT_TRUE(dashed.scaleDependent);
    EXPECT_DOUBLE_EQ(dashed.period, 3.25);
    ASSERT_EQ(dashed.dashes.size(), 2u);
    EXPECT_EQ(dashed.dashes[1].gap, 0.25);
    EXPECT_EQ(defs.byIndex.rbegin()->second.kind, 0);

    for (const char* bad : {"linetype \"Odd\" \"1.5\"\n", "linetype \"Back\" \"1 -1\"\n", "linetype \"Word\" \"1 x\"\n",
                            "drawing-scale 0\n", "drawing-scale scale\n"}) {
        EXPECT_FALSE(Run(bad)) << bad;
        EXPECT_NE(output.find("FAILED"), std::string::npos) << bad << output;
    }
}

}  // namespace line_type_commands_test
