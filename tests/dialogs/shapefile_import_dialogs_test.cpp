// The shapefile import's dialogs driven as a user drives them: the results dialogs' data position and import area,
// the exclusive terrain options and the height field; the object choice's field ticks; the new object's name.
#include "LibraryHost.hpp"

#include "DGDriver.hpp"
#include "dialogs/settings/GISSelectDialog.hpp"
#include "dialogs/settings/NewObjectNameDialog.hpp"
#include "dialogs/settings/ShapeImportResultsDialog.hpp"
#include "fileio/GISObjects.hpp"
#include "foundation/Language.hpp"

namespace shapefile_import_dialogs_test {

using DGDriver::DialogRef;

class ShapefileImportDialogsTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        ShapeImportData& d = data;
        d.minX = 1000.0;
        d.minY = 2000.0;
        d.maxX = 1500.0;
        d.maxY = 2400.0;
        SetImportSummary(d);
        DBFFieldData text, integer, decimals;
        text.name = QV_String("NAME");
        integer.name = QV_String("ID");
        integer.kind = 0;
        decimals.name = QV_String("elev");
        decimals.kind = -2;
        d.fields.Insert(text);
        d.fields.Insert(integer);
        d.fields.Insert(decimals);
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        LibraryHostTest::TearDown();
    }
    ShapeImportData data;
};

TEST_F(ShapefileImportDialogsTest, ResultsKeepTheAreaAbsoluteWhileTheOffsetMoves) {
    GISImportOptions& o = data.options;
    const DialogRef page = DialogRef::Page(ShapeResultsTerrainDialogId, 3, 1);
    // Data minimum x shown 100: the offset is 900 and the area, shown relative to it, keeps its place.
    DGDriver::QueueSetDouble(page, 16, 100.0);
    DGDriver::QueueSetLong(page, 12, 1);
    // y min above y max: swapped, then both held inside the data's y range.
    DGDriver::QueueSetDouble(page, 20, 2500.0);
    DGDriver::QueueSetDouble(page, 26, 2100.0);
    DGDriver::QueueSetLong(ShapeResultsTerrainDialogId, 8, 1);
    DGDriver::QueueSetLong(ShapeResultsTerrainDialogId, 9, 1);
    DGDriver::QueueSetLong(ShapeResultsTerrainDialogId, 10, 1);
    DGDriver::QueueClick(ShapeResultsTerrainDialogId, 1);
    ASSERT_TRUE(RunTerrainResultsDialogs(data));
    EXPECT_DOUBLE_EQ(o.offsetX, 900.0);
    EXPECT_DOUBLE_EQ(o.offsetY, 0.0);
    EXPECT_EQ(o.limited, 1);
    EXPECT_DOUBLE_EQ(o.areaMinX, 1000.0);
    EXPECT_DOUBLE_EQ(o.areaMaxX, 1500.0);
    EXPECT_DOUBLE_EQ(o.areaMinY, 2100.0);
    EXPECT_DOUBLE_EQ(o.areaMaxY, 2400.0);
    // Thinning wins over contours; the height pop-up offers the field with decimals.
    EXPECT_EQ(o.withContours, 0);
    EXPECT_EQ(o.verticalThinning, 1);
    EXPECT_EQ(o.heightFromField, 1);
    EXPECT_EQ(o.heightField, 2);

    // Without a field with decimals the pop-up holds "----" alone, and the height field is none.
    data.fields.Remove(2);
    DGDriver::QueueSetLong(ShapeResultsObjectsDialogId, 10, 1);
    DGDriver::QueueClick(ShapeResultsObjectsDialogId, 12);
    DGDriver::QueueClick(ShapeResultsObjectsTwinDialogId, 1);
    ASSERT_TRUE(RunImportResultsDialogs(data));
    EXPECT_EQ(o.heightFromField, 1);
    EXPECT_EQ(o.heightField, -1);
    DGDriver::QueueClick(ShapeResultsObjectsDialogId, 2);
    EXPECT_FALSE(RunImportResultsDialogs(data));
}

