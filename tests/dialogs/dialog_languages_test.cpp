// The dialogs in every language: no title or item shows the English text of a table entry where the table of the
// user's language has another. Only some tables ship in every language; for the others the test gives each
// language a marked copy of the English table, so that a text the code leaves as the layout wrote it shows up.
#include "ProjectHost.hpp"

#include "DGDriver.hpp"
#include "ResourceDriver.hpp"
#include "TestSupport.hpp"
#include "dialogs/settings/BasinSettingsDialog.hpp"
#include "dialogs/settings/BridgeSettingsDialog.hpp"
#include "dialogs/settings/BuildingSettingsDialog.hpp"
#include "dialogs/settings/ColouredAreaSettingsDialog.hpp"
#include "dialogs/settings/ConstraintSettingsDialog.hpp"
#include "dialogs/settings/ContourAltitudeDialog.hpp"
#include "dialogs/settings/ContourLineSettingsDialog.hpp"
#include "dialogs/settings/OutlineSettingsDialog.hpp"
#include "dialogs/settings/PointExportSettingsDialog.hpp"
#include "dialogs/settings/PointSettingsDialog.hpp"
#include "dialogs/settings/SpotHeightSettingsDialog.hpp"
#include "dialogs/settings/TerrainSettingsDialog.hpp"
#include "dialogs/settings/Tree2DSettingsDialog.hpp"
#include "dialogs/settings/WallSettingsDialog.hpp"
#include "dialogs/settings/TreeSettingsDialog.hpp"
#include "dialogs/tools/AboutDialog.hpp"
#include "dialogs/tools/AddonSettingsDialog.hpp"
#include "dialogs/tools/CameraSettingsDialog.hpp"
#include "dialogs/tools/CurveSegmentationDialog.hpp"
#include "dialogs/tools/MeshConversionDialog.hpp"
#include "dialogs/tools/SectionSettingsDialog.hpp"
#include "dialogs/tools/SlopeAnalysisDialog.hpp"
#include "dialogs/tools/UpdateConfirmDialog.hpp"
#include "earthworks/Digging.hpp"
#include "earthworks/Obstacle.hpp"
#include "earthworks/Road.hpp"
#include "earthworks/Sidewalk.hpp"
#include "foundation/Language.hpp"
#include "settings/Settings.hpp"
#include "shell/EarthworkDialogBoxes.hpp"

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace dialog_languages_test {

namespace fs = std::filesystem;

constexpr int32_t TableGroups[] = {
    MenuTextTableBase, ErrorTableBase,  PromptTableBase, GeneralTableBase, TitleTableBase, UndoTableBase,
    SOSITableBase,     ImportTableBase, 32590,           CommonTableBase};

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

// Items whose text the layout itself fixes: the earthwork dialogs' "2D view" check boxes, the bridge's "Railway".
const std::pair<int32_t, int16_t> FixedTexts[] = {{32554, 35}, {32504, 35}, {32553, 35}, {32505, 34},
                                                  {32515, 21}, {32579, 51}, {32579, 54}};

bool FixedText(int32_t dialog, int16_t item) {
    for (const auto& [d, i] : FixedTexts)
        if (d == dialog && i == item) return true;
    return false;
}

// One dialog as the user opens it: `open` runs it to its end (the dialog manager answers what is not queued).
struct DialogCase {
    const char* name;
    std::vector<int32_t> layouts;  // each must open
    std::function<void()> open;
};

class DialogLanguagesTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        GlobalSettings.Reset();
        GlobalSettings.SetBuiltInDefaults(QV_String("Arial"));
        shipped_ = host->Session().resModule;
        folder_ = fs::path(TestSupport::UserFolder()) / "languages";
        fs::remove_all(folder_);
        fs::copy(TestSupport::BinDir() + "/resources", folder_, fs::copy_options::recursive);
        for (const int32_t group : TableGroups) {
            const int32_t english = group + LanguageEnglish;
            const int32_t count = RSGetIndStringCount(RSType_STRS, english, shipped_);
            for (int16_t language = 0; language < LanguageCount; ++language) {
                const int32_t id = group + language;
                if (language == LanguageEnglish || RSResourceExists(RSType_STRS, id, shipped_)) continue;
                std::ofstream out(folder_ / "STRS" / (std::to_string(id) + ".txt"), std::ios::binary);
                for (int32_t index = 1; index <= count; ++index) {
                    GS::UniString text;
                    if (RSGetIndString(&text, english, index, shipped_))
                        out << index << "=[" << LanguageCodes[language].ToStdString() << "] " << Escaped(text.ToUtf8())
                            << "\n";
                }
            }
        }
        marked_ = ResourceDriver::OpenResourceFolder(folder_.string());
        ASSERT_NE(marked_, InvalidResModule);
        host->Session().resModule = marked_;
        // Every English entry by its text.
        for (const int32_t group : TableGroups) {
            const int32_t english = group + LanguageEnglish;
            const int32_t count = RSGetIndStringCount(RSType_STRS, english, marked_);
            for (int32_t index = 1; index <= count; ++index) {
                GS::UniString text;
                if (RSGetIndString(&text, english, index, marked_) && text.GetLength() > 0)
                    englishEntries_[text.ToUtf8()].push_back({group, index});
            }
        }
    }
    void TearDown() override {
        LanguageIndex = LanguageEnglish;
        host->Session().resModule = shipped_;
        ResourceDriver::CloseResourceModule(marked_);
        DGDriver::Reset();
        fs::remove_all(folder_);
        ProjectHostTest::TearDown();
    }

    // The shown text is English where the language's table has another text for the same entry.
    void ExpectLocalised(const std::string& shown, int16_t language, const std::string& where) {
        const auto entries = englishEntries_.find(shown);
        if (entries == englishEntries_.end()) return;
        for (const auto& [group, index] : entries->second) {
            QV_String local;
            GetResStringForLanguage(local, group + language, index, language);
            if (local.ToStdString(Encoding_UTF8) != shown)
                ADD_FAILURE() << where << " shows \"" << shown << "\" (entry " << index << " of table " << group
                              << ") in language " << language << ", where the table has \""
                              << local.ToStdString(Encoding_UTF8) << "\"";
        }
    }

    void ExpectEveryLanguage(const std::vector<DialogCase>& cases) {
        for (int16_t language = 0; language < LanguageCount; ++language) {
            LanguageIndex = language;
            for (const DialogCase& c : cases) {
                DGDriver::Reset();
                c.open();
                for (const int32_t layout : c.layouts) {
                    bool opened = false;
                    for (const DGDriver::LogRecord& r : DGDriver::Log()) opened = opened || r.id == layout;
                    EXPECT_TRUE(opened) << c.name << " did not open " << layout;
                }
                for (const DGDriver::LogRecord& r : DGDriver::Log()) {
                    if (r.kind != "modal" && r.kind != "modeless") continue;
                    const std::string dialog = std::string(c.name) + " (" + std::to_string(r.id) + ")";
                    ExpectLocalised(r.title, language, dialog + " title");
                    for (const DGDriver::ItemState& s : r.items)
                        if (!FixedText(r.id, s.id))
                            ExpectLocalised(s.text, language, dialog + " item " + std::to_string(s.id));
                }
            }
        }
        LanguageIndex = LanguageEnglish;
    }

    GSResModule shipped_ = InvalidResModule;
    GSResModule marked_ = InvalidResModule;
    fs::path folder_;
    std::map<std::string, std::vector<std::pair<int32_t, int32_t>>> englishEntries_;
};

