#pragma once
// The defaults the road's and the railway's settings share (the railway is the road with tracks): layer 1, the
// slopes, the fill and cut surfaces, the 2D display and pens, the retaining structures and the slope extensions.
#include <cmath>

template <class Record>
void SetStripDefaults(Record& record) {
    record.layer = 1;
    record.leftCutAngle = record.rightCutAngle = M_PI / 3.0;
    record.leftFillAngle = record.rightFillAngle = M_PI / 4.0;
    record.fillMaterial = 78;
    record.cutMaterial = 77;
    record.resolution = 6;
    record.show2D = 1;
    record.pen2D = 4;
    record.pen = 4;
    record.obstacleShow2D = 0;
    record.obstaclePen = 3;
    record.obstacleLineType = 5;
    record.cutExtension = 2.0;
    record.fillExtension = 2.0;
}
