#pragma once
// The parameter views of the add-on's library parts. Each view is a BaseLP that names its parameters by index
// through its own table (elements/ParamNames.hpp); everything else is BaseLP's.
//
//   BaseIDLP: objects that carry the identity and link parameters (indices 3 to 38), with the element kind.
//   Its views add their own names from 39; MarkerLP, MarkerPtLP and SlopeRangeLP derive from BaseLP directly
//   and name 3 onward themselves, as do LocalizatorLP (elements/LocalizatorLP.hpp) and PrefsLP
//   (settings/PrefsLP.hpp).
#include "elements/BaseLP.hpp"
#include "elements/ParamNames.hpp"

#include <cstdint>

// BaseIDLP (elements/BaseLP.hpp) names 3 to 38 through BaseIDLP_ParamName.

// A view of BaseIDLP's branch whose own names come from `Name`.
template <const char* (*Name)(int32_t)>
class BaseIDLPView : public BaseIDLP {
public:
    explicit BaseIDLPView(int32_t elemKind) : BaseIDLP(elemKind) {}
    const char* GetParamName(int32_t index) const override { return Name(index); }
};

// A view laid directly on BaseLP whose own names come from `Name`.
template <const char* (*Name)(int32_t)>
class BaseLPView : public BaseLP {
public:
    const char* GetParamName(int32_t index) const override { return Name(index); }
};

class BasinBuilderLP : public BaseIDLPView<BasinBuilderLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class BasinLP : public BaseIDLPView<BasinLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class BridgeLP : public BaseIDLPView<BridgeLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class BuildingLP : public BaseIDLPView<BuildingLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class ContourLineLP : public BaseIDLPView<ContourLineLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class ObstacleLP : public BaseIDLPView<ObstacleLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class PaintLP : public BaseIDLPView<PaintLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class RailwayLP : public BaseIDLPView<RailwayLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class RoadLP : public BaseIDLPView<RoadLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class SideWalkLP : public BaseIDLPView<SideWalkLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class WallLP : public BaseIDLPView<WallLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};

// Plateau view: the slope names 42 to 45 exist only on the sloped plateau (VY_SLOPED_PLATEAU).
class DiggingLP : public BaseIDLP {
public:
    explicit DiggingLP(int32_t elemKind, uint8_t isSloped = 0) : BaseIDLP(elemKind), sloped(isSloped) {}
    const char* GetParamName(int32_t index) const override { return DiggingLP_ParamName(index, sloped != 0); }

    uint8_t sloped;
};

class MarkerLP : public BaseLPView<MarkerLP_ParamName> {};
class MarkerPtLP : public BaseLPView<MarkerPtLP_ParamName> {};
class SlopeRangeLP : public BaseLPView<SlopeRangeLP_ParamName> {};
