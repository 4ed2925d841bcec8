#include "library/LibPartSectionCalls.hpp"

#include "APILibPartSections.hpp"
#include "HostCalls.hpp"
#include "library/LibraryStore.hpp"
#include "UniString.hpp"
#include "Win32.hpp"
#include "library/ParamDefSection.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace {
// Runs one entry for the host serving now: a failure set by FailCall answers first; a refusal is logged with
// the reason the body gives.
template <typename F>
GSErrCode Serve(const char* name, F&& body) {
    return ServeCall(name, -1, [&](HostCalls& host) {
        std::string why;
        const GSErrCode err = body(host, host.Libraries(), why);
        if (err != NoError && !why.empty())
            host.Log(std::string("  host: ") + name + " refused (" + ErrorText(err) + "): " + why);
        return err;
    });
}

std::string Where(const LibPartDef& part, uint32_t type, int16_t subIdent) {
    return "section " + SectionTypeText(type) + " " + std::to_string(subIdent) + " of " + part.name;
}

// A text in the system code page (what a text section's content holds).
std::string ToSystemCodePage(const std::u16string& text) {
    if (text.empty()) return std::string();
    const int32_t n = WideCharToMultiByte(CP_ACP, 0, text.data(), int32_t(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), int32_t(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::u16string FromSystemCodePage(const char* bytes, size_t size) {
    if (size == 0) return std::u16string();
    const int32_t n = MultiByteToWideChar(CP_ACP, 0, bytes, int32_t(size), nullptr, 0);
    std::u16string out(size_t(n > 0 ? n : 0), u'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, bytes, int32_t(size), &out[0], n);
    return out;
}

// The part a record names: a part of the libraries, or the one being created.
LibPartDef* PartOfRecord(LibraryStore& store, const API_LibPart* libPart) {
    if (libPart == nullptr) return nullptr;
    if (store.PartBeingCreated() != nullptr && libPart->index == store.IndexBeingCreated())
        return store.PartBeingCreated();
    return store.MutablePart(libPart->index);
}

// What a section update or add brings, turned into the part's section (and, for 'PARD', its parameters,
// sizes and details). Nothing of the part changes on a refusal.
GSErrCode ApplySection(LibPartDef& part, const API_LibPartSection& header, GSConstHandle content,
                       const GS::UniString* text, bool adding, std::string& why) {
    LibSectionDef* existing = part.Section(header.sectType, header.subIdent);
    if (!adding && existing == nullptr) {
        why = "the part has no " + Where(part, header.sectType, header.subIdent);
        return APIERR_NOSECTION;
    }
    if (adding && existing != nullptr) {
        why = "the part has its " + Where(part, header.sectType, header.subIdent) + " already";
        return APIERR_BADPARS;
    }
    LibSectionDef section;
    section.type = header.sectType;
    section.subIdent = header.subIdent;
    section.version = header.version > 0 ? header.version : 1;
    if (header.sectType == API_SectParamDef) {
        std::vector<LibParamDef> params;
        double a = 0.0, b = 0.0;
        API_LibPartDetails details = {};
        if (!ReadParamDefSection(content, &params, &a, &b, &details, &why)) return APIERR_BADPARS;
        SetSizeParams(&params, a, b);
        if (params.size() > LibParamCountMax) {
            why = "too many parameters";
            return APIERR_BADPARS;
        }
        part.params = std::move(params);
        part.details = details;
    } else if (IsTextSectionType(header.sectType)) {
        if (text != nullptr) {
            section.text = text->ToU16String();
        } else if (content != nullptr && *content != nullptr) {
            const size_t size = size_t(BMGetHandleSize(content));
            section.text = FromSystemCodePage(*content, strnlen(*content, size));
        } else {
            why = "neither text nor content for " + Where(part, header.sectType, header.subIdent);
            return APIERR_BADPARS;
        }
        if (section.text.find(u'\0') != std::u16string::npos) {
            why = "a text with a NUL character for " + Where(part, header.sectType, header.subIdent);
            return APIERR_BADPARS;
        }
    } else {
        if (content == nullptr || *content == nullptr) {
            why = Where(part, header.sectType, header.subIdent) + " takes content, it has no text";
            return APIERR_BADPARS;
        }
        section.bytes.assign(*content, size_t(BMGetHandleSize(content)));
    }
    if (existing != nullptr)
        *existing = std::move(section);
    else
        part.sections.push_back(std::move(section));
    return NoError;
}

GSErrCode T_GetSectionList(int32_t libInd, int32_t* nSection, API_LibPartSection*** sections) {
    return Serve("LibPart_GetSectionList", [&](HostCalls&, LibraryStore& store, std::string&) -> GSErrCode {
        if (nSection == nullptr || sections == nullptr) return APIERR_BADPARS;
        *nSection = 0;
        *sections = nullptr;
        const LibPartDef* part = store.Part(libInd);
        if (part == nullptr) return APIERR_BADINDEX;
        GSHandle h = BMAllocateHandle(GSSize(part->sections.size() * sizeof(API_LibPartSection)), ALLOCATE_CLEAR, 0);
        if (h == nullptr) return APIERR_MEMFULL;
        for (size_t i = 0; i < part->sections.size(); ++i) {
            API_LibPartSection& r = reinterpret_cast<API_LibPartSection*>(*h)[i];
            r.sectType = part->sections[i].type;
            r.subIdent = part->sections[i].subIdent;
            r.version = part->sections[i].version;
        }
        *nSection = int32_t(part->sections.size());
        *sections = reinterpret_cast<API_LibPartSection**>(h);
        return NoError;
    });
}

GSErrCode T_GetSection(int32_t libInd, API_LibPartSection* section, GSHandle* content, GS::UniString* text) {
    return Serve("LibPart_GetSection", [&](HostCalls&, LibraryStore& store, std::string& why) -> GSErrCode {
        if (section == nullptr || content == nullptr) return APIERR_BADPARS;
        *content = nullptr;
        const LibPartDef* part = store.Part(libInd);
        if (part == nullptr) return APIERR_BADINDEX;
        const LibSectionDef* s = part->Section(section->sectType, section->subIdent);
        if (s == nullptr) {
            why = "the part has no " + Where(*part, section->sectType, section->subIdent);
            return APIERR_NOSECTION;
        }
        const bool isText = IsTextSectionType(s->type);
        if (text != nullptr && !isText) {
            why = Where(*part, s->type, s->subIdent) + " has no text";
            return APIERR_BADPARS;
        }
        section->version = s->version;
        section->flags = 0;
        if (s->type == API_SectParamDef) {
            double a = 0.0, b = 0.0;
            GetSizeParams(part->params, &a, &b);
            *content = MakeParamDefSection(part->params, a, b, part->details);
            return *content != nullptr ? NoError : APIERR_MEMFULL;
        }
        const std::string bytes = isText ? ToSystemCodePage(s->text) : s->bytes;
        const GSErrCode err = HandOut(bytes.data(), bytes.size(), content);
        if (err == NoError && text != nullptr) *text = GS::UniString(s->text);
        return err;
    });
}

GSErrCode T_UpdateSection(int32_t libInd, const API_LibPartSection* section, GSConstHandle content,
                          const GS::UniString* text) {
    return Serve("LibPart_UpdateSection", [&](HostCalls&, LibraryStore& store, std::string& why) -> GSErrCode {
        if (section == nullptr) return APIERR_BADPARS;
        LibPartDef* part = store.MutablePart(libInd);
        if (part == nullptr) return APIERR_BADINDEX;
        return ApplySection(*part, *section, content, text, false, why);
    });
}

GSErrCode T_AddSection(const API_LibPartSection* section, GSConstHandle content, const GS::UniString* text) {
    return Serve("LibPart_AddSection", [&](HostCalls&, LibraryStore& store, std::string& why) -> GSErrCode {
        if (section == nullptr) return APIERR_BADPARS;
        LibPartDef* part = store.PartBeingCreated();
        if (part == nullptr) {
            why = "no library part is being created";
            return APIERR_NOTCREATING;
        }
        return ApplySection(*part, *section, content, text, true, why);
    });
}

GSErrCode T_GetSect_ParamDef(const API_LibPart* libPart, API_AddParType** params, double a, double b,
                             GSHandle* section) {
    return Serve("LibPart_GetSect_ParamDef", [&](HostCalls&, LibraryStore& store, std::string& why) -> GSErrCode {
        if (section == nullptr) return APIERR_BADPARS;
        *section = nullptr;
        if (PartOfRecord(store, libPart) == nullptr) return APIERR_BADINDEX;
        if (!std::isfinite(a) || !std::isfinite(b)) {
            why = "the sizes A and B are not finite";
            return APIERR_BADPARS;
        }
        std::vector<LibParamDef> defs;
        if (!ParamsFromRecords(params, &defs, &why)) return APIERR_BADPARS;
        *section = MakeParamDefSection(defs, a, b, API_LibPartDetails{});
        return *section != nullptr ? NoError : APIERR_MEMFULL;
    });
}

GSErrCode T_SetDetails_ParamDef(const API_LibPart* libPart, GSHandle section, const API_LibPartDetails* details) {
    return Serve("LibPart_SetDetails_ParamDef", [&](HostCalls&, LibraryStore& store, std::string& why) -> GSErrCode {
        if (details == nullptr) return APIERR_BADPARS;
        if (PartOfRecord(store, libPart) == nullptr) return APIERR_BADINDEX;
        if (!SetParamDefSectionDetails(section, *details)) {
            why = "the block is not a parameter definition section";
            return APIERR_BADPARS;
        }
        return NoError;
    });
}

GSErrCode T_Create(API_LibPart* libPart) {
    return Serve("LibPart_Create", [&](HostCalls& host, LibraryStore& store, std::string& why) -> GSErrCode {
        if (libPart == nullptr || libPart->location == nullptr) {
            why = "a new library part needs a record with its location";
            return APIERR_BADPARS;
        }
        LibPartDef part;
        part.name = Utf8FromField(libPart->docu_UName, sizeof libPart->docu_UName / sizeof libPart->docu_UName[0]);
        part.type = libPart->typeID;
        const size_t idLen = strnlen(libPart->ownUnID, sizeof libPart->ownUnID);
        const size_t parentLen = strnlen(libPart->parentUnID, sizeof libPart->parentUnID);
        if ((idLen > 0 && !ParseLibPartUnID(std::string(libPart->ownUnID, idLen), &part.guid)) ||
            (parentLen > 0 && !ParseLibPartUnID(std::string(libPart->parentUnID, parentLen), &part.parent))) {
            why = "a unique id of the record is not {8-4-4-4-12}-{8-4-4-4-12}";
            return APIERR_BADPARS;
        }
        // The location names the library folder, or a file in it.
        std::string folder = libPart->location->ToNativePath();
        std::error_code ec;
        if (!std::filesystem::is_directory(folder, ec)) folder = std::filesystem::path(folder).parent_path().string();
        int32_t index = 0;
        const GSErrCode err = store.BeginPart(part, folder, &index, &why);
        if (err != NoError) return err;
        if (!why.empty()) host.Log("  host: " + why);
        why.clear();
        libPart->index = index;
        std::memset(libPart->ownUnID, 0, sizeof libPart->ownUnID);
        const std::string& guid = store.PartBeingCreated()->guid;
        std::memcpy(libPart->ownUnID, guid.data(), std::min(guid.size(), sizeof libPart->ownUnID - 1));
        host.Log("  host: library part " + part.name + " is being created (index " + std::to_string(index) + ")");
        return NoError;
    });
}

GSErrCode T_Save(API_LibPart* libPart) {
    return Serve("LibPart_Save", [&](HostCalls& host, LibraryStore& store, std::string& why) -> GSErrCode {
        if (libPart == nullptr) return APIERR_BADPARS;
        if (store.PartBeingCreated() == nullptr || libPart->index != store.IndexBeingCreated()) {
            why = "library part " + std::to_string(libPart->index) + " is not being created";
            return APIERR_NOTCREATING;
        }
        int32_t index = 0;
        const GSErrCode err = store.SavePart(&index, &why);
        if (err != NoError) return err;
        const LibPartDef& part = *store.Part(index);
        FillLibPartRecord(part, index, libPart);
        host.Log("  host: library part " + part.name + " saved to " + part.filePath);
        return NoError;
    });
}

GSErrCode OverwriteLibPart(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Environment", call, sizeof(bool), 0)) return APIERR_BADPARS;
    const bool on = *static_cast<const bool*>(call->par1);
    host.Libraries().SetOverwrite(on);
    host.Log(std::string("  host: overwriting library parts ") + (on ? "on" : "off"));
    return NoError;
}
}  // namespace

void InstallLibPartSectionCalls(HostFunctionSet& set) {
    set.Put("LibPart_GetSectionList", &API_HostFunctionTable::LibPart_GetSectionList, T_GetSectionList);
    set.Put("LibPart_GetSection", &API_HostFunctionTable::LibPart_GetSection, T_GetSection);
    set.Put("LibPart_UpdateSection", &API_HostFunctionTable::LibPart_UpdateSection, T_UpdateSection);
    set.Put("LibPart_AddSection", &API_HostFunctionTable::LibPart_AddSection, T_AddSection);
    set.Put("LibPart_GetSect_ParamDef", &API_HostFunctionTable::LibPart_GetSect_ParamDef, T_GetSect_ParamDef);
    set.Put("LibPart_SetDetails_ParamDef", &API_HostFunctionTable::LibPart_SetDetails_ParamDef, T_SetDetails_ParamDef);
    set.Put("LibPart_Create", &API_HostFunctionTable::LibPart_Create, T_Create);
    set.Put("LibPart_Save", &API_HostFunctionTable::LibPart_Save, T_Save);
    set.AddSelector(SelectorFamily::Environment, APIEnv_OverwriteLibPartID.code, OverwriteLibPart);
}
