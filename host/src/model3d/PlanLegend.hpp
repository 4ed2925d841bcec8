#pragma once
// The band under the plan picture: the height colours with their range, the cut and fill shading with the volumes
// moved, a key for each kind of thing drawn, and a scale bar of a round length. The colour of a height, of cut and of
// fill and the style of each kind of line live here too, as the picture and the legend must agree on them.
#include <string>

// Low ground dark green, high ground light sand (t from 0, the lowest, to 1): a ridge or a valley shows at a glance.
std::string HeightColour(double t);
// "5 km", "200 m", "5 cm".
std::string LengthText(double metres);

enum class PlanKey { Point, Edge, Foot, Daylight, Outline, Contour, Polyline, LevelLine, Fill, Line, Object, Count };

// How a kind of line is drawn, in the picture and in its key: its colour and its dashes ("" solid).
struct PlanKeyStyle {
    const char* stroke;
    const char* dash;
};
PlanKeyStyle KeyStyle(PlanKey key);

// The shading of ground the earthworks take away (cut) and of ground they add (fill), over the height colours.
const char* CutColour();
const char* FillColour();
constexpr double kEarthworkOpacity = 0.7;

// "1,687,455 m3": a volume to the cubic metre, thousands grouped.
std::string VolumeText(double cubicMetres);

struct PlanLegend {
    bool heights = false;  // shaded ground to explain
    double zMin = 0.0, zMax = 0.0;
    bool shown[int(PlanKey::Count)] = {};
    double contourInterval = 0.0;  // the contour lines' interval, when known
    bool earthworks = false;       // cut and fill shaded, with their volumes
    double cutVolume = 0.0, fillVolume = 0.0;
};

// The band's SVG between `left` and `right` pixels from `top` down (about 60 pixels): the keys wrap into rows left
// of the scale bar, which is about a quarter of a plan `planMetres` wide drawn at `pixelsPerMetre`.
std::string PlanLegendSvg(const PlanLegend& legend, double left, double right, double top, double pixelsPerMetre,
                          double planMetres);
