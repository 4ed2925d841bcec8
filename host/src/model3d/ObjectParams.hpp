#pragma once
// A placed object's parameters as the host reads them for its plan and its bodies: numbers, texts and numeric
// arrays by name (letter case aside), and the object's own coordinates placed in the plan. A parameter that is
// missing or of the wrong kind is named in `why`.
#include "model3d/PlanRings.hpp"
#include "project/StoredElement.hpp"

#include <string>
#include <vector>

const StoredParam* FindObjectParam(const StoredElement& object, const std::string& name);
// A scalar number; false when it is missing, an array, a text or not finite.
bool ObjectNumber(const StoredElement& object, const std::string& name, double* value, std::string* why);
// A scalar text (UTF-16 units as they are, ASCII compared); false when it is missing or no text.
bool ObjectText(const StoredElement& object, const std::string& name, std::u16string* value, std::string* why);
// A numeric array as rows of at least `minColumns`; cells the host did not keep are 0.
bool ObjectRows(const StoredElement& object, const std::string& name, size_t minColumns,
                std::vector<std::vector<double>>* rows, std::string* why);
// Object coordinates to plan: mirrored, turned by the object's angle, moved to its position (z as given).
ModelPoint PlaceObjectPoint(const API_ObjectType& o, double x, double y, double z);
// Rows from `from` on (at most `count`) as placed points, z from the third column (0 without); rows holding a value
// that is not a number are left out.
std::vector<ModelPoint> ObjectPoints(const API_ObjectType& o, const std::vector<std::vector<double>>& rows, size_t from,
                                     size_t count);
