// Headless dialog manager driven through the driver queue: the flows a user would produce, the automatic
// answers, and the faults the driver reports.
#include "DG.hpp"
#include "DGDriver.hpp"
#include "TestSupport.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace dg_test {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr int16_t TestDialog = 32000;  // tests/data/resources/DLOG/32000.txt
constexpr int16_t Palette = 32001;

// A dialog callback whose behaviour each test gives; it notes every message it gets.
struct Script {
    std::function<int16_t(int16_t message, int16_t dialId, int16_t item, DGMessageData data)> handler;
    std::vector<std::string> messages;
};

int16_t ScriptCallback(int16_t message, int16_t dialId, int16_t item, DGUserData userData, DGMessageData data) {
    auto* script = reinterpret_cast<Script*>(userData);
    script->messages.push_back(std::to_string(message) + ":" + std::to_string(item));
    return script->handler ? script->handler(message, dialId, item, data) : 0;
}

// Closes with the clicked button for items 1 and 2, like an OK / Cancel pair.
int16_t OkCancel(int16_t message, int16_t, int16_t item, DGMessageData) {
    return message == DG_MSG_CLICK && (item == 1 || item == 2) ? item : 0;
}

int16_t RunTestDialog(Script& script) {
    return DGModalDialog(TestSupport::TestResources(), TestDialog, TestSupport::TestResources(), ScriptCallback,
                         reinterpret_cast<DGUserData>(&script));
}

const DGDriver::ItemState& ItemOf(const DGDriver::LogRecord& record, int16_t id) {
    for (const auto& item : record.items)
        if (item.id == id) return item;
    throw std::runtime_error("no item " + std::to_string(id));
}

bool AnyErrorWith(const std::string& words) {
    for (const std::string& e : DGDriver::Errors())
        if (e.find(words) != std::string::npos) return true;
    return false;
}

TEST(DialogManager, QueuedActionsArriveAsChangesAndTheClickClosesWithItsItem) {
    const GSResModule module = TestSupport::TestResources();
    int32_t valueSeenAtChange = -1;
    int32_t rowSeenAtChange = -1;
    Script script;
    script.handler = [&](int16_t message, int16_t dialId, int16_t item, DGMessageData data) -> int16_t {
        if (message == DG_MSG_INIT) {
            DGSetDialogTitle(dialId, GS::UniString("Chosen title"));
            DGListSetTabFieldCount(dialId, 3, 2);
            DGListSetTabFieldData(dialId, 3, 1, 5, 100);
            DGListSetTabFieldData(dialId, 3, 2, 100, 190);
            DGListSetItemHeight(dialId, 3, 30);
            for (int row = 1; row <= 3; ++row) {
                DGListInsertItem(dialId, 3, DG_LIST_BOTTOM);
                DGListSetTabItemText(dialId, 3, row, 2, GS::UniString(("row " + std::to_string(row)).c_str()));
            }
            DGListSetTabItemIcon(dialId, 3, 1, 1, DG::Icon(module, 32100));
            DGListSelectItem(dialId, 3, 1);
            for (const char* text : {"a", "b", "c"}) {
                DGPopUpInsertItem(dialId, 4, DG_POPUP_BOTTOM);
                DGPopUpSetItemText(dialId, 4, DGPopUpGetItemCount(dialId, 4), GS::UniString(text));
            }
            DGPopUpSelectItem(dialId, 4, 1);
            DGSetItemValLong(dialId, 5, 7);
        } else if (message == DG_MSG_CHANGE && item == 5) {
            valueSeenAtChange = DGGetItemValLong(dialId, 5);
        } else if (message == DG_MSG_CHANGE && item == 3) {
            rowSeenAtChange = DGListGetSelected(dialId, 3);
        } else if (message == DG_MSG_UPDATE) {
            const auto* update = reinterpret_cast<const DGUserUpdateData*>(data);
            DGUserItemFillRect(dialId, item, DG::Rect{0, 0, update->right, update->bottom}, 255, 0, 0);
        }
        return OkCancel(message, dialId, item, data);
    };
    DGDriver::QueueSetLong(TestDialog, 5, 12);
    DGDriver::QueuePickListRow(TestDialog, 3, 2);
    DGDriver::QueuePickPopUpItem(TestDialog, 4, 3);
    DGDriver::QueueSetText(TestDialog, 7, "typed");
    DGDriver::QueueSetDouble(TestDialog, 6, 2.5);
    DGDriver::QueueClick(TestDialog, 1);

    EXPECT_EQ(RunTestDialog(script), 1);
    EXPECT_THAT(script.messages, ElementsAre("1:0", "16:9", "6:5", "6:3", "6:4", "6:7", "6:6", "4:1", "3:1"));
    EXPECT_EQ(valueSeenAtChange, 12);
    EXPECT_EQ(rowSeenAtChange, 2);
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
    EXPECT_FALSE(DGIsDialogOpen(TestDialog));

    ASSERT_EQ(DGDriver::Log().size(), 1u);
    const DGDriver::LogRecord& record = DGDriver::Log()[0];
    EXPECT_EQ(record.kind, "modal");
    EXPECT_EQ(record.id, TestDialog);
    EXPECT_EQ(record.title, "Chosen title");
    EXPECT_EQ(record.result, 1);
    const auto& list = ItemOf(record, 3);
    EXPECT_EQ(list.selected, 2);
    EXPECT_EQ(list.rowHeight, 30);
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_THAT(list.rows[1].texts, ElementsAre("", "row 2"));
    EXPECT_THAT(list.rows[0].icons, ElementsAre(32100, 0));
    EXPECT_EQ(ItemOf(record, 4).selected, 3);
    EXPECT_EQ(ItemOf(record, 6).value, 2.5);
    EXPECT_EQ(ItemOf(record, 7).text, "typed");
    EXPECT_THAT(ItemOf(record, 9).drawing, ElementsAre("fill 0 0 64 48 rgb(255,0,0)"));
    EXPECT_EQ(ItemOf(record, 13).image, 32200);
    const std::string text = DGDriver::LogText();
    EXPECT_THAT(text, HasSubstr("[modal 32000] title \"Chosen title\""));
    EXPECT_THAT(text, HasSubstr("row 2: | \"\" | \"row 2\""));
}

