// Parameter views: the typed accessors by index and by name over a parameter list, with the status each
// failure leaves, the text field's limit, and a library part's default list read through the host.
#include "ParamRecords.hpp"

#include "InProcessHost.hpp"
#include "elements/BaseLP.hpp"
#include "foundation/LibPart.hpp"

#include "MemoryDriver.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace base_lp_test {

// Records 0-2 are A, B and ZZYZX, so the base view's index slots reach them.
class ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.Real("A", 2.9, 1);
        list.Real("B", -2.9, 1);
        list.Text("ZZYZX", u"height");
        list.Real("depth", 1.25);
        list.Text("label", u"old");
        list.Reals("grid", 2, 2, {1, 2, 3, 4});
        list.Texts("names", 2, 1, {u"a", u"b"});
        list.Real("label", 99.0);  // a second "label": never reached
        view = BaseLP(list.handle, list.Count());
    }
    ParamRecords list;
    BaseLP view;
};

TEST_F(ViewTest, ScalarsByIndexTruncateTowardZero) {
    int16_t s = 7;
    EXPECT_TRUE(view.GetSetShort(0, s, LPMode_Get));
    EXPECT_EQ(s, 2);
    int32_t l = 7;
    EXPECT_TRUE(view.GetSetLong(1, l, LPMode_Get));
    EXPECT_EQ(l, -2);
    int32_t i = 7;
    EXPECT_TRUE(view.GetSetInt(1, i, LPMode_Get));
    EXPECT_EQ(i, -2);
    EXPECT_EQ(view.lastIndex, 1);

    // Values beyond a short are held at its ends; NaN reads as 0.
    s = 300;
    list.At(0).value.real = 1e9;
    EXPECT_TRUE(view.GetSetShort(0, s, LPMode_Get));
    EXPECT_EQ(s, 32767);
    list.At(0).value.real = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(view.GetSetShort(0, s, LPMode_Get));
    EXPECT_EQ(s, 0);

    // Setting widens to double and keeps the record's numeric type.
    s = -5;
    EXPECT_TRUE(view.GetSetShort(0, s, LPMode_Set));
    EXPECT_EQ(list.At(0).value.real, -5.0);
    EXPECT_EQ(list.At(0).typeID, 1);
    double d = 0.5;
    EXPECT_TRUE(view.GetSetDouble(1, d, LPMode_Set));
    EXPECT_EQ(list.At(1).value.real, 0.5);
    d = 0;
    EXPECT_TRUE(view.GetSetDoubleByName(QV_String("DEPTH"), d, LPMode_Get));
    EXPECT_EQ(d, 1.25);
}

TEST_F(ViewTest, UnknownIndexFailsEverySlotWithNameNotFound) {
    int16_t s = 11;
    int32_t l = 12;
    double d = 13;
    QV_String text("keep");
    QV_List<double> reals;
    QV_List<int32_t> ints;
    QV_List<int16_t> shorts;
    QV_List<QV_String> texts;
    int32_t d1 = 0, d2 = 0;
    EXPECT_STREQ(view.GetParamName(3), "???");
    for (int32_t mode : {LPMode_Get, LPMode_Set}) {
        view.status = 0;
        EXPECT_FALSE(view.GetSetShort(3, s, mode));
        EXPECT_EQ(view.status, LPStatus_NameNotFound);
        EXPECT_FALSE(view.GetSetLong(3, l, mode));
        EXPECT_FALSE(view.GetSetInt(3, l, mode));
        EXPECT_FALSE(view.GetSetDouble(3, d, mode));
        EXPECT_FALSE(view.GetSetString(3, text, mode));
        EXPECT_FALSE(view.GetSetIntArray(3, ints, d1, d2, mode));
        EXPECT_FALSE(view.GetSetShortArray(3, shorts, d1, d2, mode));
        EXPECT_FALSE(view.GetSetLongArray(3, ints, d1, d2, mode));
        EXPECT_FALSE(view.GetSetDoubleArray(3, reals, d1, d2, mode));
        EXPECT_FALSE(view.GetSetStringArray(3, texts, d1, d2, mode));
        EXPECT_EQ(view.status, LPStatus_NameNotFound);
    }
    // A failed lookup leaves the caller's values (a default survives a parameter an older part lacks).
    EXPECT_EQ(s, 11);
    EXPECT_EQ(l, 12);
    EXPECT_EQ(d, 13);
    EXPECT_EQ(U16(text), u"keep");
}

