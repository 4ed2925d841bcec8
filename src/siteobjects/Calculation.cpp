#include "siteobjects/Calculation.hpp"

#include "earthworks/EarthworkRefusal.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/ElementQueries.hpp"
#include "elements/KindName.hpp"
#include "elements/LeftoverElements.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/AddOnInfo.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/Language.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "foundation/OwnedMemo.hpp"
#include "elements/WholeCommand.hpp"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int32_t PleaseWaitEntry = 4;  // "Please wait..."
constexpr int32_t ListCount = 4;
// Plateaus, roads, sidewalks, railways: their element kinds and the view kinds their parameters are read with.
constexpr int32_t ListKinds[ListCount] = {7, 6, 11, 21};
constexpr int32_t ViewKinds[ListCount] = {7, 6, 11, 11};

bool IsNull(const API_Guid& g) {
    static const API_Guid zero = {};
    return std::memcmp(&g, &zero, sizeof g) == 0;
}
bool Same(const API_Guid& a, const API_Guid& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The progress window for the body's passes.
class Progress {
public:
    Progress() {
        GS::UniString title(ProductName);
        int16_t phases = 1;
        ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases);
    }
    ~Progress() { ACAPI_Interface(APIIo_CloseProcessWindowID); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    void Phase(int32_t steps) {
        QV_String text;
        GetResString(text, TitleTableBase + LanguageIndex, PleaseWaitEntry);
        GS::UniString phase(text.GetBuffer(), text.GetLength());
        ACAPI_Interface(APIIo_SetNextProcessPhaseID, &phase, &steps);
        value = 0;
    }
    void Step() {
        ++value;
        ACAPI_Interface(APIIo_SetProcessValueID, &value);
    }

private:
    int32_t value = 0;
};

bool EarlierLink(const CalculationData& a, const CalculationData& b) {
    if (int32_t(a.linkTime) != int32_t(b.linkTime)) return int32_t(a.linkTime) < int32_t(b.linkTime);
    return a.linkSubTime < b.linkSubTime;
}

}  // namespace

void SortEntries(QV_List<CalculationData>& entries) {
    std::vector<CalculationData> sorted(entries.begin(), entries.end());
    std::stable_sort(sorted.begin(), sorted.end(), EarlierLink);
    entries.Clear();
    for (const CalculationData& e : sorted) entries.Insert(e);
}

int32_t FindFeaturePartner(const QV_List<CalculationData>& entries, int32_t first) {
    const CalculationData& a = entries[first];
    if (a.kind == 0) return -1;
    for (int32_t i = first + 1; i < entries.GetCount(); ++i) {
        const CalculationData& b = entries[i];
        if (b.kind != a.kind) continue;
        const bool sameResult = !IsNull(a.resultGuid) && Same(a.resultGuid, b.resultGuid);
        const bool named = (!IsNull(a.partnerGuid) && Same(a.partnerGuid, b.operatorGuid)) ||
            (!IsNull(b.partnerGuid) && Same(b.partnerGuid, a.operatorGuid));
        if (sameResult || named) return i;
    }
    return -1;
}

bool CalculationCls::CleanLinks() {
    bool removed = false;
    for (int32_t i = 0; i < int32_t(operators.GetSize()); ++i) {
        const API_Guid g = operators[i];
        if (IsNull(g)) continue;
        // A host that would not say whether the operator is there leaves nothing to measure it against.
        const int32_t found = FindElementByGuidAnyType(g);
        if (found < 0) return false;
        if (found > 0) continue;
        const GSErrCode err = ACAPI_Element_SolidLink_Remove(element.header.guid, g);
        if (err != NoError && err != APIERR_LINKNOTEXIST) return false;
        removed = true;
    }
    if (!removed) return true;
    return ListSolidLinkOperators(element.header.guid, &operators) == NoError;
}

