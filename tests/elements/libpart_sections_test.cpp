// Library-part sections on the stand-in host: reading a part's sections, loading one by type, writing scripts and
// parameter sections back, rewriting a part with its own sections and making new parts from a section list.
#include "ProjectHost.hpp"

#include "elements/BaseLP.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LibPartHelpers.hpp"
#include "elements/LibPartSections.hpp"

#include "library/LibraryStore.hpp"
#include "MemoryDriver.hpp"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace libpart_sections_test {

constexpr uint32_t kAncestry = API_Selector("ANCS");

class LibPartSectionsTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        handlesAtStart = MemoryDriver::LiveHandleCount();
    }
    void TearDown() override {
        MemoryDriver::Reset();
        ProjectHostTest::TearDown();
    }

    LibraryStore& Store() { return host->Project().libraries; }
    std::string FileText(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::u16string TextOf(const QV_LibPartSection& s) { return s.text != nullptr ? s.text->ToU16String() : u"<none>"; }
    std::string ContentOf(const QV_LibPartSection& s) {
        return s.content != nullptr ? std::string(*s.content, size_t(BMGetHandleSize(s.content))) : "<none>";
    }
    const LibParamDef* HostParam(int32_t lib, const char* name) {
        for (const LibParamDef& p : Store().Part(lib)->params)
            if (p.name == name) return &p;
        return nullptr;
    }
    // A new part of that name in the fixture's library folder, being created.
    API_LibPart Begin(const char* name, GSErrCode* err = nullptr) {
        API_LibPart part;
        std::memset(static_cast<void*>(&part), 0, sizeof part);
        part.typeID = APILib_ObjectID;
        for (size_t i = 0; name[i] != '\0'; ++i) part.docu_UName[i] = char16_t(name[i]);
        IO::Location folder(UserFile("lib").c_str());
        part.location = &folder;
        const GSErrCode e = ACAPI_LibPart_Create(&part);
        part.location = nullptr;
        if (err != nullptr)
            *err = e;
        else
            EXPECT_EQ(e, NoError);
        return part;
    }
    int64_t handlesAtStart = 0;
};

TEST_F(LibPartSectionsTest, ReadGivesTheParametersFirstThenTheScriptsWithTheirTexts) {
    {
        QV_List<QV_LibPartSection> sections;
        ASSERT_TRUE(LibPartSection_Read(libA, sections));
        ASSERT_EQ(sections.GetCount(), 3);
        const QV_LibPartSection& pard = sections[0];
        EXPECT_EQ(pard.header.sectType, API_SectParamDef);
        EXPECT_EQ(pard.a, 1.5);
        EXPECT_EQ(pard.b, 0.0);
        ASSERT_NE(pard.content, nullptr);
        BaseLP view;
        view.Attach(pard.content, false);
        EXPECT_EQ(view.RecordCount(), 3);
        QV_String op;
        EXPECT_EQ(view.GetStringParam(op, QV_String("operatore")).ToStdString(), "result");

        EXPECT_EQ(sections[1].header.sectType, API_Sect2DScript);
        EXPECT_EQ(TextOf(sections[1]), u"! PART_A: 2D script\r\n");
        EXPECT_EQ(ContentOf(sections[1]), "! PART_A: 2D script\r\n");
        EXPECT_EQ(sections[2].header.sectType, API_Sect3DScript);
    }
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handlesAtStart);

    // The list is emptied first; a part the host does not know gives false.
    QV_List<QV_LibPartSection> sections;
    ASSERT_TRUE(LibPartSection_Read(libB, sections));
    EXPECT_FALSE(LibPartSection_Read(999, sections));
    EXPECT_EQ(sections.GetCount(), 0);
}

