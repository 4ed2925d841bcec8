#pragma once
// Which solids the host builds for a placed library part from its own parameters, kept as data beside its
// parameters as its plan items are (library/README.md). The host knows no part by name: each line names the
// parameters that carry the shape.
//
// Description lines (each names parameters given above it):
//     body role <text>                          the text that says which body an object carries: "fill" the
//                                               fill body, "result" none, any other text the cut body
//     body platform <outline> <level> <cutAngle> <fillAngle>
//                                               a platform at `level` over the closed outline (rows x, y); the
//                                               cut body lies above the platform and the slopes rising outward
//                                               at `cutAngle`, the fill body below the platform and the slopes
//                                               falling outward at `fillAngle` (angles from the horizontal)
//     body incline <x> <y> <slope> <direction>  the platform is the plane through (x, y) at `level` that falls
//                                               by `slope` (an angle) towards `direction`
//     body strip <left> <right> <leftCut> <rightCut> <leftFill> <rightFill>
//                                               a surface between the two 3D edges (rows x, y, z), with a side
//                                               slope of its own angle on each side; the ends are vertical
//     body obstacle <counts> <points>           outlines the earthwork does not enter: counts n by 1, row j of
//                                               points outline j's points as x, y, z triples; each stops the
//                                               bodies with upright faces
//     body walk <left> <right> <thickness>      a strip of `thickness` whose top is the surface between the two
//                                               3D edges, its sides and ends upright: the cut body lies above its
//                                               underside, the fill body below its top
//     body wall <path> <thickness> <height> <side> <meshLevel>
//                                               a wall `thickness` wide beside the path (rows x, y, z) on the side
//                                               the text names ("left", "right", else centred), `height` above it
//     body faces <left> <right> <height> <leftAngle> <rightAngle> <meshLevel>
//                                               a wall between two face polylines (rows x, y, z) from their foot
//                                               up `height`, each face leaning in at its angle from the horizontal
//     body block <outline> <height> <depth> <meshLevel>
//                                               an upright block over the outline's contours (the last column -1
//                                               ends one) up to the level `height` + `depth`
//     body deck <path> <width> <thickness> <leftOn> <leftWidth> <leftThickness> <rightOn> <rightWidth>
//               <rightThickness> <meshLevel>    a deck `thickness` deep under the path (rows x, y, z), `width`
//                                               wide and the sidewalks that are on, each on it beside the road
//     body roof <on> <angle>                    (with a block) when `on` is not 0, a hipped roof on the block:
//                                               from every side a face rises inward at `angle` from the
//                                               horizontal, the faces meeting along the outline's skeleton
//     body railings <leftOn> <rightOn>          (with a deck) a railing on each side whose flag is not 0, along
//                                               the deck's outer edge, on the sidewalk where there is one
//     body rails <on> <tracks> <gauge> <tieSpacing>
//                                               (with a deck) when `on` is not 0, `tracks` tracks spread across
//                                               the road, each two rails `gauge` apart on ties `tieSpacing` apart
// Heights the add-on writes into these (the rows' z, a block's level) are the terrain's as its 3D model gives
// them when the object is placed at `meshLevel`: they move with the object's level from there.
// Rows are in the object's own coordinates.
#include <string>
#include <vector>

struct LibBodyItem {
    enum class Kind { Role, Platform, Incline, Strip, Walk, Obstacle, Wall, Faces, Block, Deck, Roof, Railings, Rails };
    Kind kind = Kind::Role;
    std::vector<std::string> params;  // the parameters named, in the line's order
};

// Reads what follows "body" on a description line. False with `why` for an unknown kind, a wrong count of names
// or a word that is not a parameter name.
bool ParseBodyItem(const std::string& text, LibBodyItem* item, std::string* why);
// The words that follow "body" (what ParseBodyItem reads back).
std::string DescribeBodyItem(const LibBodyItem& item);
