// The host's library-part sections: description lines for sections, parents and details, the parameter
// definition block and its reader on bad input, parameter records checked before they become a description,
// and the creation and saving of parts through the host table.
#include "ProjectHost.hpp"

#include "foundation/ACAPI.hpp"
#include "library/LibraryDescription.hpp"
#include "library/LibraryStore.hpp"
#include "library/ParamDefSection.hpp"
#include "MemoryDriver.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>

namespace library_sections_test {

const std::string kHead =
    "name = P\nguid = {44444444-4444-4444-4444-444444444444}-{00000000-0000-0000-0000-000000000000}\ntype = object\n";

std::string ParseError(const std::string& text) {
    LibPartDef part;
    std::string error;
    EXPECT_FALSE(ParseLibraryPart(text, &part, &error)) << text;
    return error;
}

TEST(LibrarySectionLines, SectionsParentAndDetailsAreRead) {
    LibPartDef part;
    std::string error;
    ASSERT_TRUE(ParseLibraryPart(kHead +
                                     "parent = {55555555-5555-5555-5555-555555555555}-"
                                     "{00000000-0000-0000-0000-000000000001}\n"
                                     "details = 1 0\n"
                                     "section ANCS 2 = hex:00ff\n"
                                     "section 3DSC = \"a \\\"q\\\"\\r\\n\\tb\\\\\"\n"
                                     "param A length = 1\n",
                                 &part, &error))
        << error;
    EXPECT_EQ(part.parent, "{55555555-5555-5555-5555-555555555555}-{00000000-0000-0000-0000-000000000001}");
    EXPECT_EQ(part.details.fixSize, 1);
    EXPECT_EQ(part.details.autoHotspot, 0);
    // 'PARD' first, the file's sections in order, then the 2D script it lacked.
    ASSERT_EQ(part.sections.size(), 4u);
    EXPECT_EQ(part.sections[0].type, API_SectParamDef);
    EXPECT_EQ(SectionTypeText(part.sections[1].type), "ANCS");
    EXPECT_EQ(part.sections[1].subIdent, 2);
    EXPECT_EQ(part.sections[1].bytes, std::string("\x00\xff", 2));
    EXPECT_EQ(part.sections[2].text, u"a \"q\"\r\n\tb\\");
    EXPECT_EQ(part.sections[3].type, API_Sect2DScript);
    EXPECT_EQ(part.sections[3].text, u"! P: 2D script\r\n");
    EXPECT_EQ(SectionTypeText(0x01020304u), "0x01020304");
}

TEST(LibrarySectionLines, BadSectionLinesAreRefusedWithTheirLine) {
    const struct {
        const char* line;
        const char* why;
    } cases[] = {
        {"section PARD = hex:", "given by the param lines"},
        {"section ABC = hex:00", "four printable characters"},
        {"section ABCD 1 2 = hex:00", "at most a sub-identifier"},
        {"section ANCS 40000 = hex:00", "not a number from"},
        {"section ANCS x = hex:00", "not a number from"},
        {"section ANCS = hex:0", "hex:<bytes>"},
        {"section ANCS = hex:0g", "hex:<bytes>"},
        {"section ANCS = \"text\"", "hex:<bytes>"},
        {"section 2DSC = hex:00", "one quoted text"},
        {"section 2DSC = \"a\"; \"b\"", "one quoted text"},
        {"section 2DSC = \"a\\qb\"", "unknown escape"},
        {"section 2DSC", "'=' expected"},
        {"details = 2 0", "each 0 or 1"},
        {"parent = {1}", "parent's unique id"},
    };
    for (const auto& c : cases) {
        const std::string error = ParseError(kHead + c.line + "\n");
        EXPECT_NE(error.find("line 4: "), std::string::npos) << c.line << " -> " << error;
        EXPECT_NE(error.find(c.why), std::string::npos) << c.line << " -> " << error;
    }
    EXPECT_NE(ParseError(kHead + "section 2DSC 1 = \"a\"\nsection 2DSC 1 = \"b\"\n").find("given twice"),
              std::string::npos);
    EXPECT_NE(ParseError(kHead +
                         "parent = {55555555-5555-5555-5555-555555555555}-"
                         "{00000000-0000-0000-0000-000000000001}\nparent = x\n")
                  .find("given twice"),
              std::string::npos);
}

TEST(LibrarySectionLines, ADescriptionReadsBackToTheSamePart) {
    LibPartDef part;
    part.name = "Round trip";
    part.guid = "{66666666-6666-6666-6666-666666666666}-{00000000-0000-0000-0000-000000000000}";
    part.type = 11;
    part.details.autoHotspot = 1;
    LibParamDef text;
    text.name = "t";
    text.typeID = LibParType::Text;
    text.texts = {u"say \"hi\"\\ \r\n\t\u00e9\u65e5"};
    LibParamDef cells;
    cells.name = "grid";
    cells.typeID = LibParType::Length;
    cells.dim1 = 2;
    cells.dim2 = 2;
    cells.numbers = {0.1, -1e-300, 123456789.123456789, -0.0};
    LibParamDef names;
    names.name = "names";
    names.typeID = LibParType::Text;
    names.dim1 = 3;
    names.dim2 = 1;
    names.texts = {u"", u"x;y", u""};
    part.params = {text, cells, names};
    LibSectionDef binary;
    binary.type = API_Selector("ANCS");
    binary.subIdent = -3;
    binary.bytes = std::string("\x00\x01\xfe", 3);
    LibSectionDef script;
    script.type = API_Sect2DScript;
    script.text = u"line 1\r\nline \"2\"\r\n";
    part.sections = {binary, script};

    LibPartDef back;
    std::string error;
    ASSERT_TRUE(ParseLibraryPart(DescribeLibraryPart(part), &back, &error)) << error;
    EXPECT_EQ(back.name, part.name);
    EXPECT_EQ(back.guid, part.guid);
    EXPECT_EQ(back.type, 11);
    EXPECT_EQ(back.details.autoHotspot, 1);
    ASSERT_EQ(back.params.size(), 3u);
    EXPECT_EQ(back.params[0].texts, text.texts);
    EXPECT_EQ(back.params[1].numbers, cells.numbers);
    EXPECT_TRUE(std::signbit(back.params[1].numbers[3]));
    EXPECT_EQ(back.params[2].texts, (std::vector<std::u16string>{u"", u"x;y"}));  // the last "" left implicit
    ASSERT_EQ(back.sections.size(), 4u);  // 'PARD', the two, and the 3D script it lacked
    EXPECT_EQ(back.sections[1].bytes, binary.bytes);
    EXPECT_EQ(back.sections[1].subIdent, -3);
    EXPECT_EQ(back.sections[2].text, script.text);
}

// --- parameter definition blocks ----------------------------------------------------------------------------

std::vector<LibParamDef> SomeParams() {
    LibParamDef a;
    a.name = "A";
    a.typeID = LibParType::Length;
    a.numbers = {2.5};
    LibParamDef t;
    t.name = "labels";
    t.typeID = LibParType::Text;
    t.dim1 = 1;
    t.dim2 = 2;
    t.texts = {u"one", u"two"};
    return {a, t};
}

TEST(ParamDefSections, ABlockReadsBackAndEveryCutOrGarbledOneIsRefused) {
    API_LibPartDetails details = {};
    details.fixSize = 1;
    GSHandle block = MakeParamDefSection(SomeParams(), 1.0, 2.0, details);
    ASSERT_NE(block, nullptr);
    std::vector<LibParamDef> params;
    double a = 0, b = 0;
    API_LibPartDetails back = {};
    std::string why;
    ASSERT_TRUE(ReadParamDefSection(block, &params, &a, &b, &back, &why)) << why;
    EXPECT_EQ(a, 1.0);
    EXPECT_EQ(b, 2.0);
    EXPECT_EQ(back.fixSize, 1);
    ASSERT_EQ(params.size(), 2u);
    EXPECT_EQ(params[1].texts[1], u"two");
    API_LibPartDetails other = {};
    other.autoHotspot = 1;
    ASSERT_TRUE(SetParamDefSectionDetails(block, other));

    // Every shorter block is refused.
    const GSSize size = BMGetHandleSize(block);
    for (GSSize n = 0; n < size; ++n) {
        GSHandle cut = BMAllocateHandle(n, 0, 0);
        std::memcpy(*cut, *block, size_t(n));
        EXPECT_FALSE(ReadParamDefSection(cut, &params, &a, &b, &back, &why)) << n;
        BMKillHandle(&cut);
    }
    // Trailing bytes, a wrong magic word, a count far beyond the bytes, a name longer than 31 bytes.
    GSHandle longer = nullptr;
    BMHandleToHandle(block, &longer);
    BMReallocHandle(longer, size + 1, ALLOCATE_CLEAR, 0);
    EXPECT_FALSE(ReadParamDefSection(longer, &params, &a, &b, &back, &why));
    EXPECT_NE(why.find("after its parameters"), std::string::npos);
    BMKillHandle(&longer);
    const struct {
        size_t offset;
        uint32_t value;
        const char* why;
    } garbles[] = {{0, 0x12345678u, "not a parameter definition section"},
                   {4, 7u, "version 7"},
                   {56, 0x7FFFFFFFu, "names 2147483647 parameters"},
                   {76, 200u, "cut short"},
                   {64, 99u, "unknown type"}};
    for (const auto& g : garbles) {
        GSHandle bad = nullptr;
        BMHandleToHandle(block, &bad);
        std::memcpy(*bad + g.offset, &g.value, sizeof g.value);
        EXPECT_FALSE(ReadParamDefSection(bad, &params, &a, &b, &back, &why)) << g.offset;
        EXPECT_NE(why.find(g.why), std::string::npos) << why;
        BMKillHandle(&bad);
    }
    EXPECT_FALSE(ReadParamDefSection(nullptr, &params, &a, &b, &back, &why));
    EXPECT_FALSE(SetParamDefSectionDetails(nullptr, other));
    GSHandle nan = MakeParamDefSection(SomeParams(), std::nan(""), 0.0, details);
    EXPECT_FALSE(ReadParamDefSection(nan, &params, &a, &b, &back, &why));
    BMKillHandle(&nan);
    BMKillHandle(&block);
}

// Parameter records as the module hands them over.
class ParamRecords {
public:
    explicit ParamRecords(size_t n) : handle(BMAllocateHandle(GSSize(n * sizeof(API_AddParType)), ALLOCATE_CLEAR, 0)) {}
    ~ParamRecords() { DisposeParamHandle(&handle); }
    API_AddParType& operator[](size_t i) { return reinterpret_cast<API_AddParType*>(*handle)[i]; }
    void Number(size_t i, const char* name, double v) {
        std::strcpy((*this)[i].name, name);
        (*this)[i].typeID = LibParType::Real;
        (*this)[i].value.real = v;
    }
    void Cells(size_t i, const char* name, int32_t typeID, int32_t d1, int32_t d2, const void* bytes, size_t size) {
        Number(i, name, 0);
        (*this)[i].typeID = typeID;
        (*this)[i].dim1 = d1;
        (*this)[i].dim2 = d2;
        GSHandle cells = BMAllocateHandle(GSSize(size), 0, 0);
        std::memcpy(*cells, bytes, size);
        (*this)[i].value.array = cells;
    }
    std::string Refusal() {
        std::vector<LibParamDef> params;
        std::string why;
        EXPECT_FALSE(ParamsFromRecords(reinterpret_cast<API_AddParType**>(handle), &params, &why));
        return why;
    }
    GSHandle handle;
};

TEST(ParamDefSections, RecordsThatADescriptionCannotHoldAreRefused) {
    {
        ParamRecords r(2);
        r.Number(0, "A", 1);
        const char16_t texts[] = u"a\0b";
        r.Cells(1, "t", LibParType::Text, 2, 1, texts, sizeof texts);
        std::vector<LibParamDef> params;
        std::string why;
        ASSERT_TRUE(ParamsFromRecords(reinterpret_cast<API_AddParType**>(r.handle), &params, &why)) << why;
        EXPECT_EQ(params[1].texts, (std::vector<std::u16string>{u"a", u"b"}));
    }
    const double two[2] = {1, 2};
    const char16_t oneText[] = u"a";  // one terminated text for two cells
    const struct {
        std::function<void(ParamRecords&)> fill;
        const char* why;
    } cases[] = {
        {[](ParamRecords& r) { r.Number(0, "9lives", 1); }, "is not a name"},
        {[](ParamRecords& r) { r.Number(0, "", 1); }, "is not a name"},
        {[](ParamRecords& r) { std::memset(r[0].name, 'x', sizeof r[0].name); }, "without terminator"},
        {[](ParamRecords& r) { r.Number(0, "x", 1), r[0].typeID = 99; }, "unknown type 99"},
        {[](ParamRecords& r) { r.Number(0, "x", std::numeric_limits<double>::infinity()); }, "not finite"},
        {[](ParamRecords& r) { r.Number(0, "ab", 1), r.Number(1, "AB", 2); }, "given twice"},
        {[&](ParamRecords& r) { r.Cells(0, "x", LibParType::Real, 3, 1, two, sizeof two); }, "fewer than 3 numbers"},
        {[&](ParamRecords& r) { r.Cells(0, "x", LibParType::Text, 1, 2, oneText, sizeof oneText); }, "fewer than 2"},
        {[&](ParamRecords& r) { r.Cells(0, "x", LibParType::Real, -1, -2, two, sizeof two); }, "sizes"},
        {[](ParamRecords& r) {
             r.Number(0, "x", 0), r[0].typeID = LibParType::Text;
             for (char16_t& u : r[0].value.uStr) u = u'x';
         },
         "text without terminator"},
    };
    for (const auto& c : cases) {
        ParamRecords r(2);
        r.Number(1, "other", 0);
        c.fill(r);
        const std::string why = r.Refusal();
        EXPECT_NE(why.find(c.why), std::string::npos) << c.why << " -> " << why;
    }
    GSHandle odd = BMAllocateHandle(GSSize(sizeof(API_AddParType) + 3), ALLOCATE_CLEAR, 0);
    std::vector<LibParamDef> params;
    std::string why;
    EXPECT_FALSE(ParamsFromRecords(reinterpret_cast<API_AddParType**>(odd), &params, &why));
    BMKillHandle(&odd);
}

// --- parts through the host table ----------------------------------------------------------------------------

class LibrarySectionsHostTest : public ProjectHostTest {
protected:
    LibraryStore& Store() { return host->Project().libraries; }
    const API_HostFunctionTable& T() { return host->Table(); }
    API_LibPart Record(const char* name, const std::string& folder) {
        API_LibPart part;
        std::memset(static_cast<void*>(&part), 0, sizeof part);
        part.typeID = APILib_ObjectID;
        for (size_t i = 0; name[i] != '\0'; ++i) part.docu_UName[i] = char16_t(uint8_t(name[i]));
        location = IO::Location(folder.c_str());
        part.location = &location;
        return part;
    }
    GSErrCode Overwrite(bool on) {
        API_SelectorCall call = {};
        call.selector = APIEnv_OverwriteLibPartID.code;
        call.par1 = &on;
        call.par1Size = sizeof on;
        return T().Environment(&call);
    }
    IO::Location location;
};

TEST_F(LibrarySectionsHostTest, SectionCallsRefuseWhatTheyCannotServe) {
    int32_t n = 0;
    API_LibPartSection** list = nullptr;
    EXPECT_EQ(T().LibPart_GetSectionList(999, &n, &list), APIERR_BADINDEX);
    ASSERT_EQ(T().LibPart_GetSectionList(libA, &n, &list), NoError);
    EXPECT_EQ(n, 3);
    EXPECT_EQ((*list)[0].sectType, API_SectParamDef);
    BMKillHandle(reinterpret_cast<GSHandle*>(&list));

    API_LibPartSection header = {};
    header.sectType = API_SectParamDef;
    GSHandle content = nullptr;
    GS::UniString text;
    EXPECT_EQ(T().LibPart_GetSection(libA, &header, &content, &text), APIERR_BADPARS);  // no text form
    ASSERT_EQ(T().LibPart_GetSection(libA, &header, &content, nullptr), NoError);
    std::vector<LibParamDef> params;
    double a = 0, b = 0;
    API_LibPartDetails details = {};
    std::string why;
    ASSERT_TRUE(ReadParamDefSection(content, &params, &a, &b, &details, &why)) << why;
    EXPECT_EQ(a, 1.5);
    // A garbled parameter section leaves the parameters as they were.
    std::memset(*content + 70, 0x7F, 4);
    EXPECT_EQ(T().LibPart_UpdateSection(libA, &header, content, nullptr), APIERR_BADPARS);
    EXPECT_EQ(Store().Part(libA)->params.size(), 3u);
    BMKillHandle(&content);

    header.sectType = API_Sect1DScript;
    EXPECT_EQ(T().LibPart_GetSection(libA, &header, &content, &text), APIERR_NOSECTION);
    EXPECT_EQ(T().LibPart_UpdateSection(libA, &header, nullptr, &text), APIERR_NOSECTION);
    // A script's content is read in the system code page.
    header.sectType = API_Sect2DScript;
    GSHandle bytes = BMAllocateHandle(6, 0, 0);
    std::memcpy(*bytes, "caf\xE9\0x", 6);
    ASSERT_EQ(T().LibPart_UpdateSection(libA, &header, bytes, nullptr), NoError);
    EXPECT_EQ(Store().Part(libA)->Section(API_Sect2DScript, 0)->text, u"caf\u00e9");
    EXPECT_EQ(T().LibPart_UpdateSection(libA, &header, nullptr, nullptr), APIERR_BADPARS);
    const GS::UniString withNul(std::u16string(u"a\0b", 3));
    EXPECT_EQ(T().LibPart_UpdateSection(libA, &header, nullptr, &withNul), APIERR_BADPARS);
    EXPECT_EQ(T().LibPart_AddSection(&header, bytes, nullptr), APIERR_NOTCREATING);
    BMKillHandle(&bytes);

    API_LibPart none = Record("X", UserFile("lib"));
    EXPECT_EQ(T().LibPart_Save(&none), APIERR_NOTCREATING);
    none.location = nullptr;
    EXPECT_EQ(T().LibPart_Create(&none), APIERR_BADPARS);
    API_SelectorCall call = {};
    call.selector = APIEnv_OverwriteLibPartID.code;
    int32_t wide = 1;
    call.par1 = &wide;
    call.par1Size = sizeof wide;
    EXPECT_EQ(T().Environment(&call), APIERR_BADPARS);
}

TEST_F(LibrarySectionsHostTest, NewPartsGoOnlyIntoLibrariesAndOverwriteOnlyWhenAllowed) {
    API_LibPart part = Record("PART_A", UserFile("lib"));
    EXPECT_EQ(T().LibPart_Create(&part), APIERR_NAMEALREADYUSED);
    API_LibPart elsewhere = Record("NEW", UserFile(""));
    EXPECT_EQ(T().LibPart_Create(&elsewhere), APIERR_BADPARS);
    for (const char* bad : {"", "a/b", " x", "x\\y", ".."}) {
        API_LibPart badName = Record(bad, UserFile("lib"));
        EXPECT_EQ(T().LibPart_Create(&badName), APIERR_BADPARS) << bad;
    }
    API_LibPart badId = Record("NEW", UserFile("lib"));
    std::strcpy(badId.ownUnID, "{x}");
    EXPECT_EQ(T().LibPart_Create(&badId), APIERR_BADPARS);

    // A part of the same name in another library is never replaced.
    const std::string other = UserFile("other");
    std::filesystem::create_directory(other);
    std::ofstream(other + "/Q.lpd") << kHead;  // part "P"
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(other, &why)) << why;
    ASSERT_EQ(Overwrite(true), NoError);
    API_LibPart p = Record("P", UserFile("lib"));
    EXPECT_EQ(T().LibPart_Create(&p), APIERR_NAMEALREADYUSED);