TEST(DialogManager, WithNothingQueuedTheDialogGetsOkAndOneThatNeverClosesIsClosedWithCancel) {
    Script closes;
    closes.handler = OkCancel;
    EXPECT_EQ(RunTestDialog(closes), 1);
    EXPECT_THAT(closes.messages, ElementsAre("1:0", "16:9", "4:1", "3:1"));
    EXPECT_TRUE(DGDriver::Errors().empty());

    Script stubborn;  // answers every click with 0
    EXPECT_EQ(RunTestDialog(stubborn), 2);
    EXPECT_THAT(stubborn.messages, ElementsAre("1:0", "16:9", "4:1", "3:2"));
    ASSERT_EQ(DGDriver::Errors().size(), 1u);
    EXPECT_THAT(DGDriver::Errors()[0], HasSubstr("stayed open after the automatic click on OK"));
}

TEST(DialogManager, UserInputIsCheckedAgainstTheItem) {
    Script script;
    script.handler = [](int16_t message, int16_t dialId, int16_t item, DGMessageData data) -> int16_t {
        if (message == DG_MSG_INIT) {
            DGDisableItem(dialId, 7);
            DGHideItem(dialId, 8);
            DGSetItemMinDouble(dialId, 6, 0.0);
            DGSetItemMaxDouble(dialId, 6, 10.0);
        }
        return OkCancel(message, dialId, item, data);
    };
    DGDriver::QueueSetText(TestDialog, 7, "into a disabled edit");
    DGDriver::QueueSetLong(TestDialog, 8, 1);          // hidden check box
    DGDriver::QueueSetDouble(TestDialog, 6, 99.0);     // beyond the maximum
    DGDriver::QueueSetDouble(TestDialog, 5, 1.5);      // integer edit
    DGDriver::QueueSetText(TestDialog, 5, "12x");      // not a number
    DGDriver::QueueSetText(TestDialog, 10, "static");  // cannot be typed into
    DGDriver::QueuePickListRow(TestDialog, 3, 1);      // the list is empty
    DGDriver::QueueClick(TestDialog, 99);              // no such item
    DGDriver::QueueSetLong(TestDialog, 12, 1);         // second radio of the group
    DGDriver::QueueClick(TestDialog, 1);
    EXPECT_EQ(RunTestDialog(script), 1);
    EXPECT_EQ(DGDriver::Errors().size(), 8u);
    EXPECT_TRUE(AnyErrorWith("item 6 takes 0 to 10, not 99"));
    EXPECT_TRUE(AnyErrorWith("disabled"));
    EXPECT_TRUE(AnyErrorWith("hidden"));
    EXPECT_TRUE(AnyErrorWith("whole numbers"));
    EXPECT_TRUE(AnyErrorWith("not a number"));
    EXPECT_TRUE(AnyErrorWith("no such item"));
    EXPECT_THAT(script.messages, ElementsAre("1:0", "16:9", "6:12", "4:1", "3:1"));
    const DGDriver::LogRecord& record = DGDriver::Log().back();
    EXPECT_EQ(ItemOf(record, 6).value, 0.0);
    EXPECT_EQ(ItemOf(record, 7).text, "initial text");
    EXPECT_EQ(ItemOf(record, 11).value, 0.0);
    EXPECT_EQ(ItemOf(record, 12).value, 1.0);
}

