// Interactive point and line input against the stand-in host's queue of clicks: records, filters, prompts,
// cancels, and the rubber-line feedback.
#include "ProjectHost.hpp"
#include "foundation/PointInput.hpp"

#include "CH.hpp"

#include <string>
#include <vector>

namespace point_input_test {

std::vector<API_Coord3D> g_chained;
void ChainedA(const API_Coord3D* p) { g_chained.push_back(*p); }
void ChainedB(const API_Coord3D* p) { g_chained.push_back({p->x + 1000.0, p->y, p->z}); }

class PointInputTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        g_chained.clear();
        ResetInputFeedback();
    }
    InteractiveInput& In() { return host->Input(); }
    void Click(double x, double y, const API_Guid& on = APINULLGuid, int32_t part = 0) {
        QueuedClick c;
        c.point = {x, y, 0.0};
        c.element = on;
        c.partIndex = part;
        In().QueueClick(c);
    }
    GSErrCode Point(API_Coord3D& p, API_Neig& n, const QV_List<int32_t>* ids = nullptr, int16_t mode = -1,
                    API_RubberLineInputProc* rubber = nullptr, API_RubberLineInputProc* chained = nullptr,
                    bool reset = true) {
        return GetPointFromUser(p, n, QV_String("Click a point"), nullptr, nullptr, nullptr, ids, mode, rubber, chained,
                                reset);
    }
    GSErrCode Line(API_Coord3D& s, API_Coord3D& e, API_Neig& sn, API_Neig& en,
                   API_RubberLineInputProc* rubber2 = DrawRubberLineFeedback,
                   API_RubberLineInputProc* chained1 = nullptr, API_RubberLineInputProc* chained2 = nullptr) {
        return GetLineFromUser(s, e, sn, en, QV_String("First point"), nullptr, nullptr, nullptr, nullptr, -1, nullptr,
                               chained1, QV_String("Second point"), nullptr, 1, nullptr, nullptr, -1, rubber2, chained2,
                               true);
    }
};

TEST_F(PointInputTest, ClickGivesPointAndPickedElementWithItsSide) {
    const API_Guid fill = PlaceFill("F");
    Click(3, 4, fill, 2);
    API_Coord3D p = {9, 9, 9};
    API_Neig n = {};
    ASSERT_EQ(Point(p, n), NoError);
    EXPECT_EQ(p.x, 3.0);
    EXPECT_EQ(p.y, 4.0);
    EXPECT_EQ(n.guid, fill);
    EXPECT_EQ(n.neigID, APINeig_Hatch);
    EXPECT_EQ(n.inIndex, 2);
    ASSERT_EQ(In().Inputs().size(), 1u);
    EXPECT_EQ(In().Inputs()[0].prompt, "Click a point");
}

TEST_F(PointInputTest, CancelAndEmptyQueueAnswerTheCancelCodeWithZeroOutputs) {
    In().QueueCancel();
    API_Coord3D p = {9, 9, 9};
    API_Neig n;
    std::memset(&n, 0x5A, sizeof n);
    EXPECT_EQ(Point(p, n), APIERR_CANCEL);
    EXPECT_EQ(p.x, 0.0);
    EXPECT_EQ(p.z, 0.0);
    EXPECT_EQ(n.guid, APINULLGuid);
    EXPECT_EQ(n.neigID, 0);
    // Nothing queued any more: also a cancel, not a hang or a made-up point.
    EXPECT_EQ(Point(p, n), APIERR_CANCEL);
    EXPECT_EQ(int32_t(APIERR_CANCEL), int32_t(0x81060003u));
}

TEST_F(PointInputTest, FilterDecidesWhetherTheElementUnderTheClickIsPicked) {
    const API_Guid fill = PlaceFill("F");
    QV_List<int32_t> fills;
    fills.Insert(APINeig_Hatch);
    QV_List<int32_t> lines;
    lines.Insert(APINeig_Line);
    QV_List<int32_t> none;
    API_Coord3D p;
    API_Neig n;

    Click(1, 1, fill);
    ASSERT_EQ(Point(p, n, &fills), NoError);  // mode -1 with ids: an empty filter, then the ids
    EXPECT_EQ(n.guid, fill);

    Click(1, 1, fill);
    ASSERT_EQ(Point(p, n, &lines), NoError);
    EXPECT_EQ(n.guid, APINULLGuid);  // the point still counts
    EXPECT_EQ(p.x, 1.0);

    Click(1, 1, fill);
    ASSERT_EQ(Point(p, n, &none), NoError);  // an empty list still sets the filter: nothing can be picked
    EXPECT_EQ(n.guid, APINULLGuid);
    EXPECT_TRUE(In().Inputs().back().filtered);

    Click(1, 1, fill);
    ASSERT_EQ(Point(p, n, nullptr, APIInitNeigFilter_Full), NoError);
    EXPECT_EQ(n.guid, fill);

    // A mode the host does not know: the input is not run and no click is taken.
    Click(1, 1, fill);
    EXPECT_EQ(Point(p, n, nullptr, 7), APIERR_BADPARS);
    EXPECT_EQ(In().PendingClicks(), 1u);
}