    // The file name of another part is never taken: "Q" goes to Q_1.lpd beside "P"'s Q.lpd.
    API_LibPart q = Record("Q", other + "/Q.lpd");  // a file in the folder names the folder too
    ASSERT_EQ(T().LibPart_Create(&q), NoError);
    ASSERT_EQ(T().LibPart_Save(&q), NoError);
    EXPECT_TRUE(std::filesystem::exists(other + "/Q_1.lpd"));
    EXPECT_GT(Store().FindByName("Q", 0), 0);
    LibraryStore fresh;
    ASSERT_TRUE(fresh.LoadFolder(other, &why)) << why;
    EXPECT_EQ(fresh.PartCount(), 2);

    // A folder that went away: the save fails and the part does not join the library.
    API_LibPart gone = Record("GONE", other);
    ASSERT_EQ(T().LibPart_Create(&gone), NoError);
    std::filesystem::remove_all(other);
    EXPECT_EQ(T().LibPart_Save(&gone), APIERR_GENERAL);
    EXPECT_LT(Store().FindByName("GONE", 0), 0);
}

// The libraries are the project's: a command taken back leaves them as before (no new part, no new file, a replaced
// part and its file as they were), one that succeeds keeps what it saved.
TEST_F(LibrarySectionsHostTest, ACommandTakenBackLeavesTheLibrariesAsBefore) {
    const std::string folder = UserFile("undone");
    std::filesystem::create_directory(folder);
    std::ofstream(folder + "/P.lpd") << kHead;  // part "P"
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(folder, &why)) << why;
    ASSERT_EQ(Overwrite(true), NoError);
    const int32_t parts = Store().PartCount();
    const auto text = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string before = text(folder + "/P.lpd");
    const auto saveBoth = [&] {
        API_LibPart n = Record("N", folder), p = Record("P", folder);
        return T().LibPart_Create(&n) == NoError && T().LibPart_Save(&n) == NoError &&
            T().LibPart_Create(&p) == NoError && T().LibPart_Save(&p) == NoError;
    };
    bool saved = false;
    EXPECT_NE(ACAPI_CallUndoableCommand(GS::UniString("taken back"),
                                        [&]() -> GSErrCode {
                                            saved = saveBoth();
                                            return APIERR_GENERAL;
                                        }),
              NoError);
    ASSERT_TRUE(saved);
    EXPECT_EQ(Store().PartCount(), parts);
    EXPECT_LT(Store().FindByName("N", 0), 0);
    EXPECT_FALSE(std::filesystem::exists(folder + "/N.lpd"));
    EXPECT_EQ(text(folder + "/P.lpd"), before);
    EXPECT_GT(Store().FindByName("P", 0), 0);

    EXPECT_EQ(ACAPI_CallUndoableCommand(GS::UniString("kept"),
                                        [&]() -> GSErrCode { return saveBoth() ? NoError : APIERR_GENERAL; }),
              NoError);
    EXPECT_EQ(Store().PartCount(), parts + 1);
    EXPECT_TRUE(std::filesystem::exists(folder + "/N.lpd"));
    EXPECT_NE(text(folder + "/P.lpd"), before);
}

}  // namespace library_sections_test
