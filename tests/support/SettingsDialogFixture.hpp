#pragma once
// A project host for driving a settings dialog through its tool's dialog loop: English texts, built-in global
// settings, creation mode, and a driver log that must end without errors or unused actions. A test hands the
// tool's operation the shell's dialogs (shell/EarthworkDialogBoxes), as the commands do.
#include "ProjectHost.hpp"

#include "DGDriver.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "settings/Settings.hpp"

#include <cstdint>

class SettingsDialogTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        GlobalSettings.Reset();
        GlobalSettings.SetBuiltInDefaults(QV_String("Arial"));
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    // The item as the dialog last showed it, or null.
    const DGDriver::ItemState* Item(int16_t dialog, int16_t item) const {
        const DGDriver::ItemState* found = nullptr;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.id == dialog)
                for (const DGDriver::ItemState& s : r.items)
                    if (s.id == item) found = &s;
        return found;
    }
    // How many fields an OK flagged as changed.
    template <typename Cls>
    static int Flags(const Cls& cls) {
        int n = 0;
        for (uint8_t f : cls.changed) n += f;
        return n;
    }
};
