#pragma once
// The host function table: what the host hands to the module through SetImportedFuncAddrs.
//
// Every entry is nullable; a null entry means the host does not offer that function and the module's wrapper
// answers APIERR_MISSINGHOSTFUNC. The host fills structSize with the size it knows; the module copies that many
// bytes and leaves the rest null, so new entries are only ever APPENDED at the end (never reordered or removed).
//
// Selector families (Environment, Interface, and later Database, Automate, Goodies ...) go through one entry per
// family. The call carries the selector and each record's size; the host checks both and logs and refuses an
// unknown selector or a record of the wrong size with APIERR_BADPARS. Which record a selector takes is fixed by
// the traits in APISelectors.hpp, so the module cannot pass the wrong one.
#include "APIDefs.hpp"
#include "Resources.hpp"

#include <cstdint>

// One selector call of a family: the selector and up to two records with their sizes (0 and null when unused).
struct API_SelectorCall {
    uint32_t selector;
    uint32_t par1Size;
    void* par1;
    uint32_t par2Size;
    uint32_t reserved;
    void* par2;
};
typedef GSErrCode API_SelectorFamilyProc(const API_SelectorCall* call);

// Records of the project database (defined in APIElements.hpp).
union API_Element;
struct API_ElementMemo;
struct API_ElementUserData;
struct API_Neig;
struct API_EditPars;
struct API_SelectionInfo;
union API_Attribute;
struct API_Attr_Head;
// Records of library-part sections (defined in APILibPartSections.hpp).
struct API_LibPartSection;
struct API_LibPartDetails;
namespace GS {
class UniString;
}
typedef GSErrCode API_UndoableCommandProc(void* context);
// Records of the 3D model (defined in APIMesh.hpp).
struct API_ElemInfo3D;
struct API_Component3D;
struct API_QuantityPar;
union API_ElementQuantity;
// Records of the notifications (defined in APIInteraction.hpp).
struct API_ActTranPars;
// The primitives of an element's drawing (defined in APIPrimitives.hpp).
union API_Primitive;
typedef GSErrCode API_ShapePrimsProc(const API_Primitive* primitive, const void* parameters, const char16_t* text,
                                     const API_Coord* coordinates);

struct API_HostFunctionTable {
    uint32_t structSize;  // sizeof as the host was built with
    uint32_t version;

    // --- selector families
    API_SelectorFamilyProc* Environment;  // 'APPL' ...
    API_SelectorFamilyProc* Interface;    // 'SMIT' ...

    // --- other add-ons
    GSErrCode (*Command_Test)(const API_ModulID* mdid, int32_t cmdID, int32_t cmdVersion);

    // --- resources and module life
    // The module's own resources (InvalidResModule when the host has none).
    GSResModule (*GetOwnResModule)();
    GSErrCode (*KeepInMemory)(bool keepIt);

    // --- menus and the built-in library
    GSErrCode (*Register_Menu)(int16_t menuStrResID, int16_t promptStrResID, int32_t menuPosCode, int32_t menuFlags);
    GSErrCode (*Install_MenuHandler)(int16_t menuStrResID, API_MenuCommandProc* handlerProc);
    GSErrCode (*Register_BuiltInLibrary)();

    // --- notifications
    GSErrCode (*Notify_CatchProjectEvent)(int32_t eventMask, API_ProjectEventHandlerProc* handlerProc);
    // elemType null: every element type.
    GSErrCode (*Notify_CatchNewElement)(const API_ElemTypeID* elemType, API_ElementEventHandlerProc* handlerProc);
    GSErrCode (*Notify_InstallElementObserver)(API_ElementEventHandlerProc* handlerProc);
    GSErrCode (*Notify_CatchToolChange)(API_ToolChangeHandlerProc* handlerProc);

    // --- the project's module data; name "" is the unnamed entry
    GSErrCode (*ModulData_Store)(const API_ModulData* info, const char* modulName);
    GSErrCode (*ModulData_Get)(API_ModulData* info, const char* modulName);
    GSErrCode (*ModulData_Delete)(const char* modulName);

    // --- modeless windows
    GSErrCode (*RegisterModelessWindow)(int32_t referenceID, API_PaletteControlCallBackProc* callBackProc,
                                        int32_t controlFlags, const API_Guid* paletteGuid);
    GSErrCode (*UnregisterModelessWindow)(int32_t referenceID);

    // --- the host's report log (the module's call log goes here)
    GSErrCode (*WriteReport)(const char* text);

    // --- library parts of the project's loaded libraries
    // Search: by ownUnID when set, else by docu_UName and typeID (0: any type), ignoring letter case.
    GSErrCode (*LibPart_Search)(API_LibPart* libPart);
    // Get: the part of libPart->index.
    GSErrCode (*LibPart_Get)(API_LibPart* libPart);
    // The part's default parameters: A and B, the record count and a new handle of API_AddParType records
    // (arrays hold their cells in handles of their own); the caller releases the handles. Null outputs are
    // skipped.
    GSErrCode (*LibPart_GetParams)(int32_t libInd, double* a, double* b, int32_t* addParNum, GSHandle* addPars);

