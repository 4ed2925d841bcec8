#pragma once
// The object-type rows the user chose in earlier SOSI imports, remembered by type name while the module is
// loaded (never stored), so that the next import's options dialog starts from them.
#include "foundation/QV_List.hpp"
#include "sosi/SOSIRecords.hpp"

class SOSIFileCls;

class SOSITypeRowList {
public:
    // Resets the rows and empties the list.
    void Clear();
    // The row remembered under `name` (exact comparison), or null.
    const SOSIOType* Find(const QV_String& name) const;
    // Overwrites the row of the same name, or appends a copy.
    void Remember(const SOSIOType& row);
    int32_t GetCount() const { return rows.GetCount(); }

private:
    QV_List<SOSIOType> rows;
};

// The module's one list.
SOSITypeRowList& SOSITypeRows();

// Every dialog row whose name was remembered takes the remembered choices; its terrain-feature flag and linked
// index stay its own, since they describe this import's lists.
void MergeSOSINames(QV_List<SOSIOType>& dialogRows);
// Remembers the reader's rows: in the terrain import only the terrain-feature rows unless all types are shown;
// in the other imports every row.
void RememberSOSITypeRows(const SOSIFileCls& reader);
