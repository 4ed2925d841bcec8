// The SOSI options dialogs driven as a user drives them, on readers that read real SOSI files: the "all" buttons
// and the default pen, choices carried to the next import, the terrain filter's two linked lists, cancel, and
// the worksheet import's proposed reference id and its overwrite question.
#include "LibraryHost.hpp"
#include "SettingsKinds.hpp"
#include "TestSupport.hpp"

#include "DGDriver.hpp"
#include "dialogs/settings/SOSIOptionsDialog.hpp"
#include "dialogs/settings/SOSIWorksheetScan.hpp"
#include "foundation/Language.hpp"
#include "fileio/ReadReport.hpp"
#include "settings/Settings.hpp"
#include "sosi/SOSIFileCls.hpp"
#include "sosi/SOSITypeRowList.hpp"

#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace sosi_options_dialogs_test {

using DGDriver::DialogRef;

constexpr int16_t GDLDialog = 32539;
constexpr int16_t WorksheetDialog = 32542;
constexpr int16_t FilterDialog = 32543;
constexpr int16_t List = 17;

class SosiOptionsDialogsTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        SOSITypeRows().Clear();
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        SOSITypeRows().Clear();
        DGDriver::Reset();
        LibraryHostTest::TearDown();
    }
    // Reads the file and runs the options dialog of `mode` on it; the read's answer.
    static bool Import(SOSIFileCls& reader, const std::string& name, int32_t mode) {
        return ImportPath(reader, TestSupport::DataDir() + "/sosi/" + name, mode);
    }
    static bool ImportPath(SOSIFileCls& reader, const std::string& path, int32_t mode) {
        SOSIFileData file;
        file.path = QV_String(path.c_str(), Encoding_UTF8);
        reader.scan.files.Insert(file);
        reader.importMode = mode;
        // As the import command does: the read's report shown, then the options of the mode asked, the choices
        // shown from the general record and kept there on OK.
        const bool read = reader.ReadSOSIFiles(GlobalSettings.misc);
        ShowReadReport(reader.scan.report);
        MiscSettings& misc = GlobalSettings.misc;
        SOSIOptionChoices choices{misc.sosiChoice, misc.sosiChoice2, misc.worksheetReference, misc.worksheetName};
        if (!read || !RunSOSIOptionsDialog(reader, choices)) return false;
        misc.sosiChoice = choices.defaultPen;
        misc.sosiChoice2 = choices.defaultLineType;
        misc.worksheetReference = choices.worksheetReference;
        misc.worksheetName = choices.worksheetName;
        return true;
    }
    // A click in the middle of a list row's tab field.
    static void ClickCell(int16_t dialog, int32_t row, int32_t begin, int32_t end) {
        DGDriver::QueueClickListRow(dialog, List, row, (begin + end) / 2);
    }
    static const DGDriver::LogRecord* Last(int16_t dialog) {
        const DGDriver::LogRecord* found = nullptr;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "modal" && r.id == dialog) found = &r;
        return found;
    }
    static const DGDriver::ItemState& Item(const DGDriver::LogRecord& record, int16_t item) {
        static const DGDriver::ItemState missing;
        for (const DGDriver::ItemState& s : record.items)
            if (s.id == item) return s;
        return missing;
    }
    static std::string ItemText(const DGDriver::LogRecord& record, int16_t item) { return Item(record, item).text; }
    std::string Setting(int16_t id) { return GlobalSettings.GetString(GeneralKind, id).ToStdString(); }
};

