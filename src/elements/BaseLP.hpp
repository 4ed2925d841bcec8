#pragma once
// BaseLP: a parameter view laid over a library part's parameter records (a handle of API_AddParType records),
// either those of one placed object or a library part's default list. The view owns no host object: whoever
// got the handle writes it back and releases it.
//
// Concrete views only map parameter indices to names (GetParamName, slot 0); the typed accessors of slots 1 to
// 14 are shared by every view. They take a mode last: 1 sets, any other value gets (the array slots hand the
// mode on to the whole-array exchange, which reads with 0 and fails any mode but 0 and 1). Each answers true on
// success; a failure leaves its reason in `status` and never touches a record.
//
// Getters that find their record but cannot read it store 0 (numbers) or an empty string without buffer
// (texts); a getter whose name lookup fails leaves its output as it was, so a caller's default survives a
// parameter that an older library part lacks.
//
// With `clearStatus` set (the default) every successful lookup resets `status`; cleared by the owner, `status`
// keeps the first error of a series of calls and every getter after it answers false.
#include "foundation/OwnedParams.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIDefs.hpp"
#include "GSRoot.hpp"

#include <cstdint>
#include <functional>

struct QV_Coord3DLong;
union API_Element;

// Values of BaseLP::status.
enum LPStatus : int32_t {
    LPStatus_OK = 0,
    LPStatus_NameNotFound = 1,  // no record has the requested name
    LPStatus_BadCell = 3,       // array cell outside the array (or outside the cells the handle holds)
    LPStatus_WrongKind = 4,     // number asked of a text or array, array op on a scalar, text vs numeric array
    LPStatus_NoText = 5,        // a text setter got a string without buffer
    LPStatus_NoMemory = 6,      // host memory could not be allocated
    LPStatus_BadLastIndex = 7,  // the last index to reuse lies outside the records
    LPStatus_BadDimension = 8,  // an array resize below 1 x 1
    LPStatus_NoRecords = 9,     // the view holds no records
};

// Mode argument of the typed accessors and exchanges.
constexpr int32_t LPMode_Get = 0;
constexpr int32_t LPMode_Set = 1;

// Units of a text parameter's value field, terminator included: a text holds at most 255 units.
constexpr int32_t LPTextFieldUnits = 256;

class BaseLP {
public:
    BaseLP() = default;
    BaseLP(GSHandle records, int32_t recordCount) : params(records), count(recordCount) {}
    virtual ~BaseLP() = default;

    // Slot 0: the GDL parameter name of an index; never null. "A", "B", "ZZYZX" for 0 to 2, else "???".
    virtual const char* GetParamName(int32_t index) const;

    // Slots 1 to 4: a numeric scalar by index. Integers read the double truncated toward zero (held inside the
    // type's range); they are written widened to double.
    virtual bool GetSetShort(int32_t index, int16_t& value, int32_t mode);
    virtual bool GetSetLong(int32_t index, int32_t& value, int32_t mode);
    virtual bool GetSetInt(int32_t index, int32_t& value, int32_t mode);
    virtual bool GetSetDouble(int32_t index, double& value, int32_t mode);
    // Slot 5: a numeric scalar by name.
    virtual bool GetSetDoubleByName(const QV_String& name, double& value, int32_t mode);
    // Slots 6 and 7: a text scalar by index or by name. Setting needs a string with buffer ("" is fine); a text
    // longer than 255 units is cut there (never inside a surrogate pair) or at a 0 unit it holds.
    virtual bool GetSetString(int32_t index, QV_String& text, int32_t mode);
    virtual bool GetSetStringByName(const QV_String& name, QV_String& text, int32_t mode);
    // Slots 8 to 14: whole arrays (ExchangeIntArrayParam ... of elements/GdlParams.hpp, in BaseLPArrays.cpp). Reading appends the
    // cells in row order and gives the dimensions; writing resizes the array to dim1 x dim2 (an empty list
    // gives 1 x 1 holding 0 or an empty text).
    virtual bool GetSetIntArray(int32_t index, QV_List<int32_t>& list, int32_t& dim1, int32_t& dim2, int32_t mode);
    virtual bool GetSetShortArray(int32_t index, QV_List<int16_t>& list, int32_t& dim1, int32_t& dim2, int32_t mode);
    virtual bool GetSetLongArray(int32_t index, QV_List<int32_t>& list, int32_t& dim1, int32_t& dim2, int32_t mode);
    virtual bool GetSetDoubleArray(int32_t index, QV_List<double>& list, int32_t& dim1, int32_t& dim2, int32_t mode);
    virtual bool GetSetDoubleArrayByName(const QV_String& name, QV_List<double>& list, int32_t& dim1, int32_t& dim2,
                                         int32_t mode);
    virtual bool GetSetStringArray(int32_t index, QV_List<QV_String>& list, int32_t& dim1, int32_t& dim2, int32_t mode);
    virtual bool GetSetStringArrayByName(const QV_String& name, QV_List<QV_String>& list, int32_t& dim1, int32_t& dim2,
                                         int32_t mode);