TEST_F(DialogLanguagesTest, EarthworkDialogsShowTheUsersLanguage) {
    EarthworkDialogBoxes dialogs;
    ExpectEveryLanguage({
        {"road settings",
         {32554, 32504},
         [&] {
             RoadCls road;
             DGDriver::QueueClick(32554, 44);
             DGDriver::QueueClick(32504, 2);
             road.RunSettingsDialog(GlobalSettings.misc, dialogs, SettingsMode::ToolDefaults, true, false, false);
         }},
        {"plateau settings",
         {32553, 32505},
         [&] {
             DiggingCls plateau;
             double direction = 0.0;
             uint8_t directionChanged = 0;
             DGDriver::QueueClick(32553, 44);
             DGDriver::QueueClick(32505, 2);
             plateau.RunSettingsDialog(dialogs, SettingsMode::ToolDefaults, direction, directionChanged, false, false);
         }},
        {"sidewalk settings",
         {32552, 32515},
         [&] {
             SideWalkCls sidewalk;
             DGDriver::QueueClick(32552, 28);
             DGDriver::QueueClick(32515, 2);
             sidewalk.RunSidewalkSettingsDialog(dialogs, SettingsMode::ToolDefaults, 0);
         }},
        {"retaining wall settings",
         {32560, 32517},
         [&] {
             ObstacleCls wall;
             wall.settings.SetDefaults();
             DGDriver::QueueClick(32560, 36);
             DGDriver::QueueClick(32517, 2);
             wall.RunSettingsDialog(GlobalSettings.misc, dialogs, SettingsMode::ToolDefaults, 0);
         }},
    });
}