TEST_F(PointInputTest, RecordFillingFollowsTheArguments) {
    API_GetPointType rec;
    const API_Coord3D a = {1, 2, 3};
    const API_Coord3D b = {4, 5, 6};
    ASSERT_EQ(FillPointInputRecord(rec, QV_String(), nullptr, &a, nullptr, nullptr, -1), NoError);
    EXPECT_EQ(rec.prompt[0], '\0');
    EXPECT_EQ(rec.enableGuides, 0);  // the guide points count only together
    EXPECT_EQ(rec.guideA.x, 0.0);
    EXPECT_EQ(rec.changeFilter, 0);
    ASSERT_EQ(FillPointInputRecord(rec, QV_String("x"), nullptr, &a, &b, nullptr, -1), NoError);
    EXPECT_EQ(rec.enableGuides, 1);
    EXPECT_EQ(rec.guideB.z, 6.0);

    // A prompt longer than the field is cut to 255 bytes; beyond ASCII it is in the system code page.
    std::string longText(400, 'w');
    ASSERT_EQ(FillPointInputRecord(rec, QV_String(longText.c_str()), nullptr, nullptr, nullptr, nullptr, -1), NoError);
    EXPECT_EQ(std::strlen(rec.prompt), 255u);
    ASSERT_EQ(FillPointInputRecord(rec, QV_String("Pr\xc3\xa9", Encoding_UTF8), nullptr, nullptr, nullptr, nullptr, -1),
              NoError);
    EXPECT_EQ(std::string(rec.prompt), "Pr\xe9");

    API_InputPlane plane = {{1, 2, 3, 4, 5, 6, 7}};
    API_GetLineType line;
    ASSERT_EQ(FillLineInputRecord(line, QV_String("L"), &plane, 1, nullptr, a, nullptr, -1), NoError);
    EXPECT_EQ(line.changePlane, 1);
    EXPECT_EQ(line.plane.values[6], 7.0);
    EXPECT_EQ(line.passFlag, 1);
    EXPECT_EQ(line.enableGuide, 0);
    EXPECT_EQ(line.startCoord.y, 2.0);

    API_GetPolyType poly;
    FillPolyInputRecord(poly, QV_String("P"), nullptr, &b, 1, APIPolyInput_Polyline, a);
    EXPECT_EQ(poly.enableGuide, 1);
    EXPECT_EQ(poly.method, APIPolyInput_Polyline);
    EXPECT_EQ(poly.startCoord.z, 3.0);

    API_InputPromptRecord eight;
    std::memset(&eight, 0x77, sizeof eight);
    FillEightIntRecord(eight, {28, 29, 30, 31, 32, 33, 34, 35});
    EXPECT_EQ(eight.indexes[7], 35u);
    EXPECT_EQ(eight.reserved[31], 0);
}

TEST_F(PointInputTest, LineDrawsTheRubberLineFromTheFirstPoint) {
    Click(1, 2);
    Click(5, 6);
    API_Coord3D s, e;
    API_Neig sn, en;
    ASSERT_EQ(Line(s, e, sn, en, DrawRubberLineFeedback, nullptr, ChainedA), NoError);
    EXPECT_EQ(s.x, 1.0);
    EXPECT_EQ(e.y, 6.0);
    // The host moved the cursor to the second click before answering: one rubber line from the first point.
    ASSERT_EQ(In().RubberLines().size(), 1u);
    EXPECT_EQ(In().RubberLines()[0].begC.x, 1.0);
    EXPECT_EQ(In().RubberLines()[0].endC.x, 5.0);
    EXPECT_EQ(In().RubberLines()[0].lineValue, 1);
    ASSERT_EQ(g_chained.size(), 1u);
    EXPECT_EQ(g_chained[0].y, 6.0);
    EXPECT_EQ(InputFeedback.lastPoint.y, 2.0);
    // Outside an input no rubber line can be drawn.
    API_RubberLineType r = {};
    EXPECT_NE(ACAPI_Interface(APIIo_DrawRubberLineID, &r), NoError);
}