TEST_F(SosiOptionsDialogsTest, ObjectImportButtonsDefaultPenAndTheChoiceCarriedToTheNextImport) {
    SOSIFileCls first;
    // Row 2 imported with its own pen 9, then "all own pen" and a new default pen 5.
    ClickCell(GDLDialog, 2, 6, 26);
    DGDriver::QueueClick(GDLDialog, 13);
    DGDriver::QueueSetLong(GDLDialog, 7, 9);
    DGDriver::QueueSetLong(GDLDialog, 24, 5);
    DGDriver::QueueClick(GDLDialog, 1);
    ASSERT_TRUE(Import(first, "1001_Hoyde.sos", SOSIModeObjects));
    ASSERT_GE(first.scan.types.GetCount(), 3);
    for (int32_t i = 0; i < first.scan.types.GetCount(); ++i) {
        const SOSIOType& row = first.scan.types[i];
        SCOPED_TRACE(row.name.ToStdString());
        // The "all" button passes over the rows that are not imported.
        EXPECT_EQ(row.import, i == 1 ? 1 : 0);
        EXPECT_EQ(row.ownPen, i == 1 ? 1 : 0);
        EXPECT_EQ(row.pen, i == 1 ? 9 : 5);
    }
    EXPECT_EQ(GlobalSettings.GetInt(GeneralKind, MiscSettings::Id::sosiChoice), 5);

    // The next import starts from that choice: OK at once keeps it.
    SOSIFileCls second;
    ASSERT_TRUE(Import(second, "1001_Hoyde.sos", SOSIModeObjects));
    ASSERT_EQ(second.scan.types.GetCount(), first.scan.types.GetCount());
    EXPECT_EQ(second.scan.types[1].import, 1);
    EXPECT_EQ(second.scan.types[1].pen, 9);
    const DGDriver::LogRecord* shown = Last(GDLDialog);
    ASSERT_NE(shown, nullptr);
    for (const DGDriver::ItemState& s : shown->items)
        if (s.id == List) {
            ASSERT_EQ(s.rows.size(), size_t(second.scan.types.GetCount()));
            EXPECT_EQ(s.rows[1].icons[0], 32713);
            EXPECT_EQ(s.rows[0].icons[0], 32716);
            EXPECT_EQ(s.rows[1].texts[4], "9");
        }

    // Cancel: the reader keeps what it read and the import is marked cancelled.
    SOSIFileCls third;
    DGDriver::QueueClick(GDLDialog, 11);
    DGDriver::QueueClick(GDLDialog, 2);
    EXPECT_FALSE(Import(third, "1001_Hoyde.sos", SOSIModeObjects));
    EXPECT_EQ(third.cancelled, 1);
    for (const SOSIOType& row : third.scan.types) EXPECT_EQ(row.import, 0);
}

TEST_F(SosiOptionsDialogsTest, TerrainFilterKeepsItsTwoListsInStepAndDropsHiddenTypes) {
    SOSIFileCls probe;
    SOSIFileData file;
    file.path = QV_String((TestSupport::DataDir() + "/sosi/1001_Hoyde.sos").c_str(), Encoding_UTF8);
    probe.scan.files.Insert(file);
    ASSERT_TRUE(probe.ReadSOSIFiles(GlobalSettings.misc));
    // The first terrain feature is the short list's first row.
    int32_t terrain = -1, other = -1;
    const int32_t shortRow = 0;
    for (int32_t i = 0; i < probe.scan.types.GetCount(); ++i) {
        if (probe.scan.types[i].terrainFeature != 0 && terrain < 0) terrain = i;
        if (probe.scan.types[i].terrainFeature == 0 && other < 0) other = i;
    }
    ASSERT_GE(terrain, 0);
    ASSERT_GE(other, 0);

    // In the short list: the terrain row imported with its own pen 37; then every type shown, a non-terrain
    // row ticked, and the short list shown again before OK.
    SOSIFileCls reader;
    ClickCell(FilterDialog, shortRow + 1, 6, 26);
    ClickCell(FilterDialog, shortRow + 1, 219, 239);
    DGDriver::QueueSetLong(FilterDialog, 7, 37);
    DGDriver::QueueSetLong(FilterDialog, 34, 1);
    ClickCell(FilterDialog, other + 1, 6, 26);
    ClickCell(FilterDialog, terrain + 1, 37, 57);
    DGDriver::QueueSetLong(FilterDialog, 34, 0);
    DGDriver::QueueSetLong(FilterDialog, 30, 1);
    DGDriver::QueueClick(FilterDialog, 1);
    ASSERT_TRUE(Import(reader, "1001_Hoyde.sos", SOSIModeTerrain));
    ASSERT_EQ(reader.scan.types.GetCount(), probe.scan.types.GetCount());
    const SOSIOType& t = reader.scan.types[terrain];
    EXPECT_EQ(t.import, 1);
    EXPECT_EQ(t.ownPen, 1);
    EXPECT_EQ(t.pen, 37);             // edited in the short list, reached the whole list
    EXPECT_EQ(t.secondSwitch[0], 1);  // edited in the whole list, kept
    EXPECT_EQ(reader.scan.types[other].import, 0);
    EXPECT_EQ(reader.showAllTypes, 0);
    EXPECT_EQ(reader.output.dialogSwitch, 1);
    for (const SOSIOType& row : reader.scan.types) EXPECT_EQ(row.index, -1);
    const DGDriver::LogRecord* shown = Last(FilterDialog);
    ASSERT_NE(shown, nullptr);
    for (const DGDriver::ItemState& s : shown->items)
        if (s.id == List) {
            EXPECT_EQ(s.rows[size_t(shortRow)].texts[5], "37");
            EXPECT_EQ(s.rows[size_t(shortRow)].icons[1], 32713);
        }
}