TEST(DialogManager, ActionsForAnotherDialogAreErrorsAndLeftoversAreReported) {
    Script script;
    script.handler = OkCancel;
    DGDriver::QueueClick(Palette, 1);  // not the dialog that waits
    DGDriver::QueueClick(TestDialog, 2);
    DGDriver::QueueAlertAnswer(1);  // nobody asks
    EXPECT_EQ(RunTestDialog(script), 2);
    ASSERT_EQ(DGDriver::Errors().size(), 1u);
    EXPECT_THAT(DGDriver::Errors()[0], HasSubstr("click item 1 on dialog 32001"));
    EXPECT_THAT(DGDriver::Errors()[0], HasSubstr("dialog 32000 was waiting"));
    EXPECT_THAT(DGDriver::UnusedActions(), ElementsAre("answer an alert with button 1"));

    // A dialog with no action of its own left takes the automatic OK and leaves the rest for later.
    DGDriver::ClearQueueAndLog();
    DGDriver::QueueAlertAnswer(2);
    Script again;
    again.handler = OkCancel;
    EXPECT_EQ(RunTestDialog(again), 1);
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_EQ(DGDriver::PendingActionCount(), 1u);
}

TEST(DialogManager, AlertsTakeQueuedAnswersInOrderInsideADialog) {
    std::vector<int16_t> answers;
    Script script;
    script.handler = [&](int16_t message, int16_t dialId, int16_t item, DGMessageData data) -> int16_t {
        if (message == DG_MSG_CLICK && item == 1) {
            answers.push_back(DGAlert(-2, GS::UniString(), GS::UniString("Really?"), GS::UniString("detail"),
                                      GS::UniString("Yes"), GS::UniString("No"), GS::UniString()));
            return answers.back() == 1 ? 1 : 0;  // "No" keeps the dialog open
        }
        return OkCancel(message, dialId, item, data);
    };
    DGDriver::QueueClick(TestDialog, 1);
    DGDriver::QueueAlertAnswer(2);
    DGDriver::QueueClick(TestDialog, 1);
    DGDriver::QueueAlertAnswer(3);  // there is no third button
    EXPECT_EQ(RunTestDialog(script), 1);
    EXPECT_THAT(answers, ElementsAre(2, 1));
    ASSERT_EQ(DGDriver::Errors().size(), 1u);
    EXPECT_THAT(DGDriver::Errors()[0], HasSubstr("no such button"));

    ASSERT_EQ(DGDriver::Log().size(), 3u);  // two alerts, then the dialog
    const DGDriver::LogRecord& alert = DGDriver::Log()[0];
    EXPECT_EQ(alert.kind, "alert");
    EXPECT_EQ(alert.id, -2);
    EXPECT_THAT(alert.texts, ElementsAre("Really?", "detail"));
    EXPECT_THAT(alert.buttons, ElementsAre("Yes", "No"));
    EXPECT_EQ(alert.result, 2);
    EXPECT_THAT(DGDriver::LogText(), HasSubstr("[alert -2] title \"\" large \"Really?\""));
}

