#pragma once
// An in-process stand-in host attached to the module, which speaks English and has shown no dialog yet: the base
// of tests that read the module's texts or the alerts it shows.
#include "InProcessHost.hpp"

#include "DGDriver.hpp"
#include "foundation/Language.hpp"

class EnglishHostTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Attach());
        LanguageIndex = LanguageEnglish;
        DGDriver::Reset();
    }
    void TearDown() override {
        DGDriver::Reset();
        InProcessHostTest::TearDown();
    }
};