TEST_F(SosiOptionsDialogsTest, WorksheetImportProposesAFreeReferenceAndAsksBeforeOverwriting) {
    GlobalSettings.SetString(GeneralKind, MiscSettings::Id::worksheetReference, QV_String());
    GlobalSettings.SetString(GeneralKind, MiscSettings::Id::worksheetName, QV_String());
    SOSIFileCls first;
    // A wider and taller window: the list and its name column take the growth, the columns right of it move.
    DGDriver::QueueResize(WorksheetDialog, 605, 600);
    DGDriver::QueueClick(WorksheetDialog, 1);
    ASSERT_TRUE(Import(first, "flate_oy.sos", SOSIModeWorksheet));
    EXPECT_EQ(Setting(MiscSettings::Id::worksheetReference), "VY-01");
    EXPECT_EQ(Setting(MiscSettings::Id::worksheetName), "Kartunderlag");
    const DGDriver::ItemState& list = Item(*Last(WorksheetDialog), List);
    ASSERT_EQ(list.tabFields.size(), 8u);
    EXPECT_EQ(list.rect.GetWidth(), 395 + 50);
    EXPECT_EQ(list.rect.GetHeight(), 300 + 60);
    EXPECT_EQ(list.tabFields[0], std::make_pair(6, 26));
    EXPECT_EQ(list.tabFields[1], std::make_pair(37, 227));
    EXPECT_EQ(list.tabFields[7], std::make_pair(372, 432));
    EXPECT_EQ(Item(*Last(WorksheetDialog), 27).rect.top, 455 + 60);

    // That worksheet exists now: the next proposal is VY-02, from the settings' texts.
    API_DatabaseInfo sheet = {};
    sheet.typeID = APIWind_WorksheetID;
    const std::u16string name = u"Kartunderlag", ref = u"VY-01";
    name.copy(sheet.name, name.size());
    ref.copy(sheet.ref, ref.size());
    ASSERT_EQ(Db().NewWorksheet(&sheet), NoError);
    SOSIFileCls second;
    DGDriver::QueueClick(WorksheetDialog, 1);
    ASSERT_TRUE(Import(second, "flate_oy.sos", SOSIModeWorksheet));
    ASSERT_NE(Last(WorksheetDialog), nullptr);
    EXPECT_EQ(ItemText(*Last(WorksheetDialog), 27), "VY-02");
    EXPECT_EQ(Setting(MiscSettings::Id::worksheetReference), "VY-02");

    // Taking the existing pair asks; "Overwrite" clears the add switch.
    SOSIFileCls third;
    third.output.addSwitch = 1;
    DGDriver::QueueSetText(WorksheetDialog, 27, "VY-01");
    DGDriver::QueueClick(WorksheetDialog, 1);
    DGDriver::QueueAlertAnswer(2);
    ASSERT_TRUE(Import(third, "flate_oy.sos", SOSIModeWorksheet));
    EXPECT_EQ(third.output.addSwitch, 0);
    EXPECT_EQ(Setting(MiscSettings::Id::worksheetReference), "VY-01");
    // Another name with the same reference id is another worksheet.
    EXPECT_EQ(ScanIndependentWorksheets(QV_String("VY-01"), QV_String("Kart")), 0);

    // Back from the results dialog the settings' texts stand, even empty ones.
    GlobalSettings.SetString(GeneralKind, MiscSettings::Id::worksheetReference, QV_String());
    SOSIFileCls again;
    again.importAgain = 1;
    DGDriver::QueueClick(WorksheetDialog, 1);
    ASSERT_TRUE(Import(again, "flate_oy.sos", SOSIModeWorksheet));
    EXPECT_EQ(ItemText(*Last(WorksheetDialog), 27), "");

    // Into the current worksheet: its own pair, not to be edited.
    API_WindowInfo window = {};
    window.typeID = APIWind_WorksheetID;
    window.databaseUnId = sheet.databaseUnId;
    ASSERT_EQ(Db().ChangeWindow(window), NoError);
    SOSIFileCls current;
    current.output.namesFromSettings = 0;
    DGDriver::QueueClick(WorksheetDialog, 1);
    ASSERT_TRUE(Import(current, "flate_oy.sos", SOSIModeWorksheet));
    EXPECT_EQ(ItemText(*Last(WorksheetDialog), 27), "VY-01");
    EXPECT_EQ(ItemText(*Last(WorksheetDialog), 29), "Kartunderlag");
    EXPECT_FALSE(Item(*Last(WorksheetDialog), 29).enabled);
}

