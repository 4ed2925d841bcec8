#pragma once
// Numbers the log writes (clicked points, coordinates, heights): the shortest text that reads back to the same
// double, in plain decimals from 1e-5 to 1e16, so a reader can type a logged point into a script and hit it exactly.
#include <string>

std::string LogNumber(double value);
// "(x, y, z)"
std::string LogPoint(double x, double y, double z);
