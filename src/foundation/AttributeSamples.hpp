#pragma once
// Samples of host attributes in user items and list rows: a fill pattern in a framed rectangle, a line type
// drawn along the middle of a rectangle as it will look.
#include "foundation/UserItemDrawing.hpp"

#include "DG.hpp"
#include "NewDisplay.hpp"

#include <cstdint>

// A host RGB colour: each component 0..65535; drawing uses the high bytes.
struct HostRGB {
    uint16_t red = 0;
    uint16_t green = 0;
    uint16_t blue = 0;
};

// Dash lengths become pixels by this factor (a long period shrinks it, so that the sample shows repetitions).
constexpr double SampleFactor = 2.822;
constexpr double SampleFactorSquared = 7.963684;
// Repetitions of a line type's pattern along a sample, at most.
constexpr int32_t SampleRepeatMax = 100;

void DrawSampleArc(NewDisplay::UpdateContext& context, double centreX, double centreY, double radius, double begAngle,
                   double endAngle, const HostRGB& colour, int32_t width);
// `pattern`: 8 bytes, or null for a plain fill in `fore`.
void FillSampleRect(NewDisplay::UpdateContext& context, const DG::Rect& rect, const HostRGB& fore, const HostRGB& back,
                    const uint8_t* pattern);

// Fill-type sample: the rectangle (or, when null, the item from (0, 0) over its size) filled and framed.
void DrawPatternSample(const UserItemDrawing& item, const uint8_t* pattern, const HostRGB& frameColour,
                       const HostRGB& foreColour, const HostRGB& backColour, const DG::Rect* rect);
// Line-type sample of line type `lineType` along the middle of the rectangle (or the item); nothing when the
// host cannot give its definition.
void DrawPatternSampleBody(const UserItemDrawing& item, int32_t lineType, const HostRGB& colour, const DG::Rect* rect);