    // Index of the first record named `name`, or -1 with `status` set (9 no records, 7 an empty name whose
    // lastIndex is out of range, 1 not found). An empty name reuses lastIndex. Does not store lastIndex.
    int32_t FindParam(const QV_String& name);

    // The same lookup without touching this view's state: the failure's status goes to `failStatus`.
    int32_t LocateParam(const QV_String& name, int32_t& failStatus) const;

    // The double of a numeric scalar record; 0.0 when absent (status from FindParam) or not numeric (status 4).
    double GetParamDouble(const QV_String& name);
    // Stores `value` unchanged into a numeric scalar record (whatever its numeric type); its index, or -1.
    int32_t SetParamDouble(const QV_String& name, double value);
    // Text scalar by name: mode 1 sets, any other mode gets (see slots 6 and 7).
    bool GetSetStringParam(const QV_String& name, QV_String& text, int32_t mode);
    // The text of a text scalar into `out`; `out` is emptied when the record is missing or not a text.
    QV_String& GetStringParam(QV_String& out, const QV_String& name);
    // Sets a text scalar named in the system code page; its index, or -1 (status 5, 1, 4 ...).
    int32_t SetStringParam(const char* name, const QV_String& value);

    // A library part's default parameter list. A, B and the record count (each optional) come from the host's
    // library-part query; the records from 'OPAR' / 'GPAR' / 'CPAR' into `outParams` (optional), a handle the
    // caller releases with ReleaseParamRecords. False on a host error.
    static bool GetLibPartParams(int32_t libIndex, GSHandle* outParams, double* outA, double* outB, int32_t* outCount);

    // --- Views over one placed object (elements/ViewAttach.cpp). Each reads the object's memo (mask
    // AttachMemoMask) and lays the view over its parameters with exact name comparison; the memo is released
    // before the operation returns and the view is detached then, so it never keeps a freed handle. Failures
    // answer false; the view's status tells a parameter's failure.

    // Reads the object's element data record of `kind` (the floor plan's database with `switchToPlan` and the 3D
    // window in front): `terrainGuid` = its TerrainGuid (zero when that is no GUID). False, `terrainGuid` zero,
    // when the memo or the record cannot be read.
    static bool AttachToElement(BaseLP& view, int32_t kind, const API_Element& element, API_Guid& terrainGuid,
                                bool switchToPlan);
    // Each GUID asked for (not null) is zeroed first; `operatorText` (when asked for) receives "operatore". Then
    // the record of `kind` gives ResultGuid, CutGuid and FillGuid.
    static bool AttachToElementLookup(BaseLP& view, const API_Element& element, API_Guid* resultGuid, API_Guid* cutGuid,
                                      API_Guid* fillGuid, QV_String* operatorText, int32_t kind, bool switchToPlan);
    // A plateau's "livello" (DiggingParam::Level; that index of any other view's table) as a double.
    static bool AttachAndReadDouble(BaseLP& view, const API_Element& element, double& value);

    // Records usable through the view: `count`, bounded by what the handle really holds.
    int32_t RecordCount() const;
    // Record `index` (0 to RecordCount() - 1), null outside. The address changes when the handle moves.
    API_AddParType* Record(int32_t index) const;

    // Back to the state of a new view: no records, lastIndex -1, names ignoring case, status 0, clearStatus 1.
    void Reset();
    // Drops the records (params null, count 0, lastIndex -1) and keeps the rest, status included.
    void Detach();
    // Lays the view over `records` (a handle of API_AddParType records; its size gives the count), as Reset
    // does otherwise; `exactNames` makes names compare case-sensitively (views over placed objects).
    void Attach(GSHandle records, bool exactNames);

    // Sets status 0 when clearStatus is set (after a successful lookup).
    void LookupSucceeded() {
        if (clearStatus != 0) status = LPStatus_OK;
    }

