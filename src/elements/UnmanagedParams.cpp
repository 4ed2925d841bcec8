// The parameters a user set by hand on a contour-line or coloured-area object, carried into the object that
// replaces it; the parameters the add-on writes itself are skipped and written fresh.
#include "elements/LibPartViews.hpp"
#include "elements/ParamExchange.hpp"
#include "elements/ParamIndexes.hpp"

#include "GSRoot.hpp"

#include <cstring>
#include <cstddef>
#include <string>
#include <vector>

namespace {
// The parameters the add-on writes itself on a contour-line object and on a coloured area.
constexpr int32_t kContourLineOwn[] = {BaseParam::A,
                                       BaseParam::B,
                                       BaseIDParam::IDTerrain,
                                       BaseIDParam::CutsEnne,
                                       BaseIDParam::CutsNode,
                                       BaseIDParam::LowestLevel,
                                       BaseIDParam::HighestLevel,
                                       BaseIDParam::MacroName,
                                       ContourLineParam::Interval,
                                       ContourLineParam::MinDepth,
                                       ContourLineParam::MaxDepth,
                                       ContourLineParam::MainSecondary,
                                       ContourLineParam::FirstPen,
                                       ContourLineParam::SecondPen,
                                       ContourLineParam::MainStep,
                                       ContourLineParam::UseAverage,
                                       ContourLineParam::UseAverage2,
                                       ContourLineParam::Rgb,
                                       ContourLineParam::Average,
                                       ContourLineParam::Average2,
                                       ContourLineParam::DepthPen,
                                       ContourLineParam::Colour1,
                                       ContourLineParam::Colour2,
                                       ContourLineParam::Colour3,
                                       ContourLineParam::Colour4,
                                       ContourLineParam::ShowSection,
                                       ContourLineParam::BoundingBox,
                                       ContourLineParam::Show2D,
                                       ContourLineParam::Show3D,
                                       ContourLineParam::Quantities,
                                       ContourLineParam::Identifiers};
constexpr int32_t kPaintOwn[] = {BaseParam::A,
                                 BaseParam::B,
                                 BaseIDParam::IDTerrain,
                                 BaseIDParam::SkirtMaterial,
                                 BaseIDParam::CutsEnne,
                                 BaseIDParam::CutsNode,
                                 BaseIDParam::Show2D,
                                 BaseIDParam::LowestLevel,
                                 BaseIDParam::HighestLevel,
                                 BaseIDParam::MacroName,
                                 BaseIDParam::Resolution,
                                 PaintParam::Nodes,
                                 PaintParam::Coordinates,
                                 PaintParam::Mat,
                                 PaintParam::Retino,
                                 PaintParam::PennaRetino,
                                 PaintParam::SfondoRetino,
                                 PaintParam::Penna,
                                 PaintParam::Origine,
                                 PaintParam::ShowID,
                                 PaintParam::Dislivello};

template <size_t N>
std::vector<std::string> NamesAt(const BaseLP& view, const int32_t (&indexes)[N]) {
    std::vector<std::string> names;
    for (int32_t i : indexes) {
        const char* name = view.GetParamName(i);
        if (name != nullptr && name[0] != 0) names.emplace_back(name);
    }
    return names;
}

bool Skipped(const std::vector<std::string>& skip, const char* name) {
    for (const std::string& s : skip)
        if (s == name) return true;
    return false;
}

// One record's value into the target's record of that name: arrays cell by cell (their handle copied), scalars
// as text or number.
bool CopyRecord(const API_AddParType& from, BaseLP& target) {
    const int32_t at = target.FindParam(QV_String(from.name));
    API_AddParType* to = at >= 0 ? target.Record(at) : nullptr;
    if (to == nullptr) return false;
    const bool fromText = from.typeID == APIParT_Text;
    const bool toText = to->typeID == APIParT_Text;
    if (fromText != toText) return false;
    const bool fromArray = from.dim1 != 0 && from.dim2 != 0;
    const bool toArray = to->dim1 != 0 && to->dim2 != 0;
    if (fromArray != toArray) return false;
    if (fromArray) {
        GSHandle copy = nullptr;
        if (from.value.array == nullptr || BMHandleToHandle(from.value.array, &copy) != NoError) return false;
        // The record may have moved while the handle was copied.
        to = target.Record(at);
        BMKillHandle(&to->value.array);
        to->value.array = copy;
        to->dim1 = from.dim1;
        to->dim2 = from.dim2;
    } else if (fromText) {
        std::memcpy(to->value.uStr, from.value.uStr, sizeof to->value.uStr);
        to->value.uStr[255] = 0;
    } else {
        to->value.real = from.value.real;
    }
    return true;
}

bool CopyExcept(BaseLP& source, BaseLP& target, const std::vector<std::string>& skip) {
    for (int32_t i = 0; i < source.RecordCount(); ++i) {
        API_AddParType from = *source.Record(i);
        from.name[sizeof from.name - 1] = 0;
        if (Skipped(skip, from.name)) continue;
        if (!CopyRecord(from, target)) return false;
    }
    return true;
}
}  // namespace

bool ContourLineLP::CopyUnmanagedParams(ContourLineLP& source, ContourLineLP& target, bool skipVolumes) {
    if (!skipVolumes) {
        QV_List<CalculationVolume> volumes;
        if (!ExchangeStringList(source, volumes, LPMode_Get) || !ExchangeStringList(target, volumes, LPMode_Set))
            return false;
    }
    const std::vector<std::string> skip = NamesAt(source, kContourLineOwn);
    return CopyExcept(source, target, skip);
}

bool PaintLP::CopyUnmanagedParams(PaintLP& source, PaintLP& target) {
    const std::vector<std::string> skip = NamesAt(source, kPaintOwn);
    return CopyExcept(source, target, skip);
}
