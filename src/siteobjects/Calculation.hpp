#pragma once
// The volume calculation over one terrain: for each earthwork feature that cuts into or fills the terrain, how
// much terrain volume its solid links remove or add. It works on a temporary copy of the terrain that carries the
// same links, takes them off one at a time and reads the copy's volume from the host after each removal.
//
// A feature's cut and fill objects are measured as one pair whichever links lie between them in time; the pair's
// first difference is its cut (removed first), the second its fill. A feature object without a partner is
// measured alone (second difference 0). A feature whose cut or fill has no body the host builds is not measured:
// its links come off unmeasured and it is named in a warning.
#include "elements/BaseCls.hpp"
#include "elements/CalculationVolume.hpp"
#include "foundation/Alert.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"
#include "GSArray.hpp"

#include <cstdint>
#include <vector>

// One solid link of the terrain.
struct CalculationData {
    API_Guid operatorGuid;
    uint32_t linkTime;
    uint32_t linkSubTime;
    uint32_t operation;
    uint32_t linkFlags;
    API_Element element;     // the operator when it is an earthwork object, else zeroed
    QV_String operatorText;  // its "operatore": "cut", "fill" or "result"; empty when not read
    int16_t kind;            // 0 other element, 1 plateau, 2 road, 3 sidewalk, 4 railway
    API_Guid resultGuid;     // the feature's result object, from the object's record; zero when unknown
    API_Guid partnerGuid;    // the feature's other earthwork object (its cut or fill); zero when unknown
};
QV_DECLARE_RELOCATABLE(CalculationData);

// Orders links by time (signed), equal times by sub-time (unsigned).
void SortEntries(QV_List<CalculationData>& entries);
// The index of the entry after `first` that belongs to the same feature as entries[first]; -1 when none does.
int32_t FindFeaturePartner(const QV_List<CalculationData>& entries, int32_t first);

class CalculationCls : public BaseCls {
public:
    // The whole calculation; 0, 41 or 42 for ShowErrorMessage. On 0 `volumes` holds the results, which the
    // caller hands to the contour-line regeneration.
    int32_t Run(const API_Element& terrain);

    bool CleanLinks();
    bool BuildEntries(const QV_List<API_Element>* lists);
    bool CopyTerrain(bool& made);
    bool ComputeVolumes();
    bool GetCopyVolume(double& volume);

    // The warning that names the features left unmeasured and why; one that shows nothing when all were measured.
    Alert UnmeasuredAlert() const;

    GS::Array<API_Guid> operators;
    QV_List<CalculationData> entries;
    API_Element terrainCopy = {};
    QV_List<CalculationVolume> volumes;
    // The name of each feature whose body the host would not build: it is left out of `volumes`, never listed as
    // 0 / 0.
    std::vector<QV_String> unmeasured;
};
