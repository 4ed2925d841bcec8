// How each dialog was answered, as its log record keeps it and the observer hears it: the queued answers it
// took, the automatic answer when none was queued, and the answers that did not fit, on the dialog they came to.
#include "DG.hpp"
#include "DGDriver.hpp"
#include "TestSupport.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dg_answers_test {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr int16_t TestDialog = 32000;  // tests/data/resources/DLOG/32000.txt
constexpr int16_t Palette = 32001;

// Closes with items 1 and 2; a click on item 1 asks an alert first.
int16_t Callback(int16_t message, int16_t, int16_t item, DGUserData, DGMessageData) {
    if (message == DG_MSG_CLICK && item == 1)
        DGAlert(1, GS::UniString("Sure?"), GS::UniString("Keep it?"), GS::UniString(), GS::UniString("Yes"),
                GS::UniString("No"), GS::UniString());
    return message == DG_MSG_CLICK && (item == 1 || item == 2) ? item : 0;
}

int16_t RunTestDialog() {
    return DGModalDialog(TestSupport::TestResources(), TestDialog, TestSupport::TestResources(), Callback, 0);
}

struct Heard {
    DGDriver::DialogEvent event;
    DGDriver::LogRecord record;
};

// Listens to the dialog manager for the test's life.
class DialogAnswers : public ::testing::Test {
protected:
    void SetUp() override {
        DGDriver::SetDialogObserver([this](DGDriver::DialogEvent event, const DGDriver::LogRecord& record) {
            heard.push_back({event, record});
        });
    }
    void TearDown() override {
        DGDriver::SetDialogObserver({});
        DGDriver::ForgetOpenDialogs();
    }
    // What ended, in order, is what the log keeps.
    void ExpectEndedAsLogged() const {
        std::vector<std::string> ended, logged;
        for (const Heard& h : heard)
            if (h.event == DGDriver::DialogEvent::Ended) ended.push_back(h.record.kind + std::to_string(h.record.id));
        for (const DGDriver::LogRecord& r : DGDriver::Log()) logged.push_back(r.kind + std::to_string(r.id));
        EXPECT_EQ(ended, logged);
    }
    std::vector<Heard> heard;
};

TEST_F(DialogAnswers, AModalDialogKeepsTheAnswersThatAppliedAndWhyTheOthersDidNot) {
    DGDriver::QueueSetLong(TestDialog, 5, 7);
    DGDriver::QueueClick(TestDialog, 99);  // no such item
    DGDriver::QueueClick(TestDialog, 1);
    DGDriver::QueueAlertAnswer(3);  // the alert it asks has two buttons
    EXPECT_EQ(RunTestDialog(), 1);

    ASSERT_EQ(DGDriver::Log().size(), 2u);
    const DGDriver::LogRecord& alert = DGDriver::Log()[0];
    const DGDriver::LogRecord& dialog = DGDriver::Log()[1];
    EXPECT_EQ(dialog.kind, "modal");
    EXPECT_EQ(dialog.title, "Test dialog");
    EXPECT_THAT(dialog.used, ElementsAre("set item 5 to 7", "click item 1"));
    EXPECT_FALSE(dialog.unanswered);
    // Each fault lands on the dialog that waited when it arose: the alert's own on the alert.
    ASSERT_EQ(dialog.faults.size(), 1u);
    EXPECT_THAT(dialog.faults[0], HasSubstr("click item 99"));
    EXPECT_THAT(dialog.faults[0], HasSubstr("no such item"));
    ASSERT_EQ(alert.faults.size(), 1u);
    EXPECT_THAT(alert.faults[0], HasSubstr("no such button"));
    EXPECT_EQ(DGDriver::Errors().size(), 2u);
    ExpectEndedAsLogged();
}

