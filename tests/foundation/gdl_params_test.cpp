// GDL parameter lists: lookups, numeric and text array cells, resizing, whole-array exchange and copying
// between lists, with the status each failure leaves; also the texts' 256-unit field and dim/handle mismatches.
#include "foundation/PathNames.hpp"
#include "elements/BaseLP.hpp"
#include "elements/GdlParams.hpp"

#include "ParamRecords.hpp"
#include "MemoryDriver.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace gdl_params_test {

using ParamList = ParamRecords;

std::vector<double> CellsOf(API_AddParType& r) {
    const double* d = reinterpret_cast<const double*>(*r.value.array);
    return std::vector<double>(d, d + BMGetHandleSize(r.value.array) / 8);
}

// The packed units of a text array, terminators shown as '|'.
std::string PackedOf(API_AddParType& r) {
    std::string s;
    const char16_t* u = reinterpret_cast<const char16_t*>(*r.value.array);
    for (GSSize i = 0; i < BMGetHandleSize(r.value.array) / 2; ++i) s += u[i] == 0 ? '|' : char(u[i]);
    return s;
}

std::string Std(const QV_String& s) { return s.ToStdString(); }

class GdlParamsTest : public ::testing::Test {
protected:
    void SetUp() override { live = MemoryDriver::LiveHandleCount(); }
    void TearDown() override { MemoryDriver::Reset(); }
    int64_t live = 0;
    MemoryDriver::ScopedReset reset;
};

// ---- lookups ----

TEST_F(GdlParamsTest, LookupByNameStoresLastIndexAndFollowsCaseRules) {
    ParamList p;
    p.Real("A", 1);
    p.Real("road_width", 6);
    p.Real("Road_Width", 7);  // a duplicate in another case: the lower index wins
    BaseLP v = p.View();
    v.status = 99;
    EXPECT_EQ(FindParamByCName(v, "ROAD_WIDTH"), 1);
    EXPECT_EQ(v.lastIndex, 1);
    EXPECT_EQ(v.status, LPStatus_OK);
    v.caseSensitive = 1;
    EXPECT_EQ(FindParamByCName(v, "Road_Width"), 2);
    EXPECT_EQ(FindParamByCName(v, "ROAD_WIDTH"), -1);
    EXPECT_EQ(v.status, LPStatus_NameNotFound);
    EXPECT_EQ(v.lastIndex, 2);  // a failed lookup keeps the last found index
    EXPECT_EQ(FindParamByCName(v, nullptr), 2);
    EXPECT_EQ(FindParamByCName(v, ""), 2);
    v.lastIndex = 3;
    EXPECT_EQ(FindParamByCName(v, nullptr), -1);
    EXPECT_EQ(v.status, LPStatus_BadLastIndex);
}

TEST_F(GdlParamsTest, EmptyViewAndCountBeyondHandleAreBounded) {
    BaseLP empty;
    EXPECT_EQ(FindParamByCName(empty, "A"), -1);
    EXPECT_EQ(empty.status, LPStatus_NoRecords);

    ParamList p;
    p.Real("A", 1);
    BaseLP v(p.handle, 50);  // the owner claims more records than the handle holds
    EXPECT_EQ(v.RecordCount(), 1);
    EXPECT_EQ(FindParamByCName(v, "B"), -1);
    EXPECT_EQ(v.status, LPStatus_NameNotFound);
    EXPECT_STREQ(v.GetParamName(2), "ZZYZX");
    EXPECT_STREQ(v.GetParamName(3), "???");
    EXPECT_STREQ(v.GetParamName(-1), "???");
}

TEST_F(GdlParamsTest, RecordNameFillingTheWholeFieldIsReadWithoutTerminator) {
    ParamList p;
    API_AddParType& r = p.Add("x", 2);
    std::memset(r.name, 'n', sizeof r.name);  // 32 bytes, no terminator
    BaseLP v = p.View();
    EXPECT_EQ(FindParamByCName(v, std::string(32, 'n').c_str()), 0);
    EXPECT_EQ(FindParamByCName(v, std::string(31, 'n').c_str()), -1);
}

