#include "sosi/SOSITypeRowList.hpp"

#include "sosi/SOSIFileCls.hpp"

void SOSITypeRowList::Clear() {
    for (SOSIOType& row : rows) row.Reset();
    rows.Clear();
}

const SOSIOType* SOSITypeRowList::Find(const QV_String& name) const {
    for (const SOSIOType& row : rows)
        if (row.name == name) return &row;
    return nullptr;
}

void SOSITypeRowList::Remember(const SOSIOType& row) {
    for (SOSIOType& kept : rows)
        if (kept.name == row.name) {
            kept = row;
            return;
        }
    rows.Insert(row);
}

SOSITypeRowList& SOSITypeRows() {
    static SOSITypeRowList rows;
    return rows;
}

void MergeSOSINames(QV_List<SOSIOType>& dialogRows) {
    for (SOSIOType& row : dialogRows) {
        const SOSIOType* kept = SOSITypeRows().Find(row.name);
        if (kept == nullptr) continue;
        const uint8_t terrainFeature = row.terrainFeature;
        const int32_t index = row.index;
        row = *kept;
        row.terrainFeature = terrainFeature;
        row.index = index;
    }
}

void RememberSOSITypeRows(const SOSIFileCls& reader) {
    const bool all = reader.importMode != SOSIModeTerrain || reader.showAllTypes != 0;
    for (const SOSIOType& row : reader.scan.types)
        if (all || row.terrainFeature != 0) SOSITypeRows().Remember(row);
}