TEST_F(LibPartSectionsTest, SectionsWithoutTextAreReadAgainWithoutItAndUnreadableOnesSkipped) {
    const std::string folder = UserFile("lib2");
    std::filesystem::create_directory(folder);
    std::ofstream(folder + "/ANC.lpd")
        << "name = ANC\nguid = {33333333-3333-3333-3333-333333333333}-{00000000-0000-0000-0000-000000000000}\n"
           "type = object\nsection ANCS 0 = hex:00FF10\nsection 2DSC = \"line\\r\\n\"\n";
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(folder, &why)) << why;
    const int32_t lib = Store().FindByName("ANC", 0);

    QV_List<QV_LibPartSection> sections;
    GS::UniString scratch;
    ASSERT_TRUE(LibPartSection_Read(lib, sections, &scratch));
    ASSERT_EQ(sections.GetCount(), 4);  // PARD, ANCS, 2DSC, then the 3D script every part gets
    EXPECT_EQ(sections[1].header.sectType, kAncestry);
    EXPECT_EQ(ContentOf(sections[1]), std::string("\x00\xFF\x10", 3));
    EXPECT_EQ(sections[1].text, nullptr);
    EXPECT_EQ(TextOf(sections[2]), u"line\r\n");

    // The first read of a section (with its text) refused: read again without the text.
    ASSERT_TRUE(host->FailCallAfter("LibPart_GetSection", -1, APIERR_GENERAL, 0, 1));
    ASSERT_TRUE(LibPartSection_Read(lib, sections));
    ASSERT_EQ(sections.GetCount(), 4);
    host->ClearFailures();
    // A section the host will not give at all, or parameters it will not hand out: a part made from the rest would
    // lack them, so nothing is read.
    for (const char* refused : {"LibPart_GetSection", "Goodies"}) {
        ASSERT_TRUE(host->FailCall(refused, -1, APIERR_GENERAL));
        EXPECT_FALSE(LibPartSection_Read(lib, sections)) << refused;
        EXPECT_EQ(sections.GetCount(), 0) << refused;
        host->ClearFailures();
    }

    ASSERT_TRUE(host->FailCall("LibPart_GetSectionList", -1, APIERR_GENERAL));
    EXPECT_FALSE(LibPartSection_Read(lib, sections));
    EXPECT_EQ(sections.GetCount(), 0);
}

TEST_F(LibPartSectionsTest, LoadCopiesTheFirstSectionOfATypeOrFailsWith7003) {
    {
        QV_LibPartSection section;
        GSErrCode err = 1;
        ASSERT_TRUE(LibPartSection_Load(libA, API_Sect3DScript, section, err));
        EXPECT_EQ(err, NoError);
        EXPECT_EQ(TextOf(section), u"! PART_A: 3D script\r\n");

        // A loaded parameter section is a list of its own: it survives the copy it was taken from.
        QV_LibPartSection pard;
        ASSERT_TRUE(LibPartSection_Load(libA, API_SectParamDef, pard, err));
        QV_LibPartSection copy(pard);
        pard.Clear();
        BaseLP view;
        view.Attach(copy.content, false);
        QV_List<double> cells;
        int32_t d1 = 0, d2 = 0;
        ASSERT_TRUE(view.GetSetDoubleArrayByName(QV_String("nodi"), cells, d1, d2, LPMode_Get));
        EXPECT_EQ(cells.GetCount(), 4);
        EXPECT_EQ(cells[3], 4.0);

        QV_LibPartSection missing;
        EXPECT_FALSE(LibPartSection_Load(libA, API_Selector("XXXX"), missing, err));
        EXPECT_EQ(err, LodravixErr_StepFailed);
        EXPECT_EQ(missing.content, nullptr);
        EXPECT_FALSE(LibPartSection_Load(999, API_Sect3DScript, missing, err));
        EXPECT_EQ(err, LodravixErr_StepFailed);
    }
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handlesAtStart);
}

TEST_F(LibPartSectionsTest, ScriptsWrittenFromLinesReadBackWithEveryCharacter) {
    QV_List<QV_String> lines;
    lines.Insert(QV_String("PROJECT2 3, 270, 2\r\n", Encoding_UTF8));
    lines.Insert(QV_String(u8"! \u03a9 \u65e5\u672c\r\n", Encoding_UTF8));  // beyond the system code page
    ASSERT_TRUE(LibPartSection_WriteText(libA, API_Sect2DScript, lines, 0));

    QV_LibPartSection section;
    GSErrCode err = 0;
    ASSERT_TRUE(LibPartSection_Load(libA, API_Sect2DScript, section, err));
    EXPECT_EQ(TextOf(section), u"PROJECT2 3, 270, 2\r\n! \u03a9 \u65e5\u672c\r\n");
    // The content is the system code page's form of it.
    EXPECT_EQ(ContentOf(section), "PROJECT2 3, 270, 2\r\n! ? ??\r\n");

    // Written back as loaded, the text survives.
    ASSERT_TRUE(LibPartSection_Write(libA, section, nullptr));
    EXPECT_EQ(Store().Part(libA)->Section(API_Sect2DScript, 0)->text,
              u"PROJECT2 3, 270, 2\r\n! \u03a9 \u65e5\u672c\r\n");

    // A section the part lacks cannot be written; nor can one with neither text nor content.
    EXPECT_FALSE(LibPartSection_WriteText(libA, API_Sect1DScript, lines, 0));
    EXPECT_FALSE(LibPartSection_WriteText(libA, API_Sect2DScript, lines, 7));
    QV_LibPartSection empty;
    empty.header.sectType = API_Sect3DScript;
    EXPECT_FALSE(LibPartSection_Write(libA, empty, nullptr));
}