// ---- numeric cells ----

TEST_F(GdlParamsTest, NumericCellsByPairAndByFlatIndex) {
    ParamList p;
    p.Reals("arr", 2, 3, {0, 1, 2, 3, 4, 5});
    p.Real("scalar", 1.5);
    p.Texts("names", 1, 2, {u"a", u"b"});
    BaseLP v = p.View();
    EXPECT_EQ(GetArrayParamCell(v, "arr", 5, -1), 5.0);
    EXPECT_EQ(GetArrayParamCell(v, "arr", 1, 1), 4.0);
    EXPECT_EQ(v.status, LPStatus_OK);
    EXPECT_EQ(GetArrayParamCell(v, "arr", 2, 0), 0.0);
    EXPECT_EQ(v.status, LPStatus_BadCell);
    for (auto ij : std::vector<std::pair<int, int>>{{6, -1}, {-1, -1}, {0, 3}, {-1, 0}}) {
        v.status = 0;
        EXPECT_EQ(GetArrayParamCell(v, "arr", ij.first, ij.second), 0.0);
        EXPECT_EQ(v.status, LPStatus_BadCell) << ij.first << "," << ij.second;
    }
    EXPECT_EQ(GetArrayParamCell(v, "scalar", 0, 0), 0.0);
    EXPECT_EQ(v.status, LPStatus_WrongKind);
    EXPECT_EQ(GetArrayParamCell(v, "names", 0, 0), 0.0);
    EXPECT_EQ(v.status, LPStatus_WrongKind);

    EXPECT_EQ(SetArrayParamCell(v, "arr", 0, 2, -7.25), 0);
    EXPECT_EQ(SetArrayParamCell(v, nullptr, 4, -1, 9.0), 0);  // reuses the last index
    EXPECT_EQ(CellsOf(p.At(0)), (std::vector<double>{0, 1, -7.25, 3, 9, 5}));
    EXPECT_EQ(SetArrayParamCell(v, "arr", 1, 3, 1.0), -1);
    EXPECT_EQ(v.status, LPStatus_BadCell);
    EXPECT_EQ(SetArrayParamCell(v, "scalar", 0, 0, 1.0), -1);
    EXPECT_EQ(v.status, LPStatus_WrongKind);
    EXPECT_EQ(SetArrayParamCell(v, "none", 0, 0, 1.0), -1);
    EXPECT_EQ(v.status, LPStatus_NameNotFound);
}

TEST_F(GdlParamsTest, CellsBeyondAShortHandleFailInsteadOfOverrunning) {
    ParamList p;
    p.Reals("arr", 3, 3, {1, 2});  // 9 cells claimed, 2 held
    BaseLP v = p.View();
    EXPECT_EQ(GetArrayParamCell(v, "arr", 1, -1), 2.0);
    EXPECT_EQ(GetArrayParamCell(v, "arr", 2, -1), 0.0);
    EXPECT_EQ(v.status, LPStatus_BadCell);
    EXPECT_EQ(SetArrayParamCell(v, "arr", 8, -1, 1.0), -1);
    EXPECT_EQ(v.status, LPStatus_BadCell);
    QV_List<double> list;
    int32_t d1 = 0, d2 = 0;
    EXPECT_FALSE(ExchangeDoubleArrayParam(v, list, d1, d2, QV_String("arr"), 0));
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(v.status, LPStatus_BadCell);
    // A resize repairs the handle to the dimensions.
    EXPECT_EQ(ResizeArrayParam(v, QV_String("arr"), 2, 2, false), 0);
    EXPECT_EQ(CellsOf(p.At(0)), (std::vector<double>{1, 2, 0, 0}));
}

TEST_F(GdlParamsTest, ClearedClearStatusKeepsTheFirstError) {
    ParamList p;
    p.Reals("arr", 1, 2, {1, 2});
    BaseLP v = p.View();
    v.clearStatus = 0;
    GetArrayParamCell(v, "arr", 5, -1);
    EXPECT_EQ(GetArrayParamCell(v, "arr", 1, -1), 2.0);
    EXPECT_EQ(v.status, LPStatus_BadCell);
    v.clearStatus = 1;
    GetArrayParamCell(v, "arr", 1, -1);
    EXPECT_EQ(v.status, LPStatus_OK);
}