TEST_F(ShapefileImportDialogsTest, CountsShowWholeInBothLayouts) {
    data.options.identified = 1433712;
    data.options.importable = 1433700;
    data.options.toCorrect = 12;
    DGDriver::QueueClick(ShapeResultsObjectsDialogId, 12);  // to the second layout
    DGDriver::QueueClick(ShapeResultsObjectsTwinDialogId, 1);
    ASSERT_TRUE(RunImportResultsDialogs(data));
    struct Layout {
        int16_t id, counts[3];
    };
    for (const Layout& l :
         {Layout{ShapeResultsObjectsDialogId, {4, 6, 8}}, Layout{ShapeResultsObjectsTwinDialogId, {3, 5, 7}}}) {
        std::vector<std::string> shown;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "modal" && r.id == l.id)
                for (const DGDriver::LogRecord& page : r.pages)
                    for (int16_t item : l.counts)
                        for (const DGDriver::ItemState& s : page.items)
                            if (s.id == item) shown.push_back(s.text);
        EXPECT_EQ(shown, (std::vector<std::string>{"1433712", "1433700", "12"})) << l.id;
    }
}

TEST_F(ShapefileImportDialogsTest, ObjectChoiceTicksFieldsAndSetsTheMode) {
    CollectGISObjectNames(data.options);
    ASSERT_GE(data.options.allObjects.GetCount(), 2);
    GISSelectBlock block;
    // "Select All", then a click into the first row's tick column clears that one again.
    DGDriver::QueueClick(GISSelectDialogId, 8);
    DGDriver::QueueClickListRow(GISSelectDialogId, 7, 1, 10);
    DGDriver::QueueClick(GISSelectDialogId, 1);
    ASSERT_TRUE(OpenGisObjectSelectionDialog(block, data));
    EXPECT_EQ(data.options.objectMode, 1);
    EXPECT_EQ(data.fields[0].selected, 0);
    EXPECT_EQ(data.fields[1].selected, 1);
    // The existing object chosen in the second pop-up.
    DGDriver::QueueClick(GISSelectDialogId, 9);
    DGDriver::QueuePickPopUpItem(GISSelectDialogId, 10, 2);
    DGDriver::QueueClick(GISSelectDialogId, 1);
    ASSERT_TRUE(OpenGisObjectSelectionDialog(block, data));
    EXPECT_EQ(data.options.objectMode, 2);
    EXPECT_EQ(data.options.chosenObject, 1);
    // Without any GIS object an existing one cannot be chosen: OK stays refused until the user takes another way.
    data.options.allObjects.Clear();
    DGDriver::QueueClick(GISSelectDialogId, 12);
    DGDriver::QueueClick(GISSelectDialogId, 1);
    DGDriver::QueueClick(GISSelectDialogId, 3);
    DGDriver::QueueClick(GISSelectDialogId, 1);
    ASSERT_TRUE(OpenGisObjectSelectionDialog(block, data));
    EXPECT_EQ(data.options.objectMode, 1);
    EXPECT_EQ(data.options.chosenObject, 0);
}