TEST_F(DialogLanguagesTest, SiteObjectDialogsShowTheUsersLanguage) {
    ExpectEveryLanguage({
        {"wall settings",
         {32550, 32512},
         [] {
             WallDialogState state;
             state.record.SetDefaults();
             DGDriver::QueueClick(32550, 34);
             DGDriver::QueueClick(32512, 2);
             OpenWallSettingsDialog(state, SettingsMode::ToolDefaults);
         }},
        {"building settings",
         {32561, 32513},
         [] {
             BuildingDialogState state;
             state.record.SetDefaults();
             DGDriver::QueueClick(32561, 36);
             DGDriver::QueueClick(32513, 2);
             OpenBuildingSettingsDialog(state, SettingsMode::ToolDefaults);
         }},
        {"coloured area settings",
         {32562, 32511},
         [] {
             PaintDialogState state;
             state.record.SetDefaults();
             DGDriver::QueueClick(32562, 36);
             DGDriver::QueueClick(32511, 2);
             OpenColouredAreaSettingsDialog(state, SettingsMode::ToolDefaults);
         }},
        {"spot height settings",
         {32551, 32518},
         [] {
             MarkerDialogState state;
             state.record.SetDefaults(QV_String("Arial"));
             DGDriver::QueueClick(32551, 39);
             DGDriver::QueueClick(32518, 2);
             OpenSpotHeightSettingsDialog(state, SettingsMode::ToolDefaults);
         }},
        {"basin settings",
         {32559, 32516},
         [] {
             BasinSettings record;
             record.SetDefaults();
             uint8_t changed[Basin::BasinFieldCount] = {};
             DGDriver::QueueClick(32559, 33);
             DGDriver::QueueClick(32516, 2);
             RunBasinSettingsLayouts(record, changed, SettingsMode::ToolDefaults);
         }},
        {"bridge settings",
         {32579},
         [] {
             BridgeSettings record;
             record.SetDefaults();
             uint8_t changed[BridgeFieldCount] = {};
             DGDriver::QueueClick(32579, 2);
             OpenBridgeSettingsDialog(record, changed, false, SettingsMode::ToolDefaults);
         }},
    });
}

