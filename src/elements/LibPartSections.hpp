#pragma once
// The sections of library parts: reading a part's sections into a list, loading one by type, writing one back,
// writing a script from lines, and making a part from a list of sections (a new part, or a part rewritten with
// its own sections).
//
// Text sections (scripts) come with their content in the system code page and their text as a host string.
// Writers hand the host the text whenever a section holds one: the code page cannot hold every character a
// script may contain, so writing the content back would lose them.
//
// `text` arguments are optional scratch strings handed to the host's section calls in place of the function's
// own; afterwards they hold the last text that went to or came from the host.
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIDefs.hpp"
#include "APILibPartSections.hpp"
#include "GSRoot.hpp"

#include <cstdint>

namespace GS {
class UniString;
}

// One section of a library part: the host's header, the content (owned) and, for text sections, the text
// (owned). A parameter section ('PARD') holds the part's parameter list instead: a handle of API_AddParType
// records whose arrays keep their cells in handles of their own, with the sizes A and B.
struct QV_LibPartSection {
    QV_LibPartSection() = default;
    // Deep copies (handles and text duplicated); a copy that memory refuses holds nothing (see CopyFrom).
    QV_LibPartSection(const QV_LibPartSection& other);
    QV_LibPartSection& operator=(const QV_LibPartSection& other);
    ~QV_LibPartSection() { Clear(); }

    // Zeroes the header and the sizes, frees the content (a parameter list with its cell handles) and deletes
    // the text.
    void Clear();
    // Takes over a content handle and a text (either may be null); what was held before is released.
    void Adopt(const API_LibPartSection& sectionHeader, GSHandle sectionContent, GS::UniString* sectionText);
    // Deep copy of `other`; false, and this section cleared, when memory fails.
    bool CopyFrom(const QV_LibPartSection& other);
    bool IsParamSection() const { return header.sectType == API_SectParamDef; }

    API_LibPartSection header = {};
    double a = 0.0;  // parameter section: the sizes A and B
    double b = 0.0;
    GSHandle content = nullptr;
    GS::UniString* text = nullptr;
};
QV_DECLARE_RELOCATABLE(QV_LibPartSection);

// Empties `outSections`, then appends one section per section of the part, in the part's order. The parameter
// section holds the part's default parameter list and sizes; every other section is read with its text, and read
// again without it when that fails. False, with the list empty, when the section list or a section cannot be read
// (or memory fails).
bool LibPartSection_Read(int32_t libIndex, QV_List<QV_LibPartSection>& outSections, GS::UniString* text = nullptr);

// The first section of `sectionType` of the part, copied into `outSection`; `outError` 0. False with -7003 in
// `outError` when the sections cannot be read or the part has no such section.
bool LibPartSection_Load(int32_t libIndex, uint32_t sectionType, QV_LibPartSection& outSection, GSErrCode& outError,
                         GS::UniString* text = nullptr);

// Writes the section over the part's section of its type and sub-identifier: a text section by its text when it
// has one, any other by its content. A parameter section becomes the host's parameter definition section from
// its list and sizes, with `details` applied when given. False on any host error.
bool LibPartSection_Write(int32_t libIndex, const QV_LibPartSection& section, const API_LibPartDetails* details,
                          GS::UniString* text = nullptr);

// Joins the lines (no separators added) into one text section of that type and sub-identifier and writes it.
bool LibPartSection_WriteText(int32_t libIndex, uint32_t sectionType, const QV_List<QV_String>& lines, int16_t subIdent,
                              GS::UniString* text = nullptr);

// Rewrites a library part with its own sections: the name is cut at its first '.'; the object part of that
// name is read, a part of that name is created in its folder (the overwrite switch 'OWLP' set to `ownerFlag`
// around the creation, then cleared), every section is written to it and it is saved. Nothing is created when a
// section cannot be read, and a part whose sections could not all be written is not saved, so the part is never
// replaced by one that lacks some of its sections. True when creation, writing and saving succeed.
bool LibPart_CreateFromPart(const QV_String& fileName, bool ownerFlag, GS::UniString* text = nullptr);

// Adds the sections to the part being created (between its creation and its saving), in list order: 1 when
// every section was added, 0 at the first failure (the sections after it are not added); an empty list gives
// 1. A section other than the parameter section without content or text fails. The parameter section is made
// from `paramsOverride` (when not null) or its own list, and from `aOverride` / `bOverride` (when not null) or
// its own sizes; with `defaultDetails` it gets details whose first two fields are 1, otherwise `details` when
// given.
int32_t LibPart_WriteSections(const API_LibPart& libPart, const QV_List<QV_LibPartSection>& sections,
                              GSHandle paramsOverride, const double* aOverride, const double* bOverride,
                              bool defaultDetails, const API_LibPartDetails* details, GS::UniString* text = nullptr);

// Creates (or, of the same name, overwrites) a library part from a section list: an object part with the parent
// id of the part `sourceIndex` (which must exist with its definition), named `name` in the folder `folderPath`
// ("\"-separated). An empty name takes the file name of `folderPath` (between its last '\' and last '.') and
// the folder before it. With `useParent` a non-empty `parentId` (system code page) becomes the parent id. The
// sections are written as LibPart_WriteSections does with `paramsOverride`, `aOverride`, `bOverride`,
// `defaultDetails` and `details`, and the part is saved. True, with the new part's index in `outIndex`, when
// creation, writing and saving succeed; `outIndex` -1 otherwise.
bool LibPart_CreateFromSections(int32_t sourceIndex, const QV_String& folderPath,
                                const QV_List<QV_LibPartSection>& sections, const QV_String& name,
                                const QV_String& parentId, bool useParent, GSHandle paramsOverride,
                                const double* aOverride, const double* bOverride, bool defaultDetails,
                                const API_LibPartDetails* details, int32_t& outIndex, GS::UniString* text = nullptr);
