// The modal dialog helper over the headless dialog manager: messages reach their handlers in order, the closing
// item comes back, and messages that are not the dialog's own, or that come without fit data, do nothing.
#include "InProcessHost.hpp"
#include "DGDriver.hpp"
#include "foundation/ModalDialog.hpp"

#include <string>
#include <utility>
#include <vector>

namespace modal_dialog_test {

constexpr int16_t kDialog = 32536;  // any layout of the module's resources

struct Probe {
    std::vector<std::string> calls;
    bool usable = true;
};

void Note(Probe& p, const char* what, int16_t item) {
    p.calls.push_back(std::string(what) + " " + std::to_string(item));
}

const ModalDialog<Probe>::Handlers kHandlers = {
    [](const Probe& p) { return p.usable; },
    [](int16_t dialogId, Probe& p) { Note(p, "init", dialogId); },
    [](int16_t, int16_t item, Probe& p) -> int16_t {
        Note(p, "click", item);
        return item <= 2 ? item : 0;  // OK and Cancel close, other clicks keep the dialog open
    },
    [](int16_t, int16_t item, Probe& p) { Note(p, "change", item); },
    [](int16_t, int16_t item, Probe& p) { Note(p, "close", item); },
    nullptr,
    nullptr,
};

int16_t ProbeCallback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData) {
    return ModalDialog<Probe>::Dispatch(kDialog, kHandlers, message, dialogId, item, userData);
}

class ModalDialogTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Attach());
        DGDriver::Reset();
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty());
        DGDriver::Reset();
        InProcessHostTest::TearDown();
    }
};

TEST_F(ModalDialogTest, HandlersGetTheDialogsMessagesAndTheClosingItemComesBack) {
    DGDriver::QueueSetLong(kDialog, 8, 1);
    DGDriver::QueueClick(kDialog, 5);
    DGDriver::QueueClick(kDialog, 2);
    Probe probe;
    EXPECT_EQ(ModalDialog<Probe>::Run(kDialog, ProbeCallback, probe), 2);
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"init 32536", "change 8", "click 5", "click 2", "close 2"}));
}

TEST_F(ModalDialogTest, OtherDialogsMissingOrUnfitDataAndOtherMessagesAnswerZero) {
    Probe probe;
    const auto data = reinterpret_cast<DGUserData>(&probe);
    for (int16_t message : {DG_MSG_INIT, DG_MSG_CLOSE, DG_MSG_CLICK, DG_MSG_CHANGE}) {
        EXPECT_EQ(ProbeCallback(message, kDialog + 1, 1, data, 0), 0);
        EXPECT_EQ(ProbeCallback(message, kDialog, 1, 0, 0), 0);
    }
    EXPECT_EQ(ProbeCallback(DG_MSG_TRACK, kDialog, 1, data, 0), 0);
    EXPECT_TRUE(probe.calls.empty());
    probe.usable = false;
    EXPECT_EQ(ProbeCallback(DG_MSG_CLOSE, kDialog, 1, data, 0), 0);
    EXPECT_TRUE(probe.calls.empty());
    // Without handlers a click closes nothing and the close is accepted.
    probe.usable = true;
    const ModalDialog<Probe>::Handlers none = {};
    EXPECT_EQ(ModalDialog<Probe>::Dispatch(kDialog, none, DG_MSG_CLICK, kDialog, 1, data), 0);
    EXPECT_EQ(ModalDialog<Probe>::Dispatch(kDialog, none, DG_MSG_CLOSE, kDialog, 1, data), 1);
}

// A dialog that cannot be opened answers 0, which its owner takes for a cancel: the user is told, in the module's
// texts, or in built-in English when the module's resources cannot be had.
TEST_F(ModalDialogTest, ADialogThatCannotOpenTellsTheUser) {
    Probe probe;
    EXPECT_EQ(ModalDialog<Probe>::Run(32001, ProbeCallback, probe), 0);
    ASSERT_TRUE(host->FailCall("GetOwnResModule", -1, APIERR_GENERAL));
    EXPECT_EQ(ModalDialog<Probe>::Run(kDialog, ProbeCallback, probe), 0);
    host->ClearFailures();
    EXPECT_TRUE(probe.calls.empty());
    EXPECT_EQ(DGDriver::Errors().size(), 2u);  // the two layouts not found
    const auto& log = DGDriver::Log();
    ASSERT_EQ(log.size(), 2u);
    const std::pair<const char*, const char*> told[] = {{"Error", "Error while managing the dialog"},
                                                        {"Error", "Error while finding data."}};
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(log[i].kind, "alert");
        EXPECT_EQ(log[i].title, told[i].first);
        ASSERT_FALSE(log[i].texts.empty());
        EXPECT_EQ(log[i].texts[0], told[i].second);
        EXPECT_EQ(log[i].buttons, std::vector<std::string>{"OK"});
    }
    DGDriver::ClearQueueAndLog();
}

}  // namespace modal_dialog_test