TEST_F(PointInputTest, LastPointIsSetOnlyWhenTheSecondClickHasARubberCallback) {
    InputFeedback.lastPoint = {7, 7, 7};
    Click(1, 2);
    Click(5, 6);
    API_Coord3D s, e;
    API_Neig sn, en;
    ASSERT_EQ(GetLineFromUser(s, e, sn, en, QV_String("a"), nullptr, nullptr, nullptr, nullptr, -1, nullptr, nullptr,
                              QV_String("b"), nullptr, 1, nullptr, nullptr, -1, nullptr, nullptr, false),
              NoError);
    EXPECT_EQ(InputFeedback.lastPoint.x, 7.0);
    EXPECT_TRUE(In().RubberLines().empty());
}

TEST_F(PointInputTest, CancelledClicksOfALine) {
    API_Coord3D s = {9, 9, 9}, e = {9, 9, 9};
    API_Neig sn, en;
    In().QueueCancel();
    EXPECT_EQ(Line(s, e, sn, en), APIERR_CANCEL);
    EXPECT_EQ(s.x, 0.0);
    EXPECT_EQ(e.x, 0.0);

    const API_Guid fill = PlaceFill("F");
    Click(1, 1, fill);
    In().QueueCancel();
    EXPECT_EQ(Line(s, e, sn, en), APIERR_CANCEL);
    EXPECT_EQ(s.x, 1.0);  // the first point stays
    EXPECT_EQ(sn.guid, fill);
    EXPECT_EQ(e.x, 0.0);
    EXPECT_EQ(en.guid, APINULLGuid);
}

TEST_F(PointInputTest, ChainedFeedbackStaysWithoutResetAndIsReplacedWhenGiven) {
    API_Coord3D p;
    API_Neig n;
    Click(1, 1);
    ASSERT_EQ(Point(p, n, nullptr, -1, DrawRubberLineFeedback, ChainedA, true), NoError);
    ASSERT_EQ(g_chained.size(), 1u);
    Click(2, 2);
    ASSERT_EQ(Point(p, n, nullptr, -1, DrawRubberLineFeedback, nullptr, false), NoError);
    ASSERT_EQ(g_chained.size(), 2u);
    EXPECT_EQ(g_chained[1].x, 2.0);  // ChainedA still in force
    Click(3, 3);
    ASSERT_EQ(Point(p, n, nullptr, -1, DrawRubberLineFeedback, ChainedB, false), NoError);
    EXPECT_EQ(g_chained.back().x, 1003.0);
    Click(4, 4);
    ASSERT_EQ(Point(p, n, nullptr, -1, DrawRubberLineFeedback, nullptr, true), NoError);  // a reset drops it
    EXPECT_EQ(g_chained.size(), 3u);
}

TEST(CHTruncateTest, CutsOnCharacterBoundaries) {
    char field[6];
    EXPECT_EQ(CHTruncate("abcdefgh", field, 6), 5);
    EXPECT_STREQ(field, "abcde");
    // "ab" then a three-byte UTF-8 character: the character does not fit whole and is left out.
    EXPECT_EQ(CHTruncate("ab\xe2\x82\xac"
                         "cd",
                         field, 5, 65001),
              2);
    EXPECT_STREQ(field, "ab");
    // Shift-JIS: a double-byte character straddling the end is left out; its trail byte is never taken for a lead.
    EXPECT_EQ(CHTruncate("a\x82\xa0\x82\xa0", field, 5, 932), 3);
    EXPECT_STREQ(field, "a\x82\xa0");
    // Single-byte pages cut anywhere; 0xE9 is a character of its own there.
    EXPECT_EQ(CHTruncate("\xe9\xe9\xe9\xe9\xe9\xe9", field, 6), 5);
    EXPECT_EQ(CHTruncate(nullptr, field, 6), 0);
    EXPECT_STREQ(field, "");
    EXPECT_EQ(CHTruncate("abc", field, 0), 0);
}

}  // namespace point_input_test
