// Every alert that offers the user a choice (two buttons or more) is asked with the question kind, and no alert with
// one button is: over the examples that ask the spot-height count, whether to keep an outline, and whether to show a
// hidden layer.
#include "DGDriver.hpp"
#include "InProcessHost.hpp"
#include "foundation/Alert.hpp"

#include <fstream>
#include <sstream>
#include <string>

namespace question_alerts_test {

class QuestionAlertsTest : public InProcessHostTest {};

TEST_F(QuestionAlertsTest, AnAlertOfferingAChoiceIsAQuestionAndOnlyThen) {
    int questions = 0;
    for (const char* script : {"site_markers", "terrain_input", "settings_roundtrip", "palette"}) {
        std::ifstream in(std::string(LODRAVIX_SOURCE_DIR) + "/examples/" + script + ".script");
        std::stringstream text;
        text << in.rdbuf();
        bool passed = false;
        RunAfresh(text.str(), script, &passed);
        EXPECT_TRUE(passed) << script;
        for (const DGDriver::LogRecord& r : DGDriver::Log()) {
            if (r.kind != "alert") continue;
            const std::string words = r.texts.empty() ? std::string() : r.texts[0];
            const bool choice = r.buttons.size() >= 2;
            questions += choice ? 1 : 0;
            EXPECT_EQ(r.id == int32_t(AlertKind::Question), choice) << script << ": " << words;
        }
    }
    // The spot-height count (twice) and the outline's keep or substitute at least.
    EXPECT_GE(questions, 3);
}

}  // namespace question_alerts_test