TEST(DialogManager, AlertWithoutQueuedAnswerGetsButtonOne) {
    EXPECT_EQ(DGAlert(-1, GS::UniString("Error"), GS::UniString("Text"), GS::UniString(), GS::UniString("OK"),
                      GS::UniString(), GS::UniString()),
              1);
    ASSERT_EQ(DGDriver::Log().size(), 1u);
    EXPECT_EQ(DGDriver::Log()[0].title, "Error");
    EXPECT_TRUE(DGDriver::Errors().empty());
}

// An error with only OK asks nothing: it is clicked away, and the queued actions stay for what the user meant to
// do next (the dialog after it, the question after it), unless its own OK comes next.
TEST(DialogManager, AnAlertWithOnlyOKLeavesTheQueueForWhatComesNext) {
    const auto error = [] {
        return DGAlert(-1, GS::UniString("Error"), GS::UniString("Failed"), GS::UniString(), GS::UniString(),
                       GS::UniString(), GS::UniString());
    };
    const auto question = [] {
        return DGAlert(-2, GS::UniString(), GS::UniString("Go on?"), GS::UniString(), GS::UniString("Yes"),
                       GS::UniString("No"), GS::UniString());
    };
    DGDriver::QueueClick(TestDialog, 2);
    DGDriver::QueueAlertAnswer(2);
    EXPECT_EQ(error(), 1);
    Script script;
    script.handler = OkCancel;
    EXPECT_EQ(RunTestDialog(script), 2) << "the dialog's click was not dropped";
    EXPECT_EQ(error(), 1);
    EXPECT_EQ(question(), 2) << "the question keeps its answer";
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_EQ(DGDriver::PendingActionCount(), 0u);

    DGDriver::QueueAlertAnswer(1);
    DGDriver::QueueAlertAnswer(2);
    EXPECT_EQ(error(), 1);
    EXPECT_EQ(DGDriver::PendingActionCount(), 1u) << "its own OK came next and was taken";
    EXPECT_EQ(question(), 2);
}

TEST(DialogManager, FolderAndFileDialogsAreAnsweredOrCancelled) {
    DGDriver::QueueFolderAnswer("\\tmp\\lib folder\\");
    DG::FolderDialog folderDialog;
    folderDialog.SetTitle(GS::UniString("Lodravix: Library Selection"));
    ASSERT_TRUE(folderDialog.Invoke());
    EXPECT_EQ(folderDialog.GetFolder().ToNativePath(), "/tmp/lib folder");

    DGDriver::QueueFolderCancel();
    EXPECT_FALSE(DG::FolderDialog().Invoke());
    EXPECT_FALSE(DG::FolderDialog().Invoke());  // nothing queued: cancelled

    DGDriver::QueueFileAnswer({"/a/one.txt", "/a/two.txt"}, 1);
    DG::FileDialog multi(DG::FileDialog::OpenMultiFile);
    multi.AddFilter(GS::UniString("SOSI"), GS::UniString("*.sos"));
    multi.AddFilter(GS::UniString("Text"), GS::UniString("*.txt"));
    ASSERT_TRUE(multi.Invoke());
    ASSERT_EQ(multi.GetSelectionCount(), 2u);
    EXPECT_EQ(multi.GetSelectedFile(1).ToNativePath(), "/a/two.txt");
    EXPECT_TRUE(multi.GetSelectedFile(2).IsEmpty());
    EXPECT_EQ(multi.GetSelectedFilter(), 1);

    DGDriver::QueueFileAnswer({"/a/one.txt", "/a/two.txt"});
    DG::FileDialog single(DG::FileDialog::OpenFile);
    ASSERT_TRUE(single.Invoke());
    EXPECT_EQ(single.GetSelectionCount(), 1u);
    EXPECT_THAT(DGDriver::Errors(), ElementsAre(HasSubstr("takes one file")));

    EXPECT_FALSE(DG::FileDialog(DG::FileDialog::Save).Invoke());
    ASSERT_EQ(DGDriver::Log().size(), 6u);
    EXPECT_EQ(DGDriver::Log()[0].kind, "folder");
    EXPECT_EQ(DGDriver::Log()[0].title, "Lodravix: Library Selection");
    EXPECT_THAT(DGDriver::Log()[0].answer, ElementsAre("/tmp/lib folder"));
    EXPECT_EQ(DGDriver::Log()[5].result, 0);
    EXPECT_THAT(DGDriver::LogText(), HasSubstr("[file save] title \"\" -> cancelled"));
}

