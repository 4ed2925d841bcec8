#pragma once
// What a library part draws in the floor plan, kept as data beside its parameters: which array parameters are
// lines, which are outlines, where side slopes end, which parameters set the level lines traced on the terrain
// under the object, and which one is the level of the ground outlined below it. The plan picture draws from it,
// and so does the 2D drawing the host hands out for the `below` item; the host knows no part by name, and of their
// parameters only the sizes every part has (A, B).
//
// Description lines (each names parameters given above it):
//     plan line <array>                              an open line through the rows' x and y
//     plan outline <array>                           a closed ring through the rows' x and y
//     plan outlines <counts> <coordinates>           rings: counts n by 1, row j of coordinates ring j's points
//                                                    as x, y, code triples, -1 ending each contour
//     plan foot <array> left|right <depth> <angle>   where a side slope of `angle` from the line, `depth` high,
//                                                    meets the ground: the line moved aside by depth / tan(angle)
//     plan contours <step> <first> <last> [<mainStep> [<mainShown>]]
//                                                    level lines of the terrain under the object's A by B box at
//                                                    first, first + step ... up to last; every mainStep-th one
//                                                    a main line (when the switch mainShown is given, only while
//                                                    it is on)
//     plan daylight                                  where the cut and the fill the part's `body` lines build meet
//                                                    the ground (model3d/Daylight.hpp)
//     plan below <level>                             the outline of the ground at or below the height `level` (of
//                                                    the model itself) where the meshes meet the object's A by B
//                                                    box, unturned (model3d/GroundBelow.hpp); the object's 2D
//                                                    drawing is then these outlines alone, one polygon per region
// Rows are in the object's own coordinates (its position, angle and mirroring place them in the plan).
#include <string>
#include <vector>

struct LibPlanItem {
    enum class Kind { Line, Outline, Outlines, Foot, Contours, Below, Daylight };
    Kind kind = Kind::Line;
    std::vector<std::string> params;  // the parameters named, in the line's order
    bool left = true;                 // a foot: on the left of the line's direction
};

// Reads what follows "plan" on a description line. False with `why` for an unknown kind, a wrong count of
// names or a word that is not a parameter name.
bool ParsePlanItem(const std::string& text, LibPlanItem* item, std::string* why);
// The words that follow "plan" (what ParsePlanItem reads back).
std::string DescribePlanItem(const LibPlanItem& item);
