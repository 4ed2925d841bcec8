// Real, length and angle edits: what they show and read in the host's units, the limits the user's values are
// clamped into (the resource's, or the module's at run time), and the values the module sets kept exactly.
#include "DG.hpp"
#include "DGDriver.hpp"
#include "TestSupport.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace dg_edits_test {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr int16_t kDialog = 32002;  // 5 intedit 0..255, 6 realedit -10.5..10.5, 7 lengthedit 0.001..100 m, 8 angleedit

using Handler = std::function<void(int16_t message, int16_t dialId, int16_t item)>;

int16_t Callback(int16_t message, int16_t dialId, int16_t item, DGUserData userData, DGMessageData) {
    (*reinterpret_cast<Handler*>(userData))(message, dialId, item);
    return message == DG_MSG_CLICK && item == 1 ? 1 : 0;
}

int16_t RunDialog(Handler& handler) {
    return DGModalDialog(TestSupport::TestResources(), kDialog, InvalidResModule, Callback,
                         reinterpret_cast<DGUserData>(&handler));
}

TEST(DialogEdits, UnitsRangesAndExactProgramValues) {
    DGDriver::Reset();
    DGDriver::SetLengthUnit(DG_UNIT_CM);
    std::vector<std::string> seen;  // "<item> <value> <text>" at each change
    Handler handler = [&](int16_t message, int16_t d, int16_t item) {
        if (message == DG_MSG_INIT) {
            DGSetItemValDouble(d, 7, 1.5);
            EXPECT_EQ(DGGetItemText(d, 7).ToUtf8(), "150.0");  // centimetres, one decimal
            DGSetItemMaxDouble(d, 6, 2.0);                     // the module narrows the resource's range
            DGSetItemValDouble(d, 6, 50.0);                    // a program value outside it is kept
            EXPECT_EQ(DGGetItemValDouble(d, 6), 50.0);
            EXPECT_EQ(DGGetItemMinDouble(d, 6), -10.5);
            DGSetItemValDouble(d, 8, 0.1 + 0.2);  // kept to the last bit, as the dialogs compare exactly
            EXPECT_EQ(DGGetItemValDouble(d, 8), 0.1 + 0.2);
            DGSetItemText(d, 8, GS::UniString("30\xC2\xB0"));
            EXPECT_EQ(DGGetItemValDouble(d, 8), 30.0);
        }
        if (message == DG_MSG_CHANGE)
            seen.push_back(std::to_string(item) + " " + DGDoubleToString(DGGetItemValDouble(d, item), 4).ToUtf8() +
                           " " + DGGetItemText(d, item).ToUtf8());
    };
    DGDriver::QueueSetText(kDialog, 7, "250");     // in the host's unit: 2.5 m
    DGDriver::QueueSetText(kDialog, 7, "3 m");     // in the unit named
    DGDriver::QueueSetText(kDialog, 7, "30,0mm");  // a comma for the point
    DGDriver::QueueSetText(kDialog, 7, "20000");   // 200 m: beyond the resource's 100 m
    DGDriver::QueueSetDouble(kDialog, 6, 5.0);     // beyond the module's 2
    DGDriver::QueueSetText(kDialog, 6, "-11");     // below the resource's -10.5
    DGDriver::QueueSetText(kDialog, 6, "-10.5");   // the limit itself
    DGDriver::QueueSetText(kDialog, 8, "12.5\xC2\xB0");
    DGDriver::QueueSetText(kDialog, 5, "1.5");       // an integer edit takes no fraction
    DGDriver::QueueSetText(kDialog, 7, "12 yards");  // no unit of the host
    EXPECT_EQ(RunDialog(handler), 1);
    // A number outside the limits is no answer the user can give: the run fails naming it, the item keeps its value.
    EXPECT_THAT(
        seen,
        ElementsAre("7 2.5000 250.0", "7 3.0000 300.0", "7 0.0300 3.0", "6 -10.5000 -10.5", "8 12.5000 12.5\xC2\xB0"));
    EXPECT_THAT(DGDriver::Errors(),
                ElementsAre(HasSubstr("item 7 takes 0.001 to 100, not 200"),
                            HasSubstr("item 6 takes -10.5 to 2, not 5"), HasSubstr("item 6 takes -10.5 to 2, not -11"),
                            HasSubstr("whole numbers"), HasSubstr("is not a number")));

    // The same length in feet, and the host's number texts: no digit grouping, no negative zero.
    DGDriver::SetLengthUnit(DG_UNIT_FOOT);
    EXPECT_EQ(DGGetUnit(), DG_UNIT_FOOT);
    EXPECT_EQ(DGDoubleToStringUnit(3.048, DGGetUnit(), 3).ToUtf8(), "10.000");
    EXPECT_EQ(DGDoubleToStringUnit(2.5, DG_UNIT_CM, 1).ToUtf8(), "250.0");
    EXPECT_EQ(DGDoubleToString(1234567.891, 3).ToUtf8(), "1234567.891");
    EXPECT_EQ(DGDoubleToString(-0.0004, 3).ToUtf8(), "0.000");
    EXPECT_EQ(DGLongToString(-42).ToUtf8(), "-42");
    DGDriver::Reset();
}

}  // namespace dg_edits_test