TEST_F(LibPartSectionsTest, AParameterSectionWrittenBackChangesTheDefaultsSizesAndDetails) {
    {
        QV_LibPartSection pard;
        GSErrCode err = 0;
        ASSERT_TRUE(LibPartSection_Load(libA, API_SectParamDef, pard, err));
        BaseLP view;
        view.Attach(pard.content, true);
        ASSERT_GE(view.SetStringParam("operatore", QV_String("cut")), 0);
        pard.a = 3.25;
        pard.b = 2.0;  // the part has no "B": it gets one
        API_LibPartDetails details = {};
        details.autoHotspot = 1;
        ASSERT_TRUE(LibPartSection_Write(libA, pard, &details));
    }
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handlesAtStart);

    GSHandle params = nullptr;
    double a = 0.0, b = 0.0;
    ASSERT_TRUE(BaseLP::GetLibPartParams(libA, &params, &a, &b, nullptr));
    EXPECT_EQ(a, 3.25);
    EXPECT_EQ(b, 2.0);
    BaseLP view;
    view.Attach(params, true);
    QV_String op;
    EXPECT_EQ(view.GetStringParam(op, QV_String("operatore")).ToStdString(), "cut");
    ReleaseParamRecords(&params);
    EXPECT_EQ(Store().Part(libA)->details.autoHotspot, 1);
    EXPECT_EQ(Store().Part(libA)->details.fixSize, 0);

    // A host refusing the definition section: false, and the defaults stay.
    QV_LibPartSection pard;
    GSErrCode err = 0;
    ASSERT_TRUE(LibPartSection_Load(libA, API_SectParamDef, pard, err));
    pard.a = 9.0;
    ASSERT_TRUE(host->FailCall("LibPart_GetSect_ParamDef", -1, APIERR_MEMFULL));
    EXPECT_FALSE(LibPartSection_Write(libA, pard, nullptr));
    host->ClearFailures();
    ASSERT_TRUE(host->FailCall("LibPart_UpdateSection", -1, APIERR_GENERAL));
    EXPECT_FALSE(LibPartSection_Write(libA, pard, nullptr));
    EXPECT_EQ(HostParam(libA, "A")->numbers[0], 3.25);
    host->ClearFailures();
    pard.Clear();
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handlesAtStart);
}

