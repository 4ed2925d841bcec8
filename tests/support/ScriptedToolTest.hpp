#pragma once
// A library-host test for a tool that asks through scripted dialogs: each test starts with an empty script and
// English texts, and must use up every scripted action.
#include "LibraryHost.hpp"

#include "DGDriver.hpp"
#include "foundation/Language.hpp"

class ScriptedToolTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        if (HasFatalFailure()) return;
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        LibraryHostTest::TearDown();
    }
    // The last state the dialog's log shows of `item` in dialog `dialog`, or null.
    const DGDriver::ItemState* Item(int16_t dialog, int16_t item) const {
        const DGDriver::ItemState* found = nullptr;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.id == dialog)
                for (const DGDriver::ItemState& s : r.items)
                    if (s.id == item) found = &s;
        return found;
    }
};