TEST_F(DialogAnswers, WithNothingQueuedTheAnswerIsAutomaticAndNamesWhatWaitsForOtherDialogs) {
    DGDriver::QueueAlertAnswer(1);            // for the alert item 1 asks
    DGDriver::QueueClick(TestDialog + 5, 1);  // for a dialog that is not open
    EXPECT_EQ(RunTestDialog(), 1);
    const DGDriver::LogRecord& dialog = DGDriver::Log().back();
    EXPECT_TRUE(dialog.unanswered);
    EXPECT_THAT(dialog.used, IsEmpty());
    EXPECT_THAT(dialog.pending, ElementsAre("click item 1 on dialog 32005"));
    EXPECT_THAT(dialog.faults, IsEmpty());
    const DGDriver::LogRecord& alert = DGDriver::Log().front();
    EXPECT_FALSE(alert.unanswered);
    EXPECT_THAT(alert.used, ElementsAre("answer an alert with button 1"));

    // A queued answer that applies is no automatic one.
    DGDriver::ClearQueueAndLog();
    heard.clear();
    DGDriver::QueueClick(TestDialog, 2);
    EXPECT_EQ(RunTestDialog(), 2);
    EXPECT_FALSE(DGDriver::Log().back().unanswered);
    EXPECT_THAT(DGDriver::Log().back().pending, IsEmpty());
    ExpectEndedAsLogged();
}

TEST_F(DialogAnswers, SystemDialogsSayWhetherTheyTookAQueuedAnswer) {
    DGDriver::QueueFileAnswer({"/a/one.txt"});
    DGDriver::QueueFileCancel();
    for (int k = 0; k < 3; ++k) DG::FileDialog(DG::FileDialog::OpenFile).Invoke();
    DGDriver::QueueFolderCancel();
    DG::FolderDialog().Invoke();
    DG::FolderDialog().Invoke();
    EXPECT_EQ(DGAlert(1, GS::UniString(), GS::UniString("Text"), GS::UniString(), GS::UniString(), GS::UniString(),
                      GS::UniString()),
              1);
    DGColorRec colour{};
    DGGetColor(GS::UniString(), &colour);

    std::vector<std::string> how;
    for (const DGDriver::LogRecord& r : DGDriver::Log())
        how.push_back(r.kind + " " + std::to_string(r.result) + (r.unanswered ? " none queued" : " queued"));
    EXPECT_THAT(how,
                ElementsAre("file 1 queued", "file 0 queued", "file 0 none queued", "folder 0 queued",
                            "folder 0 none queued", "alert 1 none queued", "colour 0 none queued"));
    EXPECT_THAT(DGDriver::Log()[0].answer, ElementsAre("/a/one.txt"));
    for (const DGDriver::LogRecord& r : DGDriver::Log()) {
        EXPECT_EQ(r.used.size(), r.unanswered ? 0u : 1u) << r.kind;
        EXPECT_THAT(r.faults, IsEmpty());
    }
    ExpectEndedAsLogged();
}

TEST_F(DialogAnswers, APaletteIsHeardWhenItOpensAndWhenAnActionForItDoesNotApply) {
    ASSERT_EQ(DGModelessInit(TestSupport::TestResources(), Palette, Callback, 0), Palette);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].event, DGDriver::DialogEvent::Opened);
    EXPECT_EQ(heard[0].record.id, Palette);
    EXPECT_EQ(heard[0].record.title, "Palette");

    DGDriver::QueueClick(Palette, 2);
    DGDriver::QueueClick(Palette, 9);  // no such item
    DGDriver::QueueCloseWindow(Palette);
    EXPECT_EQ(DGDriver::DeliverModelessActions(), 3);
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[1].event, DGDriver::DialogEvent::Refused);
    EXPECT_EQ(heard[1].record.title, "Palette");
    EXPECT_THAT(heard[1].record.used, ElementsAre("click item 9"));
    ASSERT_EQ(heard[1].record.faults.size(), 1u);
    EXPECT_THAT(heard[1].record.faults[0], HasSubstr("no such item"));
    // Its record as it closed keeps the actions that applied.
    EXPECT_EQ(heard[2].event, DGDriver::DialogEvent::Ended);
    EXPECT_THAT(heard[2].record.used, ElementsAre("click item 2", "close the window of dialog 32001"));
    ExpectEndedAsLogged();
}

}  // namespace dg_answers_test