TEST_F(ViewTest, WrongKindsGiveStatus4AndEmptyOutputs) {
    int16_t s = 9;
    EXPECT_FALSE(view.GetSetShort(2, s, LPMode_Get));  // ZZYZX is a text
    EXPECT_EQ(view.status, LPStatus_WrongKind);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(view.GetParamDouble(QV_String("grid")), 0.0);
    EXPECT_EQ(view.status, LPStatus_WrongKind);
    EXPECT_EQ(view.SetParamDouble(QV_String("names"), 1.0), -1);
    EXPECT_EQ(view.status, LPStatus_WrongKind);

    QV_String text("x");
    EXPECT_FALSE(view.GetSetString(0, text, LPMode_Get));
    EXPECT_EQ(view.status, LPStatus_WrongKind);
    EXPECT_TRUE(text.IsEmpty());
    text = "y";
    EXPECT_FALSE(view.GetSetStringByName(QV_String("depth"), text, LPMode_Set));
    EXPECT_EQ(view.status, LPStatus_WrongKind);
    EXPECT_EQ(list.At(3).value.real, 1.25);

    // A text setter on a text array refuses and leaves the cells.
    EXPECT_EQ(view.SetStringParam("names", QV_String("z")), -1);
    EXPECT_EQ(view.status, LPStatus_WrongKind);
    QV_List<QV_String> cells;
    int32_t d1 = 0, d2 = 0;
    ASSERT_TRUE(view.GetSetStringArrayByName(QV_String("names"), cells, d1, d2, LPMode_Get));
    EXPECT_EQ(U16(cells[0]), u"a");
}

TEST_F(ViewTest, TextsByIndexAndByName) {
    QV_String text;
    ASSERT_TRUE(view.GetSetString(2, text, LPMode_Get));
    EXPECT_EQ(U16(text), u"height");
    // Case is ignored by default; the first of two equal names wins.
    ASSERT_TRUE(view.GetSetStringByName(QV_String("LABEL"), text, LPMode_Get));
    EXPECT_EQ(U16(text), u"old");
    EXPECT_EQ(view.lastIndex, 4);

    // A string without buffer is refused (status 5, old text kept); an empty text with buffer is written.
    QV_String none;
    EXPECT_FALSE(view.GetSetStringByName(QV_String("label"), none, LPMode_Set));
    EXPECT_EQ(view.status, LPStatus_NoText);
    EXPECT_EQ(list.TextOf("label"), u"old");
    EXPECT_EQ(view.SetStringParam("label", none), -1);
    EXPECT_EQ(view.status, LPStatus_NoText);
    QV_String empty("");
    EXPECT_TRUE(view.GetSetStringByName(QV_String("label"), empty, LPMode_Set));
    EXPECT_EQ(list.TextOf("label"), u"");
    EXPECT_EQ(view.status, LPStatus_OK);

    EXPECT_EQ(view.SetStringParam("label", QV_String("new")), 4);
    QV_String got;
    EXPECT_EQ(U16(view.GetStringParam(got, QV_String("label"))), u"new");
    EXPECT_EQ(U16(view.GetStringParam(got, QV_String("missing"))), u"<no buffer>");
    EXPECT_EQ(view.status, LPStatus_NameNotFound);
}

TEST_F(ViewTest, CaseSensitiveViewsCompareExactly) {
    view.caseSensitive = 1;
    double d = 0;
    EXPECT_FALSE(view.GetSetDoubleByName(QV_String("Depth"), d, LPMode_Get));
    EXPECT_EQ(view.status, LPStatus_NameNotFound);
    EXPECT_TRUE(view.GetSetDoubleByName(QV_String("depth"), d, LPMode_Get));
    EXPECT_EQ(d, 1.25);
}

TEST_F(ViewTest, TextFieldHoldsAtMost255Units) {
    // 300 units: cut to 255 and terminated; the record behind stays intact.
    std::u16string longText(300, u'x');
    QV_String text;
    text.AppendWide(longText.data(), uint32_t(longText.size()));
    ASSERT_TRUE(view.GetSetStringByName(QV_String("label"), text, LPMode_Set));
    EXPECT_EQ(list.TextOf("label"), std::u16string(255, u'x'));
    EXPECT_EQ(list.At(5).dim1, 2);  // the next record

    // A surrogate pair across the limit is not split; a 0 unit ends the text.
    std::u16string pair(254, u'y');
    pair += u"\U0001F600z";
    QV_String emoji;
    emoji.AppendWide(pair.data(), uint32_t(pair.size()));
    ASSERT_TRUE(view.GetSetStringByName(QV_String("label"), emoji, LPMode_Set));
    EXPECT_EQ(list.TextOf("label"), std::u16string(254, u'y'));
    const char16_t withNul[] = {u'a', 0, u'b'};
    QV_String nul;
    nul.AppendWide(withNul, 3);
    ASSERT_TRUE(view.GetSetStringByName(QV_String("label"), nul, LPMode_Set));
    EXPECT_EQ(list.TextOf("label"), u"a");

    // A field without terminator reads as its first 255 units.
    for (char16_t& u : list.At(4).value.uStr) u = u'q';
    ASSERT_TRUE(view.GetSetStringByName(QV_String("label"), text, LPMode_Get));
    EXPECT_EQ(U16(text), std::u16string(255, u'q'));
}