    // --- project database: elements, memos, user data, selection, attributes, stories, windows and databases,
    //     undoable commands (records in APIElements.hpp)
    API_SelectorFamilyProc* Database;  // 'GWIN', 'GDAT', 'CDAT', 'CHWD', 'CABO'
    API_SelectorFamilyProc* Automate;  // 'CHWD', 'RBLD'
    // In: the GUID in the head. Out: the whole record.
    GSErrCode (*Element_Get)(API_Element* element);
    // The memo parts in `mask`; the caller disposes of the memo (DisposeElemMemoHdls).
    GSErrCode (*Element_GetMemo)(const API_Guid* guid, API_ElementMemo* memo, uint64_t mask);
    // In: typeID and variationID. Out: the tool's default record and, when memo is not null, its memo.
    GSErrCode (*Element_GetDefaults)(API_Element* element, API_ElementMemo* memo);
    // Bytes of `element` whose mask byte is not zero become the defaults; memo parts given replace theirs.
    GSErrCode (*Element_ChangeDefaults)(const API_Element* element, const API_ElementMemo* memo,
                                        const API_Element* mask);
    // Only inside an undoable command. The host copies the memo; the new GUID comes back in the head.
    GSErrCode (*Element_Create)(API_Element* element, const API_ElementMemo* memo);
    // Fields marked in `mask` (and the memo parts in memoMask) are written; the element comes back whole.
    GSErrCode (*Element_Change)(API_Element* element, const API_Element* mask, const API_ElementMemo* memo,
                                uint64_t memoMask);
    // For each GUID: the marked fields of defPars and every memo part defMemo holds.
    GSErrCode (*Element_ChangeParameters)(const API_Guid* guids, uint32_t count, const API_Element* defPars,
                                          const API_ElementMemo* defMemo, const API_Element* mask);
    GSErrCode (*Element_Delete)(const API_Guid* guids, uint32_t count);
    // A new handle of API_Guid records (creation order) that the caller kills; typeID 0 = every type.
    GSErrCode (*Element_GetElemList)(API_ElemTypeID typeID, GSHandle* guids);
    bool (*Element_Filter)(const API_Guid* guid, uint32_t filterBits);
    GSErrCode (*Element_GetUserData)(const API_Elem_Head* head, API_ElementUserData* userData);
    GSErrCode (*Element_SetUserData)(const API_Elem_Head* head, const API_ElementUserData* userData);
    GSErrCode (*Element_DeleteUserData)(const API_Elem_Head* head);
    GSErrCode (*Element_Select)(const API_Neig* neigs, int32_t count, bool add);
    GSErrCode (*Element_DeselectAll)();
    // Out: the info (its marquee handle belongs to the caller) and a new handle of API_Neig records.
    GSErrCode (*Selection_Get)(API_SelectionInfo* info, GSHandle* neigs, bool onlyEditable);
    GSErrCode (*DisposeElemMemoHdls)(API_ElementMemo* memo);
    GSErrCode (*Attribute_Get)(API_Attribute* attribute);
    GSErrCode (*Attribute_Create)(API_Attribute* attribute);
    GSErrCode (*Attribute_Modify)(API_Attribute* attribute);
    GSErrCode (*Attribute_Delete)(const API_Attr_Head* head);
    // Runs body(context) once as one undo step named undoText (UTF-16, NUL-ended); its result is the answer.
    GSErrCode (*CallUndoableCommand)(const char16_t* undoText, API_UndoableCommandProc* body, void* context);

    // --- library-part parameter lists (Goodies family): 'OPAR' opens a library part's default parameters,
    //     'GPAR' hands out a copy of them, 'CPAR' closes them
    API_SelectorFamilyProc* Goodies;

    // --- library-part sections, parameter definition sections and library-part creation (records and the
    //     overwrite switch 'OWLP' in APILibPartSections.hpp)
    // A new handle of the part's section headers in the part's order (the caller kills it); the count too.
    GSErrCode (*LibPart_GetSectionList)(int32_t libInd, int32_t* nSection, API_LibPartSection*** sections);
    // The section named by sectType and subIdent (the rest of the header comes back): a new handle of its content
    // (the caller kills it) and, when `text` is not null, its text; a section without text refuses a text read.
    GSErrCode (*LibPart_GetSection)(int32_t libInd, API_LibPartSection* section, GSHandle* content,
                                    GS::UniString* text);
    // Replaces the part's section: a text section from `text` when given, else from `content`. The caller keeps
    // its handle and text.
    GSErrCode (*LibPart_UpdateSection)(int32_t libInd, const API_LibPartSection* section, GSConstHandle content,
                                       const GS::UniString* text);
    // Adds a section to the part being created (between LibPart_Create and LibPart_Save), as an update does.
    GSErrCode (*LibPart_AddSection)(const API_LibPartSection* section, GSConstHandle content,
                                    const GS::UniString* text);
    // A parameter definition section ('PARD' content, a new handle the caller kills) from a handle of
    // API_AddParType records and the sizes A and B, for the part of libPart->index (or the one being created).
    GSErrCode (*LibPart_GetSect_ParamDef)(const API_LibPart* libPart, API_AddParType** params, double a, double b,
                                          GSHandle* section);
    // Sets the details of such a section.
    GSErrCode (*LibPart_SetDetails_ParamDef)(const API_LibPart* libPart, GSHandle section,
                                             const API_LibPartDetails* details);
    // Starts a new part: typeID, docu_UName, location (its library folder, or a file in it), parentUnID and
    // (optional) ownUnID. The new index and unique id come back. The part exists once it is saved.
    GSErrCode (*LibPart_Create)(API_LibPart* libPart);
    // Saves the part being created: it joins its library (replacing a part of that name there when 'OWLP' was
    // on at its creation) and its file is written.
    GSErrCode (*LibPart_Save)(API_LibPart* libPart);