TEST_F(DialogLanguagesTest, SettingsAndToolDialogsShowTheUsersLanguage) {
    ExpectEveryLanguage({
        {"constraint settings",
         {32545, 32509},
         [] {
             ConstraintSettings record;
             uint8_t changed[3] = {};
             DGDriver::QueueClick(32545, 15);
             DGDriver::QueueClick(32509, 2);  // both layouts
             RunConstraintSettingsDialog(record, changed, SettingsMode::ToolDefaults);
         }},
        {"terrain settings",
         {32547, 32503},
         [] {
             TerrainSettings record;
             record.SetDefaults();
             ContourLineSettings contour;
             contour.SetDefaults();
             TerrainDialogBlock block;
             DGDriver::QueueClick(TerrainSettingsDialogId, 2);
             OpenTerrainSettingsDialog(block, record, record, contour, 1, 0, 100.0, 108.0, 0);
             DGDriver::QueueClick(TerrainSettingsDialogTwinId, 2);
             OpenTerrainSettingsDialogTwin(block, record, record, contour, 1, 0);
         }},
        {"point settings",
         {32555, 32508},
         [] {
             PointSettings record;
             record.SetDefaults();
             uint8_t changed[6] = {};
             DGDriver::QueueClick(32555, 20);
             DGDriver::QueueClick(32508, 2);
             RunPointSettingsDialog(record, changed, SettingsMode::ToolDefaults);
         }},
        {"outline settings",
         {32546, 32502},
         [] {
             OutlineDialogRecord record;
             uint8_t changed[7] = {};
             DGDriver::QueueClick(32546, 25);
             DGDriver::QueueClick(32502, 2);
             RunOutlineSettingsDialog(record, changed, SettingsMode::ToolDefaults);
         }},
        {"contour altitude",
         {32566, 32507},
         [] {
             ContourAltitudeSettings record;
             record.SetDefaults();
             uint8_t flags[5] = {};
             DGDriver::QueueClick(32566, 23);
             DGDriver::QueueClick(32507, 2);
             RunContourAltitudeDialog(record, flags, SettingsMode::ToolDefaults);
         }},
        {"contour line settings",
         {32549, 32506},
         [] {
             ContourLineSettings record;
             record.SetDefaults();
             uint8_t changed[ContourLineSettings::FieldCount] = {};
             DGDriver::QueueClick(32549, 36);
             DGDriver::QueueClick(32506, 2);
             RunContourLineSettingsDialog(record, changed, 100.0, 108.0, true, SettingsMode::ToolDefaults);
         }},
        {"tree settings",
         {32564, 32525},
         [] {
             TreeSettings record;
             record.font = QV_String("Arial");
             TreeChangeFlags flags;
             DGDriver::QueueClick(32564, 59);
             DGDriver::QueueClick(32525, 2);
             RunTreeSettingsDialogs(record, flags, SettingsMode::ToolDefaults);
         }},
        {"tree 2D settings",
         {32565, 32526},
         [] {
             TreeSettings record;
             record.font = QV_String("Arial");
             uint8_t flags[64] = {};
             DGDriver::QueueClick(32565, 37);
             DGDriver::QueueClick(32526, 2);
             EditTree2DSettings(record, flags, SettingsMode::ToolDefaults);
         }},
        {"point export settings",
         {32567},
         [] {
             TextExportRec record;
             DGDriver::QueueClick(32567, 2);
             RunPointExportSettings(record);
         }},
        {"section settings",
         {32556, 32520},
         [] {
             SectionDialogState state;
             state.record.SetDefaults(QV_String("Arial"));
             DGDriver::QueueClick(32556, 48);
             DGDriver::QueueClick(32520, 2);
             RunSectionSettingsDialog(state, SettingsMode::ToolDefaults);
         }},
        {"about", {32529}, [] { OpenAboutDialog(); }},
        {"add-on settings",
         {32557, 32521},
         [] {
             DGDriver::QueueClick(32557, 15);
             DGDriver::QueueClick(32521, 2);
             RunAddonSettingsDialog();
         }},
        {"camera distance",
         {32558},
         [] {
             double distance = 10.0;
             DGDriver::QueueClick(32558, 2);
             AskCameraDistance(distance, 80.0, SettingsMode::ToolDefaults);
         }},
        {"curve segmentation",
         {32536},
         [] {
             CurveSegmentationRecord record = {1, 1.0, 36};
             DGDriver::QueueClick(CurveSegmentationDialogId, 2);
             AskCurveSegmentation(record);
         }},
        {"slope analysis",
         {32548},
         [] {
             SlopeRangeSettings record;
             record.SetDefaults(QV_String("Arial"));
             uint8_t changed[SlopeRangeSettings::FieldCount] = {};
             RunSlopeAnalysisDialog(record, changed, SettingsMode::ToolDefaults);
         }},
        {"mesh conversion",
         {32527},
         [] {
             MeshConversionDialogData data = {};
             OpenMeshConversionDialog(data);
         }},
        {"update notice",
         {32574},
         [] {
             UpdateConfirmDialogData data = {0, 0};
             OpenUpdateConfirmDialog(data);
         }},
    });
}

}  // namespace dialog_languages_test
