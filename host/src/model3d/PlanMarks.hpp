#pragma once
// What tells a reader of the plan picture where they are (model3d/PlanPicture.hpp): its title, a north arrow, the
// plan coordinates ticked along its left and bottom sides with a frame round the plan, and the heights written on
// contour lines. Nothing here is a drawn item of the plan: the count line does not count them.
#include <string>
#include <vector>

// Where the plan lies in the picture: its box in metres and in pixels (y up in metres, down in pixels).
struct PlanPlot {
    double minX, minY, maxX, maxY;
    double left, top, scale;  // pixels: the plan's west and north sides, pixels per metre
    double Width() const { return (maxX - minX) * scale; }
    double Height() const { return (maxY - minY) * scale; }
};

// "5,563,000", "12.5", "-0.25": a coordinate or a height with the digits its step needs, thousands grouped.
std::string CoordinateText(double value, double step);

// The title (large) and the line under it, from (`left`, `top`) down.
std::string PlanTitleSvg(const std::string& title, const std::string& subtitle, double left, double top);

// A north arrow whose tip stands at (x, y), pointing up the picture (plan y is north).
std::string NorthArrowSvg(double x, double y);

// A frame round the plot and ticks every round step (1, 2 or 5 times a power of ten, about six a side) along its
// bottom and left sides, each with its coordinate. The step is returned through `step` (optional).
std::string CoordinateTicksSvg(const PlanPlot& plot, double* step = nullptr);

// A height written on a contour line at a point of it, in pixels.
struct ContourLabel {
    double x, y;
    double level;
};
std::string ContourLabelsSvg(const std::vector<ContourLabel>& labels, double step);