TEST_F(LibPartSectionsTest, APartRewrittenWithItsOwnSectionsKeepsItsIdentityAndFile) {
    {
        QV_List<QV_String> lines;
        lines.Insert(QV_String("BLOCK A, B, 1\r\n"));
        ASSERT_TRUE(LibPartSection_WriteText(libA, API_Sect3DScript, lines, 0));
    }
    const std::string guid = Store().Part(libA)->guid;
    const std::string file = UserFile("lib") + "/PART_A.lpd";

    // Overwriting off: the part of that name stays, and the switch is off afterwards.
    EXPECT_FALSE(LibPart_CreateFromPart(QV_String("PART_A.gsm"), false));
    EXPECT_EQ(FileText(file).find("BLOCK A"), std::string::npos);

    ASSERT_TRUE(LibPart_CreateFromPart(QV_String("PART_A.gsm"), true));
    EXPECT_FALSE(Store().Overwrite());
    EXPECT_EQ(Store().FindByName("PART_A", 0), libA);
    EXPECT_EQ(Store().Part(libA)->guid, guid);
    EXPECT_EQ(HostParam(libA, "A")->numbers[0], 1.5);

    // The file was rewritten: a fresh load of the folder gives the same part.
    LibraryStore fresh;
    std::string why;
    ASSERT_TRUE(fresh.LoadFolder(UserFile("lib"), &why)) << why;
    const LibPartDef* reloaded = fresh.Part(fresh.FindByName("PART_A", 0));
    ASSERT_NE(reloaded, nullptr);
    EXPECT_EQ(reloaded->guid, guid);
    ASSERT_NE(reloaded->Section(API_Sect3DScript, 0), nullptr);
    EXPECT_EQ(reloaded->Section(API_Sect3DScript, 0)->text, u"BLOCK A, B, 1\r\n");
    // The sizes are parameters "A" and "B" of every part written: the part gained its "B".
    ASSERT_EQ(reloaded->params.size(), 4u);
    EXPECT_EQ(reloaded->params[1].name, "B");
    EXPECT_EQ(reloaded->params[3].name, "nodi");
    EXPECT_EQ(reloaded->params[3].numbers, (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(reloaded->params[2].texts, (std::vector<std::u16string>{u"result"}));

    // Names are cut at their first '.'; a name no part has fails.
    EXPECT_FALSE(LibPart_CreateFromPart(QV_String("PART_C.gsm"), true));
    EXPECT_TRUE(LibPart_CreateFromPart(QV_String("PART_B"), true));
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handlesAtStart);
}

TEST_F(LibPartSectionsTest, APartThatCannotBeFullyWrittenIsNotSaved) {
    ASSERT_TRUE(host->FailCall("LibPart_AddSection", -1, APIERR_GENERAL));
    EXPECT_FALSE(LibPart_CreateFromPart(QV_String("PART_A"), true));
    host->ClearFailures();
    EXPECT_EQ(Store().FindByName("PART_A", 0), libA);
    EXPECT_EQ(Store().Part(libA)->sections.size(), 3u);
    ASSERT_TRUE(host->FailCall("LibPart_Create", -1, APIERR_GENERAL));
    EXPECT_FALSE(LibPart_CreateFromPart(QV_String("PART_A"), true));
    EXPECT_FALSE(Store().Overwrite());
}

TEST_F(LibPartSectionsTest, SectionsWrittenToANewPartMakeAPartFoundByName) {
    QV_List<QV_LibPartSection> sections;
    ASSERT_TRUE(LibPartSection_Read(libA, sections));
    API_LibPart part = Begin("NEW_PART");
    EXPECT_LT(Store().FindByName("NEW_PART", 0), 0);  // not before it is saved
    const double a = 4.0, b = 5.0;
    EXPECT_EQ(LibPart_WriteSections(part, sections, nullptr, &a, &b, true, nullptr), 1);
    ASSERT_EQ(ACAPI_LibPart_Save(&part), NoError);

    API_LibPart found;
    ASSERT_EQ(LibPart_SearchByName(QV_String("NEW_PART"), APILib_ObjectID, found), NoError);
    EXPECT_EQ(found.index, part.index);
    const LibPartDef* made = Store().Part(part.index);
    EXPECT_NE(made->guid, Store().Part(libA)->guid);
    EXPECT_EQ(HostParam(part.index, "A")->numbers[0], 4.0);
    EXPECT_EQ(HostParam(part.index, "B")->numbers[0], 5.0);
    ASSERT_NE(HostParam(part.index, "operatore"), nullptr);
    EXPECT_EQ(made->details.fixSize, 1);
    EXPECT_EQ(made->details.autoHotspot, 1);
    ASSERT_EQ(made->sections.size(), 3u);
    EXPECT_EQ(made->sections[1].text, u"! PART_A: 2D script\r\n");
    EXPECT_TRUE(std::filesystem::exists(UserFile("lib") + "/NEW_PART.lpd"));

    // Parameters given in place of the section's own.
    QV_LibPartSection pard;
    GSErrCode err = 0;
    ASSERT_TRUE(LibPartSection_Load(libB, API_SectParamDef, pard, err));
    API_LibPart other = Begin("OTHER");
    API_LibPartDetails details = {};
    details.fixSize = 1;
    EXPECT_EQ(LibPart_WriteSections(other, sections, pard.content, nullptr, nullptr, false, &details), 1);
    ASSERT_EQ(ACAPI_LibPart_Save(&other), NoError);
    EXPECT_EQ(Store().Part(other.index)->params.size(), 2u);  // PART_B's "A", and "B"
    EXPECT_EQ(HostParam(other.index, "A")->numbers[0], 1.5);  // sized by the section
    EXPECT_EQ(Store().Part(other.index)->details.fixSize, 1);
    EXPECT_EQ(Store().Part(other.index)->details.autoHotspot, 0);
}

TEST_F(LibPartSectionsTest, WritingStopsAtTheFirstSectionThatFails) {
    {
        QV_List<QV_LibPartSection> read;
        ASSERT_TRUE(LibPartSection_Read(libA, read));
        // The 2D script, an empty section, then the 3D script.
        QV_List<QV_LibPartSection> sections;
        sections.Insert(read[1]);
        QV_LibPartSection empty;
        empty.header.sectType = API_SectComment;
        sections.Insert(empty);
        sections.Insert(read[2]);
        API_LibPart part = Begin("HALF");
        EXPECT_EQ(LibPart_WriteSections(part, sections, nullptr, nullptr, nullptr, false, nullptr), 0);
        ASSERT_EQ(ACAPI_LibPart_Save(&part), NoError);
        ASSERT_EQ(Store().Part(part.index)->sections.size(), 1u);
        EXPECT_EQ(Store().Part(part.index)->sections[0].type, API_Sect2DScript);

        // The host refusing the second section (a second 2D script of sub-identifier 0).
        sections.Clear();
        sections.Insert(read[1]);
        sections.Insert(read[1]);
        sections.Insert(read[2]);
        API_LibPart again = Begin("HALF2");
        EXPECT_EQ(LibPart_WriteSections(again, sections, nullptr, nullptr, nullptr, false, nullptr), 0);
        ASSERT_EQ(ACAPI_LibPart_Save(&again), NoError);
        EXPECT_EQ(Store().Part(again.index)->sections.size(), 1u);

        // An empty list writes nothing and succeeds; a parameter section the host refuses fails.
        sections.Clear();
        API_LibPart none = Begin("NONE");
        EXPECT_EQ(LibPart_WriteSections(none, sections, nullptr, nullptr, nullptr, false, nullptr), 1);
        ASSERT_TRUE(host->FailCall("LibPart_SetDetails_ParamDef", -1, APIERR_GENERAL));
        sections.Insert(read[0]);
        EXPECT_EQ(LibPart_WriteSections(none, sections, nullptr, nullptr, nullptr, true, nullptr), 0);
        host->ClearFailures();
        ASSERT_EQ(ACAPI_LibPart_Save(&none), NoError);
        EXPECT_TRUE(Store().Part(none.index)->sections.empty());
    }
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handlesAtStart);
}