TEST_F(ViewTest, ArraysThroughTheSlots) {
    QV_List<double> cells;
    int32_t d1 = 0, d2 = 0;
    ASSERT_TRUE(view.GetSetDoubleArrayByName(QV_String("GRID"), cells, d1, d2, LPMode_Get));
    EXPECT_EQ(d1, 2);
    EXPECT_EQ(d2, 2);
    ASSERT_EQ(cells.GetCount(), 4);
    EXPECT_EQ(cells[3], 4.0);

    QV_List<double> three;
    for (double v : {7.0, 8.0, 9.0}) three.Insert(v);
    d1 = 3;
    d2 = 1;
    ASSERT_TRUE(view.GetSetDoubleArrayByName(QV_String("grid"), three, d1, d2, LPMode_Set));
    EXPECT_EQ(list.CellsOf("grid"), (std::vector<double>{7, 8, 9}));
    EXPECT_EQ(list.At(5).dim1, 3);

    QV_List<QV_String> texts;
    ASSERT_TRUE(view.GetSetStringArrayByName(QV_String("names"), texts, d1, d2, LPMode_Get));
    EXPECT_EQ(texts.GetCount(), 2);
    QV_List<int16_t> shorts;
    EXPECT_FALSE(view.GetSetShortArray(0, shorts, d1, d2, LPMode_Get));  // A is a scalar
    EXPECT_EQ(view.status, LPStatus_WrongKind);
    EXPECT_FALSE(view.GetSetDoubleArrayByName(QV_String("grid"), cells, d1, d2, 2));  // no such mode
}

TEST_F(ViewTest, ClearedClearStatusKeepsTheFirstError) {
    view.clearStatus = 0;
    double d = 0;
    EXPECT_FALSE(view.GetSetDoubleByName(QV_String("nope"), d, LPMode_Get));
    EXPECT_EQ(view.status, LPStatus_NameNotFound);
    // Later good reads still deliver their value, but answer false while the error stands.
    EXPECT_FALSE(view.GetSetDoubleByName(QV_String("depth"), d, LPMode_Get));
    EXPECT_EQ(d, 1.25);
    QV_String text;
    EXPECT_FALSE(view.GetSetString(2, text, LPMode_Get));
    EXPECT_EQ(U16(text), u"height");
    EXPECT_EQ(view.status, LPStatus_NameNotFound);
    view.status = 0;
    EXPECT_TRUE(view.GetSetDoubleByName(QV_String("depth"), d, LPMode_Get));
}

TEST_F(ViewTest, ANameThatCannotBeBuiltNeverReachesTheLastRecord) {
    double d = 0;
    ASSERT_TRUE(view.GetSetDoubleByName(QV_String("depth"), d, LPMode_Get));
    MemoryDriver::ScopedReset reset;
    MemoryDriver::FailAllocationsAfter(0);
    double five = 5.0;
    EXPECT_FALSE(view.GetSetDouble(0, five, LPMode_Set));
    MemoryDriver::Reset();
    EXPECT_EQ(view.status, LPStatus_NoMemory);
    EXPECT_EQ(list.At(3).value.real, 1.25);
    EXPECT_EQ(list.At(0).value.real, 2.9);
}

TEST(EmptyView, EveryAccessorFailsWithNoRecords) {
    BaseLP view;
    int16_t s = 0;
    double d = 0;
    QV_String text("t");
    QV_List<double> cells;
    int32_t d1 = 0, d2 = 0;
    EXPECT_FALSE(view.GetSetShort(0, s, LPMode_Get));
    EXPECT_EQ(view.status, LPStatus_NoRecords);
    view.status = 0;
    EXPECT_FALSE(view.GetSetDoubleByName(QV_String("A"), d, LPMode_Set));
    EXPECT_EQ(view.status, LPStatus_NoRecords);
    view.status = 0;
    EXPECT_FALSE(view.GetSetString(0, text, LPMode_Set));
    EXPECT_EQ(view.status, LPStatus_NoRecords);
    view.status = 0;
    EXPECT_FALSE(view.GetSetDoubleArray(0, cells, d1, d2, LPMode_Get));
    EXPECT_EQ(view.status, LPStatus_NoRecords);

    // An empty name with no last index to reuse.
    ParamRecords list;
    list.Real("A", 1);
    BaseLP one(list.handle, 1);
    EXPECT_EQ(one.GetParamDouble(QV_String()), 0.0);
    EXPECT_EQ(one.status, LPStatus_BadLastIndex);
}