    GSHandle params = nullptr;  // API_AddParType records
    int32_t count = 0;
    int32_t lastIndex = -1;
    uint8_t caseSensitive = 0;  // 0: names compare ignoring case
    int32_t status = LPStatus_OK;
    uint8_t clearStatus = 1;

private:
    // Scalar accessors by name: lookup (stored as lastIndex), then get or set through the last index.
    bool NumberByName(const QV_String& name, double& value, int32_t mode, bool* found = nullptr);
    template <typename I>
    bool IntegerAt(int32_t index, I& value, int32_t mode);
    bool TextByName(const QV_String& name, QV_String& text, int32_t mode);
    // The name of `index` from slot 0; false with the status set when it is empty or cannot be built.
    bool NameOf(int32_t index, QV_String& name);
};

// The view of every object that carries the add-on's identity and link parameters: adds the element kind. The
// views of the add-on's library parts derive from it or from BaseLP (elements/LibPartViews.hpp).
class BaseIDLP : public BaseLP {
public:
    explicit BaseIDLP(int32_t elemKind) : kind(elemKind) {}
    BaseIDLP(int32_t elemKind, GSHandle records, int32_t recordCount) : BaseLP(records, recordCount), kind(elemKind) {}

    // Slot 0: the identity and link parameters, 3 to 38 (elements/ParamNames.hpp); 0 to 2 as BaseLP.
    const char* GetParamName(int32_t index) const override;

    // Outlines as rows of coded points (x, y, z, code; n by 4): "perimetro_base" and its left and right
    // edges "perimetro_base_SX" and "perimetro_base_DX". Mode 0 appends to `list`, 1 writes it, any
    // other mode does nothing (true). See elements/ParamExchange.hpp.
    static bool ExchangePerimetroBase(BaseIDLP& view, QV_List<QV_Coord3DLong>& list, int32_t mode);
    static bool ExchangePerimetroBaseSX(BaseIDLP& view, QV_List<QV_Coord3DLong>& list, int32_t mode);
    static bool ExchangePerimetroBaseDX(BaseIDLP& view, QV_List<QV_Coord3DLong>& list, int32_t mode);
    // The obstacle polylines: point counts in "nodi_ostacoli" and the points, one polyline per row, in
    // "ostacolo". Mode 1 writes; any other mode appends what the object holds (a counts array of one 0:
    // no polyline).
    static bool ExchangeObstacles(BaseIDLP& view, QV_List<int32_t>& counts, QV_List<API_Coord3D>& points, int32_t mode);

    // --- One placed object (elements/ViewAttach.cpp): attach, set, write the whole memo back (ChangeElementMemo).
    // True only when every step succeeded; the view is detached on return.

    // "operatore" into `text` (emptied first) for views of kind 6, 7, 11 and 19; true at once, untouched
    // element, for every other kind.
    static bool ReadOperatorOfElement(BaseIDLP& view, const API_Element& element, QV_String& text);
    // "macro_name" = "".
    static bool ClearMacroName(BaseIDLP& view, API_Element& element);
    // "change_level" = 1 when `flag` is 0, else 0.
    static bool SetChangeLevel(BaseIDLP& view, API_Element& element, bool flag);
    // "mesh_skirt_material" = the mesh's skirt material (with `writeMaterial`), "mesh_skirt" = its skirt
    // level (with `writeSkirt`). Neither flag: true without reading the object. With `beforeWrite`, an object
    // that carries those values already is left as it is, and `beforeWrite` runs before any other is written.
    static bool WriteSkirt(BaseIDLP& view, API_Element& element, const API_Element& mesh, bool writeMaterial,
                           bool writeSkirt, const std::function<void()>& beforeWrite = {});
    // "IDresult", "IDcut", "IDfill", "IDterrain" = -1, memo written back; then the element data record
    // of `kind` is replaced by one whose four partner GUIDs are the zero GUID's text (the old record is put
    // back when the new one cannot be stored).
    static bool Unlink(BaseIDLP& view, API_Element& element, int32_t kind);
    // "IDterrain" = -1, memo written back; the record of `kind` is read (no database switch), its TerrainGuid
    // becomes the zero GUID's text, and it is written again.
    static bool UnlinkFromTerrain(BaseIDLP& view, int32_t kind, API_Element& element);

    int32_t kind;  // ElemKind of the element the object belongs to
};

// Memo parts an attached view reads (the whole memo but bits 30, 62 and 63).
constexpr uint64_t AttachMemoMask = 0x3FFFFFFFBFFFFFFFull;