bool CalculationCls::BuildEntries(const QV_List<API_Element>* lists) {
    entries.Clear();
    for (int32_t i = 0; i < int32_t(operators.GetSize()); ++i) {
        const API_Guid g = operators[i];
        if (IsNull(g)) continue;
        CalculationData d{};
        d.operatorGuid = g;
        const API_Guid& t = element.header.guid;
        if (ACAPI_Element_SolidLink_GetTime(t, g, &d.linkTime, &d.linkSubTime) != NoError ||
            ACAPI_Element_SolidLink_GetOperation(t, g, &d.operation) != NoError ||
            ACAPI_Element_SolidLink_GetFlags(t, g, &d.linkFlags) != NoError)
            return false;
        for (int32_t l = 0; l < ListCount && d.kind == 0; ++l)
            for (const API_Element& e : lists[l])
                if (Same(e.header.guid, g)) {
                    d.kind = int16_t(l + 1);
                    d.element = e;
                    BaseIDLP view(ViewKinds[l]);
                    API_Guid cut = {}, fill = {};
                    QV_String text;
                    // Without its role and its partner the object would be paired and signed by guess: a
                    // record the host would not hand out ends the calculation.
                    if (!BaseLP::AttachToElementLookup(view, e, &d.resultGuid, &cut, &fill, &text, ListKinds[l], false))
                        return false;
                    d.operatorText = text;
                    d.partnerGuid = Same(cut, g) ? fill : cut;
                    break;
                }
        if (!entries.Insert(d)) return false;
    }
    SortEntries(entries);
    return true;
}

bool CalculationCls::CopyTerrain(bool& made) {
    terrainCopy = element;
    OwnedMemo memo;
    if (memo.Read(element.header.guid, APIMemoMask_All) != NoError) return false;
    if (CreateElementWithMemo(&terrainCopy, memo.Get(), true) != NoError) return false;
    made = true;
    for (const CalculationData& e : entries)
        if (!IsNull(e.operatorGuid) &&
            ACAPI_Element_SolidLink_Create(terrainCopy.header.guid, e.operatorGuid, e.operation, e.linkFlags) !=
                NoError)
            return false;
    return true;
}

bool CalculationCls::GetCopyVolume(double& volume) {
    API_QuantityPar params = {};
    params.minOpeningSize = 1e-5;
    API_ElementQuantity quantity;
    // A volume the host could not measure is no volume: the calculation fails rather than report it.
    if (ACAPI_Element_GetQuantities(terrainCopy.header.guid, &params, &quantity) != NoError) return false;
    volume = quantity.mesh.volume;
    return true;
}

