// The shared helpers of the tool dialogs: paths, sort order, the font popup, section removal, the spot height store.
#include "dialogs/tools/DialogUtilities.hpp"

#include "DGDriver.hpp"
#include "ProjectHost.hpp"
#include "TestSupport.hpp"
#include "elements/HostFonts.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace dialog_utilities_test {

std::string Replaced(const char* path, const char* extension) {
    QV_String p(path);
    ReplaceExtension(p, QV_String(extension));
    return p.ToStdString();
}

TEST(DialogUtilitiesTest, ReplaceExtensionCutsOnlyTheFileNamesExtension) {
    EXPECT_EQ(Replaced("C:\\data\\points.txt", "csv"), "C:\\data\\points.csv");
    EXPECT_EQ(Replaced("C:\\data.old\\points", "csv"), "C:\\data.old\\points.csv");  // a folder's dot
    EXPECT_EQ(Replaced("C:\\data\\points.", "csv"), "C:\\data\\points.csv");
    EXPECT_EQ(Replaced("points.a.b", "c"), "points.a.c");
    EXPECT_EQ(Replaced("", "csv"), "");
}

TEST(DialogUtilitiesTest, CompareStringsLessIsAStrictOrder) {
    const char* texts[] = {"", "A", "a", "ab", "b", "Zeta"};
    for (const char* x : texts)
        for (const char* y : texts) {
            const bool less = CompareStringsLess(QV_String(x), QV_String(y));
            EXPECT_FALSE(less && CompareStringsLess(QV_String(y), QV_String(x))) << x << " " << y;
            if (std::string(x) == y) {
                EXPECT_FALSE(less);
            }
        }
}

// The font popup, the section removal and the spot height dialog's store, through the host.

struct Popup {
    std::vector<std::string> texts;
    int32_t selected = -1;
};

int16_t FillCallback(int16_t message, int16_t dialId, int16_t item, DGUserData userData, DGMessageData) {
    auto* run = reinterpret_cast<std::pair<const char*, Popup>*>(userData);
    if (message == DG_MSG_INIT) {
        FillFontPopup(dialId, 4, QV_String(run->first));
        for (int32_t i = 1; i <= DGPopUpGetItemCount(dialId, 4); ++i)
            run->second.texts.push_back(DGPopUpGetItemText(dialId, 4, i).ToUtf8());
        run->second.selected = DGPopUpGetSelected(dialId, 4);
    }
    return message == DG_MSG_CLICK ? item : 0;
}

class DialogUtilitiesHostTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        ASSERT_TRUE(FillHostFontList());  // the project's fonts: Arial (the default text's) and Courier New
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        HostFontList.Clear();
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    Popup Fill(const char* current) {
        std::pair<const char*, Popup> run(current, Popup());
        DGModalDialog(TestSupport::TestResources(), 32000, InvalidResModule, FillCallback,
                      reinterpret_cast<DGUserData>(&run));
        return run.second;
    }
};

using Names = std::vector<std::string>;

TEST_F(DialogUtilitiesHostTest, FontPopupSelectsTheRecordsFontElseTheDefaultTextsElseTheFirst) {
    QV_String name;
    GetDefaultAttributeName(name);
    EXPECT_EQ(name.ToStdString(), "Arial");
    Popup p = Fill("courier NEW");
    EXPECT_EQ(p.texts, (Names{"Arial", "Courier New"}));
    EXPECT_EQ(p.selected, 2);
    // A font no longer there: the default text's, wherever the name order puts it.
    std::strcpy(HostFontList[1].head.name, "Aaa");
    p = Fill("Gone");
    EXPECT_EQ(p.texts, (Names{"Aaa", "Arial"}));
    EXPECT_EQ(p.selected, 2);

    // Fonts of another set are left out; the default text's font among them leaves entry 1.
    HostFontList[0].familyType += 7;
    p = Fill("Arial");
    EXPECT_EQ(p.texts, (Names{"Aaa"}));
    EXPECT_EQ(p.selected, 1);

    // Without the default text nothing can be offered.
    ASSERT_TRUE(host->FailCall("Element_GetDefaults", -1, APIERR_GENERAL));
    GetDefaultAttributeName(name);
    EXPECT_TRUE(name.IsEmpty());
    EXPECT_TRUE(Fill("Arial").texts.empty());
    host->ClearFailures();
}

TEST(DialogUtilitiesTest, RemoveHandleItemByIdDropsTheFirstMatchOnly) {
    QV_List<QV_LibPartSection> sections;
    for (uint32_t type : {10u, 20u, 30u, 20u}) {
        QV_LibPartSection s;
        s.header.sectType = type;
        s.a = type;
        ASSERT_TRUE(sections.Insert(s));
    }
    RemoveHandleItemById(sections, 20);
    RemoveHandleItemById(sections, 99);
    std::vector<double> left;
    for (const QV_LibPartSection& s : sections) left.push_back(s.a);
    EXPECT_EQ(left, (std::vector<double>{10, 30, 20}));
    QV_List<QV_LibPartSection> none;
    RemoveHandleItemById(none, 10);
    EXPECT_EQ(none.GetCount(), 0);
}

TEST(DialogUtilitiesTest, SpotHeightStoreWritesRealFieldsThatMovedAndMarksThem) {
    const std::set<int16_t> reals = {3, 5, 8, 13, 14};
    for (int16_t id = -2; id < 18; ++id)
        for (double shift : {0.0, 5e-8, 2e-7, 40.0})
            for (uint8_t angle : {0, 1}) {
                SpotHeightDlg dlg;
                dlg.record.SetDefaults(QV_String("Arial"));
                const double before = dlg.record.GetReal(id);
                const double shown = angle ? before * 180.0 / M_PI : before;
                const double scale = angle ? M_PI / 180.0 : 1.0;
                SpotHeightDlg::StoreDouble(dlg, id, shown + shift / scale, angle);
                const bool moved = std::fabs(shift) >= 1e-7;
                EXPECT_NEAR(dlg.record.GetReal(id), reals.count(id) && moved ? before + shift : before, 1e-9)
                    << id << " " << shift << " " << int(angle);
                for (int16_t k = 0; k < 16; ++k) EXPECT_EQ(dlg.changed[k], k == id && moved) << id << " " << k;
            }
}

}  // namespace dialog_utilities_test