// ---- resizing ----

TEST_F(GdlParamsTest, NumericResizeKeepsFlatOrderAndFreshEmpties) {
    ParamList p;
    p.Reals("arr", 2, 3, {0, 1, 2, 3, 4, 5});
    BaseLP v = p.View();
    EXPECT_EQ(ResizeArrayParam(v, QV_String("arr"), 3, 2, false), 0);  // re-flowed, same flat order
    EXPECT_EQ(GetArrayParamCell(v, "arr", 2, 1), 5.0);
    EXPECT_EQ(ResizeArrayParamByCName(v, "arr", 4, 2, false), 0);
    EXPECT_EQ(CellsOf(p.At(0)), (std::vector<double>{0, 1, 2, 3, 4, 5, 0, 0}));
    EXPECT_EQ(ResizeArrayParam(v, QV_String("arr"), 1, 3, false), 0);
    EXPECT_EQ(CellsOf(p.At(0)), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(p.At(0).dim1, 1);
    EXPECT_EQ(p.At(0).dim2, 3);
    EXPECT_EQ(ResizeArrayParam(v, QV_String("arr"), 1, 3, true), 0);
    EXPECT_EQ(CellsOf(p.At(0)), (std::vector<double>{0, 0, 0}));
}

TEST_F(GdlParamsTest, ResizeRefusalsLeaveTheArrayAsItWas) {
    ParamList p;
    p.Reals("arr", 1, 2, {1, 2});
    p.Real("scalar", 3);
    BaseLP v = p.View();
    EXPECT_EQ(ResizeArrayParam(v, QV_String("arr"), 0, 2, false), -1);
    EXPECT_EQ(v.status, LPStatus_BadDimension);
    EXPECT_EQ(ResizeArrayParam(v, QV_String("arr"), 2, -1, true), -1);
    EXPECT_EQ(v.status, LPStatus_BadDimension);
    EXPECT_EQ(ResizeArrayParam(v, QV_String("scalar"), 2, 2, false), -1);
    EXPECT_EQ(v.status, LPStatus_WrongKind);
    EXPECT_EQ(ResizeArrayParam(v, QV_String("none"), 2, 2, false), -1);
    EXPECT_EQ(v.status, LPStatus_NameNotFound);
    // Dimensions whose product overflows 32 bits, or is merely huge, are refused before any allocation.
    EXPECT_EQ(ResizeArrayParam(v, QV_String("arr"), 65536, 65536, false), -1);
    EXPECT_EQ(v.status, LPStatus_NoMemory);
    EXPECT_EQ(ResizeArrayParam(v, QV_String("arr"), 2147483647, 2147483647, true), -1);
    EXPECT_EQ(v.status, LPStatus_NoMemory);
    const QV_String arr("arr");  // built before allocations are made to fail
    MemoryDriver::FailNextAllocations(1);
    EXPECT_EQ(ResizeArrayParam(v, arr, 4, 4, false), -1);
    EXPECT_EQ(v.status, LPStatus_NoMemory);
    MemoryDriver::FailNextAllocations(1);
    EXPECT_EQ(ResizeArrayParam(v, arr, 4, 4, true), -1);
    EXPECT_EQ(v.status, LPStatus_NoMemory);
    EXPECT_EQ(p.At(0).dim1, 1);
    EXPECT_EQ(p.At(0).dim2, 2);
    EXPECT_EQ(CellsOf(p.At(0)), (std::vector<double>{1, 2}));
}

// ---- text arrays ----

TEST_F(GdlParamsTest, TextResizeKeepsCellsAndAddsEmptyOnes) {
    ParamList p;
    p.Texts("t", 2, 2, {u"a", u"b", u"c", u"d"});
    BaseLP v = p.View();
    ASSERT_EQ(ResizeArrayParam(v, QV_String("t"), 1, 2, false), 0);
    EXPECT_EQ(PackedOf(p.At(0)), "a|b|");
    ASSERT_EQ(ResizeArrayParam(v, QV_String("t"), 3, 2, false), 0);
    EXPECT_EQ(PackedOf(p.At(0)), "a|b|||||");
    QV_String out;
    EXPECT_EQ(Std(GetStringArrayCell(v, out, QV_String("t"), 0, 1)), "b");
    EXPECT_EQ(Std(GetStringArrayCell(v, out, QV_String("t"), 2, 1)), "");
    EXPECT_TRUE(out.HasBuffer());
    ASSERT_EQ(ResizeArrayParam(v, QV_String("t"), 2, 1, true), 0);
    EXPECT_EQ(PackedOf(p.At(0)), "||");
}

TEST_F(GdlParamsTest, SettingATextCellMovesLaterCellsAndKeepsTheCount) {
    ParamList p;
    p.Texts("t", 2, 2, {u"ab", u"cd", u"", u"ef"});
    BaseLP v = p.View();
    GSHandle before = p.At(0).value.array;
    EXPECT_EQ(SetStringArrayCell(v, QV_String("t"), 0, 1, QV_String("XY")), 0);  // same length: in place
    EXPECT_EQ(p.At(0).value.array, before);
    EXPECT_EQ(PackedOf(p.At(0)), "ab|XY||ef|");
    EXPECT_EQ(SetStringArrayCell(v, QV_String("t"), 0, 1, QV_String("longer")), 0);
    EXPECT_EQ(PackedOf(p.At(0)), "ab|longer||ef|");
    EXPECT_EQ(SetStringArrayCell(v, QV_String("t"), 2, -1, QV_String("z")), 0);
    EXPECT_EQ(SetStringArrayCell(v, QV_String(), 0, 0, QV_String("")), 0);  // empty text, last index
    EXPECT_EQ(PackedOf(p.At(0)), "|longer|z|ef|");
    QV_String out;
    EXPECT_EQ(Std(GetStringArrayCell(v, out, QV_String("t"), 1, 1)), "ef");
}

TEST_F(GdlParamsTest, TextCellFailuresSetTheirStatus) {
    ParamList p;
    p.Texts("t", 1, 2, {u"a", u"b"});
    p.Reals("n", 1, 1, {1});
    p.Text("s", u"scalar");
    BaseLP v = p.View();
    EXPECT_EQ(SetStringArrayCell(v, QV_String("t"), 0, 0, QV_String()), -1);
    EXPECT_EQ(v.status, LPStatus_NoText);
    EXPECT_EQ(SetStringArrayCell(v, QV_String("n"), 0, 0, QV_String("x")), -1);
    EXPECT_EQ(v.status, LPStatus_WrongKind);
    EXPECT_EQ(SetStringArrayCell(v, QV_String("s"), 0, 0, QV_String("x")), -1);
    EXPECT_EQ(v.status, LPStatus_WrongKind);
    EXPECT_EQ(SetStringArrayCell(v, QV_String("t"), 1, 0, QV_String("x")), -1);
    EXPECT_EQ(v.status, LPStatus_BadCell);
    QV_String out("keep");
    GetStringArrayCell(v, out, QV_String("n"), 0, 0);
    EXPECT_FALSE(out.HasBuffer());
    EXPECT_EQ(v.status, LPStatus_WrongKind);
    out = "keep";
    GetStringArrayCell(v, out, QV_String("t"), 2, -1);
    EXPECT_FALSE(out.HasBuffer());
    EXPECT_EQ(v.status, LPStatus_BadCell);
    const QV_String t("t"), longer("longer");
    MemoryDriver::FailNextAllocations(1);
    EXPECT_EQ(SetStringArrayCell(v, t, 0, 0, longer), -1);
    EXPECT_EQ(v.status, LPStatus_NoMemory);
    EXPECT_EQ(PackedOf(p.At(0)), "a|b|");
}

TEST_F(GdlParamsTest, TextCellWithAZeroUnitCannotSplitTheCell) {
    ParamList p;
    p.Texts("t", 1, 3, {u"a", u"b", u"c"});
    BaseLP v = p.View();
    QV_String text("xy");
    const char16_t zeroAndMore[] = {0, u'q'};
    text.AppendWide(zeroAndMore, 2);  // "xy\0q"
    EXPECT_EQ(SetStringArrayCell(v, QV_String("t"), 0, 1, text), 0);
    EXPECT_EQ(PackedOf(p.At(0)), "a|xy|c|");
}

TEST_F(GdlParamsTest, TextLookupIsBoundedByTheHandle) {
    ParamList p;
    p.Texts("short", 3, 1, {u"a", u"b"});        // 3 cells claimed, 2 held
    p.Texts("open", 1, 2, {u"a", u"bc"}, true);  // last cell without its terminator
    BaseLP v = p.View();
    QV_String out;
    EXPECT_EQ(Std(GetStringArrayCell(v, out, QV_String("short"), 1, 0)), "b");
    GetStringArrayCell(v, out, QV_String("short"), 2, 0);
    EXPECT_FALSE(out.HasBuffer());
    EXPECT_EQ(v.status, LPStatus_BadCell);
    EXPECT_EQ(SetStringArrayCell(v, QV_String("short"), 2, 0, QV_String("z")), -1);
    EXPECT_EQ(v.status, LPStatus_BadCell);
    EXPECT_EQ(Std(GetStringArrayCell(v, out, QV_String("open"), 0, 1)), "bc");
    // Rewriting the open cell with the same length rebuilds the handle with its terminator.
    EXPECT_EQ(SetStringArrayCell(v, QV_String("open"), 0, 1, QV_String("BC")), 1);
    EXPECT_EQ(PackedOf(p.At(1)), "a|BC|");
    // A resize repairs the short one.
    EXPECT_EQ(ResizeArrayParam(v, QV_String("short"), 4, 1, false), 0);
    EXPECT_EQ(PackedOf(p.At(0)), "a|b|||");
}

// ---- exchange ----

TEST_F(GdlParamsTest, DoubleExchangeRoundTripAndEmptyList) {
    ParamList p;
    p.Reals("arr", 1, 1, {0});
    BaseLP v = p.View();
    QV_List<double> out;
    for (double d : {1.5, -2.0, 3.25, 4.0, 5.5, 6.0}) out.Insert(d);
    int32_t d1 = 2, d2 = 3;
    ASSERT_TRUE(ExchangeDoubleArrayParam(v, out, d1, d2, QV_String("arr"), 1));
    QV_List<double> in;
    int32_t r1 = 0, r2 = 0;
    ASSERT_TRUE(ExchangeDoubleArrayParam(v, in, r1, r2, QV_String("arr"), 0));
    EXPECT_EQ(r1, 2);
    EXPECT_EQ(r2, 3);
    EXPECT_EQ(std::vector<double>(in.begin(), in.end()), (std::vector<double>{1.5, -2.0, 3.25, 4.0, 5.5, 6.0}));

    QV_List<double> empty;
    ASSERT_TRUE(ExchangeDoubleArrayParam(v, empty, d1, d2, QV_String("arr"), 1));
    EXPECT_EQ(p.At(0).dim1, 1);
    EXPECT_EQ(p.At(0).dim2, 1);
    EXPECT_EQ(CellsOf(p.At(0)), std::vector<double>{0.0});
    EXPECT_FALSE(ExchangeDoubleArrayParam(v, empty, d1, d2, QV_String("arr"), 2));
}

TEST_F(GdlParamsTest, ExchangeWriteFailures) {
    ParamList p;
    p.Reals("arr", 1, 1, {0});
    p.Texts("t", 1, 1, {u"keep"});
    p.Real("scalar", 1);
    BaseLP v = p.View();
    QV_List<double> list;
    for (double d : {1.0, 2.0, 3.0}) list.Insert(d);
    int32_t d1 = 1, d2 = 2;  // fewer cells than elements
    EXPECT_FALSE(ExchangeDoubleArrayParam(v, list, d1, d2, QV_String("arr"), 1));
    EXPECT_EQ(v.status, LPStatus_BadCell);
    EXPECT_EQ(CellsOf(p.At(0)), (std::vector<double>{1, 2}));
    d1 = 0;
    EXPECT_FALSE(ExchangeDoubleArrayParam(v, list, d1, d2, QV_String("arr"), 1));
    EXPECT_EQ(v.status, LPStatus_BadDimension);
    d1 = 3;
    d2 = 1;
    EXPECT_FALSE(ExchangeDoubleArrayParam(v, list, d1, d2, QV_String("t"), 1));  // numbers into texts
    EXPECT_EQ(v.status, LPStatus_WrongKind);
    EXPECT_EQ(PackedOf(p.At(1)), "keep|");
    EXPECT_FALSE(ExchangeDoubleArrayParam(v, list, d1, d2, QV_String("scalar"), 1));
    EXPECT_EQ(v.status, LPStatus_WrongKind);
    EXPECT_FALSE(ExchangeDoubleArrayParam(v, list, d1, d2, QV_String("none"), 1));
    EXPECT_EQ(v.status, LPStatus_NameNotFound);
    QV_List<double> in;
    EXPECT_FALSE(ExchangeDoubleArrayParam(v, in, d1, d2, QV_String("scalar"), 0));
    EXPECT_EQ(v.status, LPStatus_WrongKind);
    EXPECT_FALSE(ExchangeDoubleArrayParam(v, in, d1, d2, QV_String("t"), 0));
    EXPECT_EQ(v.status, LPStatus_WrongKind);
}

TEST_F(GdlParamsTest, IntegerReadsTruncateTowardZeroAndClamp) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    ParamList p;
    p.Reals("arr", 2, 4, {2.9, -2.9, 1e12, -1e12, nan, 40000.0, -40000.0, 32767.9});
    BaseLP v = p.View();
    int32_t d1 = 0, d2 = 0;
    QV_List<int32_t> ints;
    ASSERT_TRUE(ExchangeIntArrayParam(v, ints, d1, d2, QV_String("arr"), 0));
    EXPECT_EQ(std::vector<int32_t>(ints.begin(), ints.end()),
              (std::vector<int32_t>{2, -2, INT32_MAX, INT32_MIN, 0, 40000, -40000, 32767}));
    QV_List<int32_t> longs;
    ASSERT_TRUE(ExchangeLongArrayParam(v, longs, d1, d2, QV_String("arr"), 0));
    EXPECT_EQ(longs.GetCount(), 8);
    QV_List<int16_t> shorts;
    ASSERT_TRUE(ExchangeShortArrayParam(v, shorts, d1, d2, QV_String("arr"), 0));
    EXPECT_EQ(std::vector<int16_t>(shorts.begin(), shorts.end()),
              (std::vector<int16_t>{2, -2, 32767, -32768, 0, 32767, -32768, 32767}));
    QV_List<int16_t> back;
    back.Insert(-5);
    back.Insert(7);
    d1 = 2;
    d2 = 1;
    ASSERT_TRUE(ExchangeShortArrayParam(v, back, d1, d2, QV_String("arr"), 1));
    EXPECT_EQ(CellsOf(p.At(0)), (std::vector<double>{-5.0, 7.0}));
}

