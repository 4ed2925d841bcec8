#pragma once
// A stand-in project with the add-on's object library loaded (a copy in the user folder, so a test may leave parts
// out), and shortcuts that leave elements as an earlier release of the add-on saved them.
#include "ProjectHost.hpp"
#include "DGDriver.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/Language.hpp"

#include <filesystem>
#include <string>
#include <vector>

class UpkeepTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::ClearQueueAndLog();
        savedLanguage = LanguageIndex;
    }
    void TearDown() override {
        LanguageIndex = savedLanguage;
        ProjectHostTest::TearDown();
    }

    // The add-on's library, without the parts named in `leaveOut`.
    void LoadLibrary(const std::vector<std::string>& leaveOut = {}) {
        const std::string folder = UserFile("addon");
        std::filesystem::create_directory(folder);
        for (const auto& entry : std::filesystem::directory_iterator(TestSupport::BinDir() + "/library")) {
            const std::string stem = entry.path().stem().string();
            bool skip = entry.path().extension() != ".lpd";
            for (const std::string& name : leaveOut) skip = skip || stem == name;
            if (!skip) std::filesystem::copy_file(entry.path(), folder + "/" + entry.path().filename().string());
        }
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(folder, &why)) << why;
    }
    int32_t Part(const std::string& name) { return host->Project().libraries.FindByName(name, 0); }
    API_Guid PlacePart(const std::string& part, const std::string& name, int32_t layer = 1) {
        return PlaceObject(API_ObjectID, Part(part), name, layer);
    }

    // The stored parameter of a placed object (host side; null when missing).
    StoredParam* Param(const API_Guid& g, const std::string& name) {
        StoredElement* e = Db().FindMutable(g);
        if (e == nullptr || !e->memo->params) return nullptr;
        for (StoredParam& p : *e->memo.Mutable().params)
            if (name == p.record.name) return &p;
        return nullptr;
    }
    void SetNumber(const API_Guid& g, const std::string& name, double value) {
        StoredParam* p = Param(g, name);
        ASSERT_NE(p, nullptr) << name;
        p->record.value.real = value;
    }
    double Number(const API_Guid& g, const std::string& name) {
        StoredParam* p = Param(g, name);
        EXPECT_NE(p, nullptr) << name;
        return p != nullptr ? p->record.value.real : 0.0;
    }
    std::string Text(const API_Guid& g, const std::string& name) {
        StoredParam* p = Param(g, name);
        EXPECT_NE(p, nullptr) << name;
        if (p == nullptr) return std::string();
        size_t n = 0;
        while (n < 256 && p->record.value.uStr[n] != 0) ++n;
        return GS::UniString(p->record.value.uStr, uint32_t(n)).ToUtf8();
    }

    // The element's user data as an earlier release stored it: the tag, and the text of kinds 1, 4, 5, 8 at 28.
    void LegacyRecord(const API_Guid& g, char tag, const std::string& text = std::string()) {
        StoredUserData data;
        data.dataVersion = 2;
        data.platformSign = APIUserData_PlatformSign;
        std::string bytes(ElemDataRecordSize, '\0');
        bytes[0] = tag;
        bytes.replace(28, text.size(), text);
        data.bytes = bytes;
        Db().FindMutable(g)->userData = data;
    }
    // The element carried `id` in the floor plan before the conversion.
    void OldId(const API_Guid& g, int32_t id) { host->Project().oldIds.Set(ProjectCore::FloorPlanDatabase(), id, g); }

    std::string Record(const API_Guid& g) {
        const StoredElement* e = Db().Find(g);
        return e != nullptr && e->userData ? e->userData->bytes.str() : std::string();
    }
    // The text at `offset` of the element's user data, up to its NUL.
    std::string TextAt(const API_Guid& g, size_t offset) {
        const std::string r = Record(g);
        return offset < r.size() ? std::string(r.c_str() + offset) : std::string();
    }
    // A record of the current layout, written as the module writes it.
    void CurrentRecord(const API_Guid& g, int32_t kind, const ElemDescriptor& d) {
        API_Element e = {};
        e.header.guid = g;
        ASSERT_EQ(Db().GetElement(&e), NoError);
        ASSERT_EQ(Command([&] { return ElemUserData_RewriteRecord(d, kind, e.header) ? NoError : GSErrCode(-1); }),
                  NoError);
    }

    static std::string GuidString(const API_Guid& g) {
        QV_String t;
        GuidToText(t, g);
        return t.ToStdString();
    }
    // The alert of a pass over the project's elements that could not look at some of them.
    static constexpr const char* NotLookedAt = "Error while finding information on the objects.";
    static size_t AlertsSaying(const std::string& text) {
        size_t n = 0;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            for (const std::string& t : r.texts) n += r.kind == "alert" && t == text ? 1 : 0;
        return n;
    }
    static size_t DialogsShown() {
        size_t n = 0;
        for (const DGDriver::LogRecord& r : DGDriver::Log()) n += r.kind == "folder" || r.kind == "alert" ? 1 : 0;
        return n;
    }
    API_Element Element(const API_Guid& g) {
        API_Element e = {};
        e.header.guid = g;
        EXPECT_EQ(Db().GetElement(&e), NoError);
        return e;
    }

    int16_t savedLanguage = 1;
};
