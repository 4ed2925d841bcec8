#pragma once
// Rotating a point of the plan.

// Rotates (x, y) about (cx, cy) by `angle` radians, counter-clockwise.
void RotatePoint(double& x, double& y, double cx, double cy, double angle);