TEST_F(GdlParamsTest, StringExchangeRoundTripAndFailures) {
    ParamList p;
    p.Texts("t", 1, 1, {u""});
    BaseLP v = p.View();
    QV_List<QV_String> out;
    for (const char* s : {"north", "", "east", "\xE6\xF8"}) out.Insert(QV_String(s));
    int32_t d1 = 2, d2 = 2;
    ASSERT_TRUE(ExchangeStringArrayParam(v, out, d1, d2, QV_String("t"), 1));
    QV_List<QV_String> in;
    int32_t r1 = 0, r2 = 0;
    ASSERT_TRUE(ExchangeStringArrayParam(v, in, r1, r2, QV_String("t"), 0));
    ASSERT_EQ(in.GetCount(), 4);
    EXPECT_EQ(r1 * 10 + r2, 22);
    for (int32_t k = 0; k < 4; ++k) EXPECT_TRUE(in[k] == out[k]) << k;

    // An element without text stops the write there: the earlier ones are in, the rest empty.
    QV_List<QV_String> gap;
    gap.Insert(QV_String("a"));
    gap.Insert(QV_String());
    gap.Insert(QV_String("c"));
    d1 = 1;
    d2 = 3;
    EXPECT_FALSE(ExchangeStringArrayParam(v, gap, d1, d2, QV_String("t"), 1));
    EXPECT_EQ(v.status, LPStatus_NoText);
    EXPECT_EQ(PackedOf(p.At(0)), "a|||");
    QV_List<QV_String> many;
    for (const char* s : {"1", "2", "3"}) many.Insert(QV_String(s));
    d1 = 1;
    d2 = 2;
    EXPECT_FALSE(ExchangeStringArrayParam(v, many, d1, d2, QV_String("t"), 1));
    EXPECT_EQ(v.status, LPStatus_BadCell);
    EXPECT_EQ(PackedOf(p.At(0)), "1|2|");
    QV_List<QV_String> none;
    EXPECT_TRUE(ExchangeStringArrayParam(v, none, d1, d2, QV_String("t"), 1));
    EXPECT_EQ(PackedOf(p.At(0)), "|");
}