    // --- element notifications, element observers and solid links (records in APIInteraction.hpp)
    // Only while an element event is being delivered: the transformation of the edit (code 4) being reported.
    GSErrCode (*Notify_GetTranParams)(API_ActTranPars* actTranPars);
    // Only while an element event of code 3 or 4 is being delivered: the element as it was before the change;
    // memo (the parts in mask) and user data when not null (new handles the caller releases).
    GSErrCode (*Notify_GetParentElement)(API_Element* element, API_ElementMemo* memo, uint64_t mask,
                                         API_ElementUserData* userData);
    // Change, edit and delete events of an element reach the element observer only while it is observed.
    GSErrCode (*Element_AttachObserver)(const API_Guid* guid);
    GSErrCode (*Element_DetachObserver)(const API_Guid* guid);
    // Only inside an undoable command. APIERR_LINKEXIST when the two are linked already.
    GSErrCode (*SolidLink_Create)(const API_Guid* target, const API_Guid* operatorGuid, uint32_t operation,
                                  uint32_t linkFlags);
    // APIERR_LINKNOTEXIST when the two are not linked.
    GSErrCode (*SolidLink_Remove)(const API_Guid* target, const API_Guid* operatorGuid);
    // New handles of API_Guid records in link order that the caller kills; APIERR_GENERAL (and an empty handle)
    // when there are none.
    GSErrCode (*SolidLink_GetOperators)(const API_Guid* target, GSHandle* operators);
    GSErrCode (*SolidLink_GetTargets)(const API_Guid* operatorGuid, GSHandle* targets);
    GSErrCode (*SolidLink_GetTime)(const API_Guid* target, const API_Guid* operatorGuid, uint32_t* linkTime,
                                   uint32_t* linkSubTime);
    GSErrCode (*SolidLink_GetOperation)(const API_Guid* target, const API_Guid* operatorGuid, uint32_t* operation);
    GSErrCode (*SolidLink_GetFlags)(const API_Guid* target, const API_Guid* operatorGuid, uint32_t* linkFlags);

    // --- the 3D model (records in APIMesh.hpp)
    // In: the GUID in the head. Out: the range of the element's bodies in the 3D model, which the host builds
    // from the element and the solid links that change it.
    GSErrCode (*Element_Get3DInfo)(const API_Elem_Head* head, API_ElemInfo3D* info3D);
    // In: header.typeID and header.index. A body (type 1) is counted in the whole 3D model and becomes the body
    // that the polygons, polygon edges, edges and vertices (types 2-5, from 1) are counted in.
    GSErrCode (*Get3DComponent)(API_Component3D* component);
    // --- the 2D drawing of an element (records in APIPrimitives.hpp)
    // Hands the primitives of the drawing of the element (in the current database) to `proc`, one at a time.
    GSErrCode (*Element_ShapePrims)(const API_Elem_Head* head, API_ShapePrimsProc* proc);

    // --- edits of elements, as the user's edit tools make them
    // Moves the elements by the edit (API_EditPars: 'DRAG' from begC to endC, 'ELEV' by endC.z - begC.z), inside
    // an undoable command; withDelete 0 (edit a copy) is refused.
    GSErrCode (*Element_Edit)(const API_Neig* neigs, uint32_t count, const API_EditPars* pars);

    // --- quantities (records in APIMesh.hpp)
    // A mesh's volume: its solid from the base up to its surface after the solid links that change it ('SSUD'
    // slabs cut it, 'SSUU' operators take away their bodies and all above them, 'SADD' operators add theirs).
    GSErrCode (*Element_GetQuantities)(const API_Guid* guid, const API_QuantityPar* params,
                                       API_ElementQuantity* quantity);

    // --- attributes, continued
    // The highest index of the attributes of the type, deleted ones counted (an index up to it may be unreadable).
    GSErrCode (*Attribute_GetNum)(int32_t typeID, int32_t* count);

    // New entries go here, at the end.
};
static_assert(std::is_trivially_copyable<API_HostFunctionTable>::value, "the host table is copied bytewise");

constexpr uint32_t API_HostFunctionTableVersion = 1;

// The two exports of the module.
extern "C" {
typedef GSErrCode API_GetExportedFuncAddrsProc(API_EntryTable* entryTable, uint32_t entryTableSize);
typedef GSErrCode API_SetImportedFuncAddrsProc(const API_HostFunctionTable* hostTable);
}
