// "Curve segmentation settings" before a SOSI build: asked only when curved objects are there, its values kept
// for the next import on OK and left alone on Cancel.
#include "ProjectHost.hpp"
#include "DGDriver.hpp"
#include "dialogs/tools/SOSICurveSegmentationDialog.hpp"
#include "foundation/Language.hpp"
#include "sosi/SOSIFileCls.hpp"
#include "sosi/SOSIOutput.hpp"

#include <map>
#include <string>

namespace sosi_curve_segmentation_dialog_test {

constexpr int16_t DialogId = 32744;

class SosiCurveSegmentationDialogTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        SOSICurveSegmentationValues() = SOSICurveSegmentation();
    }
    void TearDown() override {
        SOSICurveSegmentationValues() = SOSICurveSegmentation();
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    static void Add(SOSIFileCls& reader, int16_t kind) {
        SOSIData d;
        d.geometryKind = kind;
        reader.assembly.data.Insert(d);
    }
};

TEST_F(SosiCurveSegmentationDialogTest, AskedOnlyForCurvesAndKeptOnOk) {
    SOSIFileCls reader;
    for (int16_t kind : {SOSIKindPoint, SOSIKindLine, SOSIKindCurve, SOSIKindText, SOSIKindSurface}) Add(reader, kind);
    EXPECT_TRUE(AskSOSICurveSegmentation(reader));
    EXPECT_TRUE(DGDriver::Log().empty());

    for (int16_t kind : {SOSIKindArcByRadius, SOSIKindCircleByPoints, SOSIKindBezier}) {
        SOSIFileCls curved;
        Add(curved, kind);
        DGDriver::QueueClick(DialogId, 1);
        EXPECT_TRUE(AskSOSICurveSegmentation(curved));
    }
    ASSERT_EQ(DGDriver::Log().size(), 3u);
    const DGDriver::LogRecord& shown = DGDriver::Log().back();
    EXPECT_EQ(shown.title, "Curve segmentation settings");
    std::map<int16_t, DGDriver::ItemState> items;
    for (const DGDriver::ItemState& s : shown.items) items[s.id] = s;
    EXPECT_EQ(items[3].text, "Curved side segmentation");
    EXPECT_FALSE(items[13].visible);
    EXPECT_EQ(items[6].value, 12.0);
    EXPECT_EQ(items[12].value, 3.0);
    EXPECT_EQ(items[10].value, 0.1);

    Add(reader, SOSIKindArcByPoints);
    DGDriver::QueueSetLong(DialogId, 6, 24);
    DGDriver::QueueSetLong(DialogId, 12, 5);
    DGDriver::QueueSetDouble(DialogId, 10, 0.5);
    DGDriver::QueueClick(DialogId, 1);
    EXPECT_TRUE(AskSOSICurveSegmentation(reader));
    EXPECT_EQ(SOSICurveSegmentationValues().segments, 24);
    EXPECT_EQ(SOSICurveSegmentationValues().smallSegments, 5);
    EXPECT_EQ(SOSICurveSegmentationValues().smallRadius, 0.5);

    DGDriver::QueueSetLong(DialogId, 6, 7);
    DGDriver::QueueClick(DialogId, 2);
    EXPECT_FALSE(AskSOSICurveSegmentation(reader));
    EXPECT_EQ(SOSICurveSegmentationValues().segments, 24);
}

}  // namespace sosi_curve_segmentation_dialog_test
