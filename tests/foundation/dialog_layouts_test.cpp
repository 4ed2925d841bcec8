// The one loop over a dialog's two layouts: whatever the number of switches before the user closes the dialog,
// the layouts take turns from the first, each after the first carries the edits on, and the answer is how the last
// one closed; a layout that confirms ends the run even if it also asked for the other layout.
#include "foundation/DialogAnswer.hpp"
#include "foundation/DialogLayouts.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace dialog_layouts_test {

// The values the settings runs have always answered.
static_assert(int32_t(DialogAnswer::Confirmed) == 0 && int32_t(DialogAnswer::Cancelled) == 1);

TEST(DialogLayouts, TheLayoutsTakeTurnsUntilOneClosesWithoutASwitch) {
    // The last layout closes with OK or a plain cancel; an OK may come with the switch asked as well.
    const std::pair<DialogAnswer, bool> lasts[] = {
        {DialogAnswer::Confirmed, false}, {DialogAnswer::Confirmed, true}, {DialogAnswer::Cancelled, false}};
    for (const auto& [last, lastAsksOther] : lasts)
        for (int switches = 0; switches <= 6; ++switches) {
            SCOPED_TRACE(std::to_string(switches) + (lastAsksOther ? " switches, the last OK asking another" : ""));
            std::vector<int32_t> shown;
            std::vector<bool> carried;
            const DialogAnswer answer = RunDialogLayouts([&](int32_t layout, bool switched) {
                shown.push_back(layout);
                carried.push_back(switched);
                const bool asksOther = int(shown.size()) <= switches;
                return asksOther ? LayoutClosed(DialogAnswer::Cancelled, true) : LayoutClosed(last, lastAsksOther);
            });
            EXPECT_EQ(answer, last);
            ASSERT_EQ(shown.size(), size_t(switches + 1));
            for (size_t k = 0; k < shown.size(); ++k) {
                EXPECT_EQ(shown[k], int32_t(k % 2));
                EXPECT_EQ(carried[k], k > 0);
            }
        }
    EXPECT_EQ(ConfirmedIf(true), DialogAnswer::Confirmed);
    EXPECT_EQ(ConfirmedIf(false), DialogAnswer::Cancelled);
}

}  // namespace dialog_layouts_test