// ---- copying between lists ----

TEST_F(GdlParamsTest, CopyScalarsAndTheTextFieldLimit) {
    ParamList a, b;
    a.Real("len", 4.5);
    a.Text("full", std::u16string(255, u'x'));
    API_AddParType& open = a.Add("open", APIParT_Text);
    for (char16_t& c : open.value.uStr) c = u'y';  // 256 units, no terminator
    b.Real("dst_len", 0);
    b.Text("dst_text", u"old");
    BaseLP src = a.View(), dst = b.View();
    EXPECT_TRUE(CopyGdlParam(src, dst, QV_String("len"), QV_String("dst_len"), true, false));
    EXPECT_EQ(b.At(0).value.real, 4.5);
    EXPECT_TRUE(CopyGdlParam(src, dst, QV_String("full"), QV_String("dst_text"), false, false));
    EXPECT_EQ(std::u16string(b.At(1).value.uStr), std::u16string(255, u'x'));
    EXPECT_TRUE(CopyGdlParam(src, dst, QV_String("open"), QV_String("dst_text"), false, false));
    EXPECT_EQ(b.At(1).value.uStr[255], 0);
    EXPECT_EQ(std::u16string(b.At(1).value.uStr), std::u16string(255, u'y'));
    // A numeric into a text, or the reverse: refused.
    EXPECT_FALSE(CopyGdlParam(src, dst, QV_String("len"), QV_String("dst_text"), false, false));
}

