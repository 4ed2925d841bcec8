#pragma once
// BaseLP: a parameter view laid over a library part's parameter records (a handle of API_AddParType records),
// either those of one placed object or a library part's default list. The view owns no host object: whoever
// got the handle writes it back and releases it.
//
// Concrete views only map parameter indices to names (GetParamName); lookups are by name.
#include "foundation/QV_String.hpp"

#include "APIDefs.hpp"
#include "GSRoot.hpp"

#include <cstdint>

// Values of BaseLP::status.
enum LPStatus : int32_t {
    LPStatus_OK = 0,
    LPStatus_NameNotFound = 1,    // no record has the requested name
    LPStatus_BadCell = 3,         // array cell outside the array (or outside the cells the handle holds)
    LPStatus_WrongKind = 4,       // number asked of a text or array, array op on a scalar, text vs numeric array
    LPStatus_NoText = 5,          // a text setter got a string without buffer
    LPStatus_NoMemory = 6,        // host memory could not be allocated
    LPStatus_BadLastIndex = 7,    // the last index to reuse lies outside the records
    LPStatus_BadDimension = 8,    // an array resize below 1 x 1
    LPStatus_NoRecords = 9,       // the view holds no records
};

class BaseLP {
public:
    BaseLP() = default;
    BaseLP(GSHandle records, int32_t recordCount) : params(records), count(recordCount) {}
    virtual ~BaseLP() = default;

    // Slot 0: the GDL parameter name of an index; never null. "A", "B", "ZZYZX" for 0 to 2, else "???".
    virtual const char* GetParamName(int32_t index) const;

    // Index of the first record named `name`, or -1 with `status` set (9 no records, 7 an empty name whose
    // lastIndex is out of range, 1 not found). An empty name reuses lastIndex. Does not store lastIndex.
    int32_t FindParam(const QV_String& name);

    // The same lookup without touching this view's state: the failure's status goes to `failStatus`.
    int32_t LocateParam(const QV_String& name, int32_t& failStatus) const;

    // Records usable through the view: `count`, bounded by what the handle really holds.
    int32_t RecordCount() const;
    // Record `index` (0 to RecordCount() - 1), null outside. The address changes when the handle moves.
    API_AddParType* Record(int32_t index) const;

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
};