TEST_F(SosiOptionsDialogsTest, RowColoursMarkDekTeigAndTheTerrainFeaturesWhileEveryTypeIsShown) {
    const std::string path = UserFile("colours.sos");
    std::ofstream(path, std::ios::binary)
        << ".HODE\n..TEGNSETT UTF-8\n...ENHET 0.01\n.KURVE 1:\n..OBJTYPE DekTeig\n..N\xC3\x98\n100 100\n200 200\n"
           ".KURVE 2:\n..OBJTYPE H\xC3\xB8ydekurve\n..H\xC3\x98YDE 10\n..N\xC3\x98\n100 100\n200 200\n"
           ".PUNKT 3:\n..OBJTYPE Bygning\n..N\xC3\x98\n100 100\n.SLUTT\n";
    // Name -> red component and green component of each row's background.
    auto colours = [](int16_t dialog) {
        std::map<std::string, std::pair<int, int>> out;
        for (const DGDriver::RowState& r : Item(*Last(dialog), List).rows)
            out[r.texts[r.texts.size() == 12 ? 2 : 1]] = {r.background.red, r.background.green};
        return out;
    };
    SOSIFileCls all;
    all.showAllTypes = 1;
    DGDriver::QueueClick(FilterDialog, 1);
    ASSERT_TRUE(ImportPath(all, path, SOSIModeTerrain));
    std::map<std::string, std::pair<int, int>> shown = colours(FilterDialog);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown["DekTeig"], std::make_pair(65535, 0));
    EXPECT_EQ(shown["H\xC3\xB8ydekurve"], std::make_pair(60000, 60000));
    EXPECT_EQ(shown["Bygning"], std::make_pair(65535, 65535));

    // The object import marks DekTeig alone.
    SOSIFileCls objects;
    DGDriver::QueueClick(GDLDialog, 1);
    ASSERT_TRUE(ImportPath(objects, path, SOSIModeObjects));
    shown = colours(GDLDialog);
    EXPECT_EQ(shown["DekTeig"], std::make_pair(65535, 0));
    EXPECT_EQ(shown["H\xC3\xB8ydekurve"], std::make_pair(65535, 65535));
}

TEST_F(SosiOptionsDialogsTest, AWorksheetProposalTheResourcesWouldNotGiveIsNeverTaken) {
    // Each resource read of the import refused alone, up to the last one: the proposed id and name become the
    // worksheet's, and are never the missing-text marker.
    for (int n = 0;; ++n) {
        GlobalSettings.SetString(GeneralKind, MiscSettings::Id::worksheetReference, QV_String());
        GlobalSettings.SetString(GeneralKind, MiscSettings::Id::worksheetName, QV_String());
        SOSITypeRows().Clear();
        std::map<std::string, int64_t> called;
        host->RecordCalls(&called);
        ASSERT_TRUE(host->FailCallAfter("GetOwnResModule", -1, APIERR_GENERAL, n, 1));
        SOSIFileCls reader;
        DGDriver::QueueClick(WorksheetDialog, 1);
        const bool taken = Import(reader, "flate_oy.sos", SOSIModeWorksheet);
        host->ClearFailures();
        host->RecordCalls(nullptr);
        DGDriver::Reset();
        if (taken) {
            EXPECT_EQ(Setting(MiscSettings::Id::worksheetReference), "VY-01") << "read " << n << " refused";
            EXPECT_EQ(Setting(MiscSettings::Id::worksheetName), "Kartunderlag") << "read " << n << " refused";
        }
        ASSERT_GT(called["GetOwnResModule"], 0);
        if (called["GetOwnResModule"] <= n) break;
    }
}

TEST(SosiWorksheetReference, TrailingNumberGrowsByOneAtItsWidth) {
    const std::pair<const char*, const char*> cases[] = {
        {"VY-01", "VY-02"}, {"X9", "X10"},       {"A-099", "A-100"},
        {"Z007", "Z008"},   {"ABC", "ABC-01"},   {"", "-01"},
        {"99", "100"},      {"K-1-9", "K-1-10"}, {"R99999999999999999999", "R100000000000000000000"}};
    for (const auto& [from, to] : cases) EXPECT_EQ(NextWorksheetReference(QV_String(from)).ToStdString(), to) << from;
}

}  // namespace sosi_options_dialogs_test