TEST_F(ShapefileImportDialogsTest, ParameterRowsShowWhichFieldsFeedThem) {
    CollectGISObjectNames(data.options);
    ASSERT_GE(data.options.allObjects.GetCount(), 2);
    // A field named like the second object's first parameter that a field can feed, of a fitting kind.
    FillGISParamTable(data.options.allObjects[1]);
    QV_String fed;
    for (const SHPParamData& row : GISParamTable)
        for (int16_t kind : {int16_t(1), int16_t(0), int16_t(-2)})
            if (fed.IsEmpty() && FieldFitsParam(kind, row.type)) {
                fed = row.description;
                DBFFieldData f;
                f.name = fed;
                f.kind = kind;
                data.fields.Insert(f);
            }
    ASSERT_FALSE(fed.IsEmpty());
    GISSelectBlock block;
    DGDriver::QueueClick(GISSelectDialogId, 9);
    DGDriver::QueuePickPopUpItem(GISSelectDialogId, 10, 2);
    DGDriver::QueueClick(GISSelectDialogId, 2);
    EXPECT_FALSE(OpenGisObjectSelectionDialog(block, data));
    const DGDriver::ItemState* list = nullptr;
    for (const DGDriver::LogRecord& r : DGDriver::Log())
        if (r.kind == "modal" && r.id == GISSelectDialogId)
            for (const DGDriver::ItemState& item : r.items)
                if (item.id == 11) list = &item;
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->rows.size(), size_t(GISParamTable.GetCount()));
    int blue = 0;
    for (size_t r = 0; r < list->rows.size(); ++r) {
        const SHPParamData& row = GISParamTable[int32_t(r)];
        const DGColorRec c = list->rows[r].colour;
        bool fits = false;
        for (int16_t kind : {int16_t(1), int16_t(0), int16_t(-2)}) fits = fits || FieldFitsParam(kind, row.type);
        if (!fits) {
            EXPECT_EQ(c.red, 65535) << r;
            EXPECT_EQ(list->rows[r].style, 20) << r;
        } else {
            const bool covered = row.description.Compare(fed) == 0;
            EXPECT_EQ(c.blue, covered ? 65535 : 0) << r;
            EXPECT_EQ(c.red, 0) << r;
            blue += covered ? 1 : 0;
        }
    }
    EXPECT_GE(blue, 1);
}

TEST_F(ShapefileImportDialogsTest, NewNamesAreNeitherPathsNorLoadedParts) {
    for (const char* refused : {"", "\\", "GIS_PROTOTYPE", "GIS_PROTOTYPE.gsm", "GIS_COUNTIES\\", "..\\escape",
                                "sub/dir", "a..b", "c:\\lib\\x"})
        EXPECT_FALSE(NewObjectNameAccepted(QV_String(refused))) << refused;
    for (const char* accepted : {"NC_COUNTY", "Bench.gsm", "New\\"})
        EXPECT_TRUE(NewObjectNameAccepted(QV_String(accepted))) << accepted;
    // A name in use keeps the dialog open with its alert; the block takes the text as typed.
    NewObjectNameBlock block;
    DGDriver::QueueSetText(NewObjectNameDialogId, 3, "GIS_PARCELS");
    DGDriver::QueueClick(NewObjectNameDialogId, 1);
    DGDriver::QueueAlertAnswer(1);
    DGDriver::QueueSetText(NewObjectNameDialogId, 3, "Parcels.gsm");
    DGDriver::QueueClick(NewObjectNameDialogId, 1);
    ASSERT_TRUE(OpenNewObjectNameDialog(block));
    EXPECT_EQ(block.name.Compare(QV_String("Parcels.gsm")), 0);
}

// Shapes without a coordinate leave no data box: its items and the area's are empty, never the unset extremes,
// and the offset stays.
TEST_F(ShapefileImportDialogsTest, NoDataBoxShowsEmptyItems) {
    data.minX = data.minY = ShapeEmptyBound;
    data.maxX = data.maxY = -ShapeEmptyBound;
    SetImportSummary(data);
    DGDriver::QueueClick(ShapeResultsTerrainDialogId, 1);
    ASSERT_TRUE(RunTerrainResultsDialogs(data));
    EXPECT_EQ(data.options.offsetX, 0.0);
    size_t edits = 0;
    for (const DGDriver::LogRecord& r : DGDriver::Log())
        if (r.kind == "modal" && r.id == ShapeResultsTerrainDialogId)
            for (const DGDriver::LogRecord& page : r.pages)
                for (const DGDriver::ItemState& item : page.items)
                    if (item.kind == "realedit" || item.kind == "lengthedit") {
                        ++edits;
                        EXPECT_EQ(item.text, "") << item.id;
                    }
    EXPECT_EQ(edits, 8u);
    EXPECT_EQ(DGDriver::LogText().find("1.797"), std::string::npos);
}

}  // namespace shapefile_import_dialogs_test