bool CalculationCls::ComputeVolumes() {
    std::vector<CalculationData> reversed(entries.begin(), entries.end());
    std::reverse(reversed.begin(), reversed.end());
    entries.Clear();
    for (const CalculationData& e : reversed) entries.Insert(e);
    char terrainName[16] = {};
    {
        QV_String id;
        // A result is not recorded under a name the host never gave.
        if (!ReadElementInfoString(element.header.guid, id)) return false;
        const std::string bytes = id.ToStdString(Encoding_System);
        std::memcpy(terrainName, bytes.data(), std::min<size_t>(bytes.size(), 15));
    }
    const API_Guid copy = terrainCopy.header.guid;
    while (entries.GetCount() > 0) {
        CalculationData first = entries[0];
        if (first.kind == 0) {
            if (ACAPI_Element_SolidLink_Remove(copy, first.operatorGuid) != NoError) return false;
            entries.Remove(0);
            continue;
        }
        const int32_t p = FindFeaturePartner(entries, 0);
        if (!HostBuildsBody(first.operatorGuid) || (p >= 0 && !HostBuildsBody(entries[p].operatorGuid))) {
            // Nothing to measure: its links come off and it is named instead of listed as 0 / 0.
            QV_String name;
            if (!ReadElementInfoString(first.operatorGuid, name)) return false;
            if (name.IsEmpty()) name = KindName(ListKinds[first.kind - 1]);
            unmeasured.push_back(name);
            if (ACAPI_Element_SolidLink_Remove(copy, first.operatorGuid) != NoError ||
                (p >= 0 && ACAPI_Element_SolidLink_Remove(copy, entries[p].operatorGuid) != NoError))
                return false;
            if (p >= 0) entries.Remove(p);
            entries.Remove(0);
            continue;
        }
        int32_t order[2] = {0, p};
        // The fill goes first: a feature whose fill refills what its cut takes (a sidewalk's pavement in its
        // excavation) would otherwise have its cut measured with the fill still in it. The cut's difference is
        // always the first one kept.
        const bool fillFirst = p >= 0 && first.operatorText.Compare(QV_String("cut")) == 0 &&
            entries[p].operatorText.Compare(QV_String("fill")) == 0;
        const bool fillNewest = p >= 0 && first.operatorText.Compare(QV_String("fill")) == 0 &&
            entries[p].operatorText.Compare(QV_String("cut")) == 0;
        if (fillFirst) std::swap(order[0], order[1]);
        CalculationVolume v;
        if (!ReadElementInfoString(first.operatorGuid, v.featureName)) return false;
        std::memcpy(v.terrainName, terrainName, sizeof terrainName);
        double v0 = 0.0, v1 = 0.0, v2 = 0.0;
        if (!GetCopyVolume(v0) || ACAPI_Element_SolidLink_Remove(copy, entries[order[0]].operatorGuid) != NoError ||
            !GetCopyVolume(v1))
            return false;
        v2 = v1;
        if (p >= 0 &&
            (ACAPI_Element_SolidLink_Remove(copy, entries[order[1]].operatorGuid) != NoError || !GetCopyVolume(v2)))
            return false;
        const bool cutSecond = fillFirst || fillNewest;
        v.firstDifference = cutSecond ? v1 - v2 : v0 - v1;
        v.secondDifference = cutSecond ? v0 - v1 : v1 - v2;
        v.total = v0 - v2;
        if (!volumes.Insert(v)) return false;
        if (p >= 0) entries.Remove(p);
        entries.Remove(0);
    }
    return true;
}

Alert CalculationCls::UnmeasuredAlert() const {
    if (unmeasured.empty()) return Alert();
    QV_String list;
    for (const QV_String& name : unmeasured) {
        if (!list.IsEmpty()) list += ", ";
        list += name;
    }
    return Alert(AlertKind::Warning, ErrorTitleText, AlertText{ErrorTableBase, NotMeasuredText})
        .Beneath(AlertText{ErrorTableBase, NotMeasuredListText})
        .With(list);
}

int32_t CalculationCls::Run(const API_Element& terrain) {
    volumes.Clear();
    unmeasured.clear();
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    element = terrain;
    QV_List<API_Element> lists[ListCount];
    for (int32_t l = 0; l < ListCount; ++l)
        if (!CollectAddOnObjects(ListKinds[l], API_ObjectID, Leave3D::Yes, lists[l])) return ErrCalculation;
    // A terrain without links lists none; a list the host refuses is no empty one.
    if (ListSolidLinkOperators(terrain.header.guid, &operators) != NoError) return ErrCalculation;
    bool measured = false;
    {
        Progress progress;
        // A failed step takes the whole command back, the links CleanLinks removed among it.
        measured = RunWholeCommand([&] {
            bool made = false;
            progress.Phase(int32_t(operators.GetSize()));
            bool ok = CleanLinks() && BuildEntries(lists) && CopyTerrain(made) && ComputeVolumes();
            if (made) ok = DeleteLeftoverElement(terrainCopy.header.guid) && ok;
            return ok;
        });
    }
    if (!measured) {
        volumes.Clear();
        unmeasured.clear();
        return ErrCalculation;
    }
    return 0;
}