TEST_F(GdlParamsTest, CopyStatusGoesToTheSourceView) {
    ParamList a, b;
    a.Real("x", 1);
    b.Real("y", 2);
    BaseLP src = a.View(), dst = b.View();
    dst.status = 42;
    EXPECT_FALSE(CopyGdlParam(src, dst, QV_String("x"), QV_String("nope"), false, false));
    EXPECT_EQ(src.status, LPStatus_NameNotFound);
    EXPECT_EQ(dst.status, 42);
    EXPECT_EQ(dst.lastIndex, -1);
    EXPECT_FALSE(CopyGdlParam(src, dst, QV_String("nope"), QV_String("y"), false, false));
    EXPECT_EQ(src.status, LPStatus_NameNotFound);
}

TEST_F(GdlParamsTest, CopyArraysWholeAndOverlaid) {
    ParamList a, b;
    a.Reals("n", 1, 2, {1, 2});
    a.Texts("t", 1, 2, {u"a", u"bb"});
    b.Reals("n", 1, 3, {7, 8, 9});
    b.Texts("t", 3, 1, {u"x", u"y", u"z"});
    b.Real("scalar", 0);
    BaseLP src = a.View(), dst = b.View();
    EXPECT_FALSE(CopyGdlParam(src, dst, QV_String("n"), QV_String("n"), true, false));  // sizes differ
    EXPECT_FALSE(CopyGdlParam(src, dst, QV_String("n"), QV_String("scalar"), false, false));
    EXPECT_FALSE(CopyGdlParam(src, dst, QV_String("n"), QV_String("t"), false, true));

    EXPECT_TRUE(CopyGdlParam(src, dst, QV_String("n"), QV_String("n"), false, true));
    EXPECT_EQ(CellsOf(b.At(0)), (std::vector<double>{1, 2, 9}));
    EXPECT_EQ(b.At(0).dim2, 3);
    EXPECT_TRUE(CopyGdlParam(src, dst, QV_String("t"), QV_String("t"), false, true));
    EXPECT_EQ(PackedOf(b.At(1)), "a|bb|z|");
    EXPECT_EQ(b.At(1).dim1, 3);

    EXPECT_TRUE(CopyGdlParam(src, dst, QV_String("t"), QV_String("t"), false, false));
    EXPECT_EQ(PackedOf(b.At(1)), "a|bb|");
    EXPECT_EQ(b.At(1).dim1, 1);
    EXPECT_EQ(b.At(1).dim2, 2);
    EXPECT_NE(b.At(1).value.array, a.At(1).value.array);  // a copy, not a shared handle

    const QV_String n("n");
    MemoryDriver::FailNextAllocations(1);
    EXPECT_FALSE(CopyGdlParam(src, dst, n, n, false, false));
    EXPECT_EQ(src.status, LPStatus_NoMemory);
    EXPECT_EQ(CellsOf(b.At(0)), (std::vector<double>{1, 2, 9}));
}