TEST(ViewCount, ACountBeyondTheHandleIsHeldToIt) {
    ParamRecords list;
    list.Real("A", 1);
    BaseLP view(list.handle, 50);
    EXPECT_EQ(view.RecordCount(), 1);
    double d = 0;
    EXPECT_FALSE(view.GetSetDouble(1, d, LPMode_Get));  // "B" would be record 1: not there
    EXPECT_EQ(view.status, LPStatus_NameNotFound);

    view.Attach(list.handle, true);
    EXPECT_EQ(view.count, 1);
    EXPECT_EQ(view.caseSensitive, 1);
    EXPECT_EQ(view.lastIndex, -1);
    view.Reset();
    EXPECT_EQ(view.params, nullptr);
    EXPECT_EQ(view.count, 0);
    EXPECT_EQ(view.caseSensitive, 0);
}

TEST(IDView, CarriesItsKind) {
    ParamRecords list;
    list.Real("A", 4.5);
    BaseIDLP view(6, list.handle, list.Count());
    EXPECT_EQ(view.kind, 6);
    double a = 0;
    EXPECT_TRUE(view.GetSetDouble(0, a, LPMode_Get));
    EXPECT_EQ(a, 4.5);
}

// --- a library part's defaults, through the host

class LibPartParamsTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Load());
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
        prefs = SearchLibPartByName(QV_String("VY_PREFS"), APILib_ObjectID);
        ASSERT_GT(prefs, 0);
    }
    int32_t prefs = -1;
};

TEST_F(LibPartParamsTest, DefaultsComeWithSizesAndCount) {
    const int64_t handlesBefore = MemoryDriver::LiveHandleCount();
    GSHandle params = nullptr;
    double a = 0, b = 0;
    int32_t n = 0;
    ASSERT_TRUE(BaseLP::GetLibPartParams(prefs, &params, &a, &b, &n));
    ASSERT_NE(params, nullptr);
    EXPECT_EQ(a, 1.0);
    EXPECT_EQ(b, 1.0);
    EXPECT_EQ(n, int32_t(BMGetHandleSize(params) / GSSize(sizeof(API_AddParType))));

    // A view over defaults ignores case.
    BaseLP view;
    view.Attach(params, false);
    QV_String code;
    ASSERT_TRUE(view.GetSetStringByName(QV_String("PUNTI_CODE"), code, LPMode_Get));
    EXPECT_EQ(U16(code), u"Point");
    ReleaseParamRecords(&params);
    EXPECT_EQ(params, nullptr);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handlesBefore);

    // Only the records.
    ASSERT_TRUE(BaseLP::GetLibPartParams(prefs, &params, nullptr, nullptr, nullptr));
    ReleaseParamRecords(&params);
}

TEST_F(LibPartParamsTest, HostErrorsGiveFalseAndCloseTheList) {
    GSHandle params = nullptr;
    double a = -1;
    EXPECT_FALSE(BaseLP::GetLibPartParams(9999, &params, &a, nullptr, nullptr));
    EXPECT_EQ(params, nullptr);
    EXPECT_FALSE(BaseLP::GetLibPartParams(9999, &params, nullptr, nullptr, nullptr));

    const int64_t handlesBefore = MemoryDriver::LiveHandleCount();
    ASSERT_TRUE(host->FailCall("Goodies", int32_t(APIAny_GetActParametersID.code), APIERR_GENERAL));
    EXPECT_FALSE(BaseLP::GetLibPartParams(prefs, &params, nullptr, nullptr, nullptr));
    EXPECT_EQ(params, nullptr);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handlesBefore);
    host->ClearFailures();
    // The list was closed after the failed get: a 'GPAR' of its own finds nothing open.
    API_GetParamsType got = {};
    EXPECT_NE(ACAPI_Goodies(APIAny_GetActParametersID, &got), NoError);
    EXPECT_TRUE(BaseLP::GetLibPartParams(prefs, &params, nullptr, nullptr, nullptr));
    ReleaseParamRecords(&params);

    ASSERT_TRUE(host->FailCall("LibPart_GetParams", -1, APIERR_GENERAL));
    int32_t n = 0;
    EXPECT_FALSE(BaseLP::GetLibPartParams(prefs, nullptr, nullptr, nullptr, &n));
}

}  // namespace base_lp_test