TEST(DialogManager, ColourDialogAnswersOrCancels) {
    DGColorRec colour{1, 2, 3};
    DGDriver::QueueColourAnswer(65535, 0, 32768);
    EXPECT_EQ(DGGetColor(GS::UniString(), &colour), 1);
    EXPECT_EQ(colour.red, 65535);
    EXPECT_EQ(colour.blue, 32768);
    EXPECT_EQ(DGGetColor(GS::UniString(), &colour), 0);
    EXPECT_EQ(colour.red, 65535);  // unchanged when cancelled
}

TEST(DialogManager, ModelessPaletteRedrawsDeliversClicksAndCloses) {
    const GSResModule module = TestSupport::TestResources();
    std::vector<DGUserUpdateData> updates;
    Script script;
    script.handler = [&](int16_t message, int16_t dialId, int16_t item, DGMessageData data) -> int16_t {
        if (message == DG_MSG_UPDATE) {
            updates.push_back(*reinterpret_cast<const DGUserUpdateData*>(data));
            DGUserItemDrawImage(dialId, item, DG::Rect{0, 0, 32, 32}, DG::Image(module, 32200));
        }
        if (message == DG_MSG_CLICK && item == 2) DGModelessClose(dialId);  // closing from its own click
        return 0;
    };
    ASSERT_EQ(DGModelessInit(module, Palette, ScriptCallback, reinterpret_cast<DGUserData>(&script)), Palette);
    EXPECT_TRUE(DGIsModelessDialogVisible(Palette));
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0].item, 3);
    EXPECT_EQ(updates[0].right, 32);

    DGHideModelessDialog(Palette);
    EXPECT_FALSE(DGIsModelessDialogVisible(Palette));
    DGRedrawItem(Palette, 3);  // hidden: no redraw
    EXPECT_EQ(updates.size(), 1u);
    DGShowModelessDialog(Palette);
    EXPECT_EQ(updates.size(), 2u);

    DGDriver::QueueClick(Palette, 1);
    DGDriver::QueueClick(Palette, 2);
    DGDriver::QueueClick(TestDialog, 1);  // not for a modeless dialog: stays queued
    EXPECT_EQ(DGDriver::DeliverModelessActions(), 2);
    EXPECT_FALSE(DGIsDialogOpen(Palette));
    EXPECT_EQ(DGDriver::PendingActionCount(), 1u);
    EXPECT_THAT(script.messages, ElementsAre("1:0", "16:3", "16:3", "4:1", "4:2", "3:0"));

    ASSERT_EQ(DGDriver::Log().size(), 1u);
    EXPECT_EQ(DGDriver::Log()[0].kind, "modeless");
    EXPECT_THAT(ItemOf(DGDriver::Log()[0], 3).drawing, ElementsAre("image 32200 in 0 0 32 32"));
    EXPECT_TRUE(DGDriver::Errors().empty());
    DGDriver::ClearQueueAndLog();
}

TEST(DialogManager, FaultsOfTheModuleBecomeErrorsNotCrashes) {
    Script script;
    EXPECT_EQ(DGModalDialog(TestSupport::TestResources(), 31000, InvalidResModule, ScriptCallback,
                            reinterpret_cast<DGUserData>(&script)),
              0);
    EXPECT_TRUE(AnyErrorWith("no dialog layout 31000"));
    EXPECT_TRUE(script.messages.empty());

    DGDriver::ClearQueueAndLog();
    Script thrower;
    thrower.handler = [](int16_t message, int16_t, int16_t, DGMessageData) -> int16_t {
        GS::Array<int> empty;
        if (message == DG_MSG_CLICK) return static_cast<int16_t>(empty[3]);
        return 0;
    };
    EXPECT_EQ(RunTestDialog(thrower), 2);
    EXPECT_TRUE(AnyErrorWith("threw on message 4"));
    EXPECT_TRUE(AnyErrorWith("stayed open"));

    // Calls on items or dialogs that do not exist are harmless warnings.
    DGDriver::ClearQueueAndLog();
    DGSetItemText(TestDialog, 1, GS::UniString("x"));
    EXPECT_TRUE(DGGetItemText(TestDialog, 1).IsEmpty());
    EXPECT_EQ(DGDriver::Warnings().size(), 2u);
    EXPECT_TRUE(DGDriver::Errors().empty());
}

}  // namespace dg_test