TEST_F(GdlParamsTest, OverlayFromAShortHandleKeepsTheCellsInPlace) {
    ParamList a, b;
    a.Texts("t", 1, 3, {u"a"});              // 3 cells claimed, 1 held
    b.Texts("t", 1, 4, {u"w", u"x", u"y"});  // 4 cells claimed, 3 held
    BaseLP src = a.View(), dst = b.View();
    EXPECT_TRUE(CopyGdlParam(src, dst, QV_String("t"), QV_String("t"), false, true));
    EXPECT_EQ(PackedOf(b.At(0)), "a||||");  // the missing source cells are empty, the target has its 4 cells
    EXPECT_EQ(b.At(0).dim2, 4);
}

TEST_F(GdlParamsTest, NoHandleIsLeakedOrLost) {
    {
        ParamList p;
        p.Reals("n", 1, 1, {0});
        p.Texts("t", 1, 1, {u"a"});
        BaseLP v = p.View();
        QV_String out;
        for (int i = 0; i < 20; ++i) {
            ResizeArrayParam(v, QV_String("n"), i % 5 + 1, 2, i % 2 == 0);
            ResizeArrayParam(v, QV_String("t"), i % 5 + 1, 2, i % 3 == 0);
            SetStringArrayCell(v, QV_String("t"), 0, 0, QV_String(std::string(size_t(i), 'k').c_str()));
            GetStringArrayCell(v, out, QV_String("t"), 0, 0);
        }
    }
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), live);
}

TEST(PathNames, StripTrailingBackslashRemovesOneOnly) {
    QV_String out;
    StripTrailingBackslash(out, QV_String("C:\\lib\\"));
    EXPECT_EQ(out.ToStdString(), "C:\\lib");
    StripTrailingBackslash(out, QV_String("C:\\lib\\\\"));
    EXPECT_EQ(out.ToStdString(), "C:\\lib\\");
    QV_String same("C:\\lib");
    StripTrailingBackslash(same, same);
    EXPECT_EQ(same.ToStdString(), "C:\\lib");
    StripTrailingBackslash(out, QV_String(""));
    EXPECT_EQ(out.ToStdString(), "");
}

}  // namespace gdl_params_test