TEST_F(LibPartSectionsTest, ReadingAndCopyingUnderFailingMemoryLeaksNothing) {
    MemoryDriver::ScopedReset reset;
    for (int64_t n = 0; n < 40; ++n) {
        {
            QV_List<QV_LibPartSection> sections;
            MemoryDriver::FailAllocationsAfter(n);
            const bool ok = LibPartSection_Read(libA, sections);
            QV_LibPartSection copy;
            const bool copied = ok && sections.GetCount() > 0 && copy.CopyFrom(sections[0]);
            MemoryDriver::Reset();
            if (!ok) {
                EXPECT_EQ(sections.GetCount(), 0) << n;
            }
            if (copied) {
                EXPECT_NE(copy.content, nullptr);
            }
        }
        EXPECT_EQ(MemoryDriver::LiveHandleCount(), handlesAtStart) << "after " << n << " allocations";
    }
}

TEST_F(LibPartSectionsTest, RewritingUnderFailingMemoryLeavesAWholePartAndNoHandle) {
    MemoryDriver::ScopedReset reset;
    int successes = 0;
    for (int64_t n = 0; n < 60; ++n) {
        MemoryDriver::FailAllocationsAfter(n);
        const bool ok = LibPart_CreateFromPart(QV_String("PART_A"), true);
        MemoryDriver::Reset();
        successes += ok ? 1 : 0;
        EXPECT_EQ(MemoryDriver::LiveHandleCount(), handlesAtStart) << "after " << n << " allocations";
        const LibPartDef* part = Store().Part(libA);
        ASSERT_NE(part, nullptr);
        EXPECT_EQ(part->sections.size(), 3u) << n;
        EXPECT_NE(HostParam(libA, "nodi"), nullptr) << n;
        EXPECT_FALSE(Store().Overwrite());
    }
    EXPECT_GT(successes, 0);

    // The first allocations failing, the later ones succeeding: a rewrite either fails or keeps every section.
    for (int64_t k = 1; k < 60; ++k) {
        MemoryDriver::FailNextAllocations(k);
        LibPart_CreateFromPart(QV_String("PART_A"), true);
        MemoryDriver::Reset();
        EXPECT_EQ(MemoryDriver::LiveHandleCount(), handlesAtStart) << k;
        EXPECT_EQ(Store().Part(libA)->sections.size(), 3u) << k;
        EXPECT_NE(HostParam(libA, "nodi"), nullptr) << k;
    }
}

TEST_F(LibPartSectionsTest, APartWithASectionThatCannotBeReadIsNotRewritten) {
    ASSERT_TRUE(host->FailCall("LibPart_GetSection", -1, APIERR_GENERAL));
    EXPECT_FALSE(LibPart_CreateFromPart(QV_String("PART_A"), true));
    host->ClearFailures();
    EXPECT_EQ(Store().Part(libA)->sections.size(), 3u);
    ASSERT_TRUE(host->FailCall("Goodies", -1, APIERR_GENERAL));  // the parameters cannot be read
    EXPECT_FALSE(LibPart_CreateFromPart(QV_String("PART_A"), true));
    host->ClearFailures();
    EXPECT_EQ(Store().Part(libA)->params.size(), 3u);
}

}  // namespace libpart_sections_test
