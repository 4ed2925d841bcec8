#include "settings/ContourLineSettings.hpp"

void ContourLineSettings::Reset() {
    firstAltitude = lastAltitude = interval = 0.0;
    layer = lineType = secondPen = show2D = show3D = showSection = mainSecondary = firstPen = 0;
    mainStep = 0;
    useAverage = useAverage2 = 0;
    minDepth = average = average2 = maxDepth = 0.0;
    for (API_Coord3D& colour : depthColours) colour = API_Coord3D{0.0, 0.0, 0.0};
    depthPen = colour1 = colour2 = colour3 = colour4 = 0;
    altitude.Reset();
}

void ContourLineSettings::SetPrefsDefaults() {
    firstAltitude = 0.0;
    lastAltitude = 30.0;
    interval = 1.0;
    useAverage = 0;
    useAverage2 = 0;
    minDepth = 0.0;
    average = 20.0;
    average2 = 25.0;
    maxDepth = 30.0;
    mainStep = 5;
    depthColours[0] = API_Coord3D{133 / 255.0, 36 / 255.0, 5 / 255.0};
    depthColours[1] = API_Coord3D{182 / 255.0, 116 / 255.0, 40 / 255.0};
    depthColours[2] = API_Coord3D{114 / 255.0, 166 / 255.0, 11 / 255.0};
    depthColours[3] = API_Coord3D{210 / 255.0, 240 / 255.0, 4 / 255.0};
}

void ContourLineSettings::SetDefaults() {
    SetPrefsDefaults();
    layer = 1;
    lineType = 1;
    secondPen = 8;
    show2D = 1;
    show3D = 1;
    showSection = 0;
    mainSecondary = 0;
    firstPen = 54;
    depthPen = 4;
    colour2 = 19;
    colour4 = 121;
    colour3 = 144;
    colour1 = 104;
    altitude.SetDefaults();
}

uint16_t* ContourLineSettings::ShortField(int16_t id) {
    switch (id) {
        case 3: return &layer;
        case 4: return &lineType;
        case 5: return &secondPen;
        case 6: return &show2D;
        case 7: return &show3D;
        case 8: return &showSection;
        case 9: return &mainSecondary;
        case 10: return &firstPen;
        case 12: return &useAverage;
        case 13: return &useAverage2;
        case 22: return &depthPen;
        case 23: return &colour2;
        case 24: return &colour4;
        case 25: return &colour3;
        case 26: return &colour1;
        default: return nullptr;
    }
}

double* ContourLineSettings::DoubleField(int16_t id) {
    switch (id) {
        case 0: return &firstAltitude;
        case 1: return &lastAltitude;
        case 2: return &interval;
        case 14: return &minDepth;
        case 15: return &average;
        case 16: return &average2;
        case 17: return &maxDepth;
        default: return nullptr;
    }
}

double ContourLineSettings::GetDouble(int16_t id) const {
    const double* field = const_cast<ContourLineSettings*>(this)->DoubleField(id);
    return field != nullptr ? *field : 0.0;
}

void ContourLineSettings::SetDouble(int16_t id, double value) {
    if (double* field = DoubleField(id)) *field = value;
}

int32_t ContourLineSettings::GetShort(int16_t id) const {
    const uint16_t* field = const_cast<ContourLineSettings*>(this)->ShortField(id);
    return field != nullptr ? *field : 0;
}

void ContourLineSettings::SetShort(int16_t id, int16_t value) {
    if (uint16_t* field = ShortField(id)) *field = uint16_t(value);
}

API_Coord3D ContourLineSettings::GetPoint(int16_t id) const {
    if (id < 18 || id > 21) return API_Coord3D{0.0, 0.0, 0.0};
    return depthColours[id - 18];
}

void ContourLineSettings::SetPoint(int16_t id, const API_Coord3D& value) {
    if (id >= 18 && id <= 21) depthColours[id - 18] = value;
}

void ContourLineSettings::MergeChanged(const uint8_t* flags, ContourLineSettings& target,
                                       const ContourLineSettings& source) {
    for (int16_t id = 0; id < 27; ++id) {
        if (flags[id] == 0 || id == 3 || id == 4) continue;
        if (id <= 2 || (id >= 14 && id <= 17))
            target.SetDouble(id, source.GetDouble(id));
        else if (id == 11)
            target.mainStep = source.mainStep;
        else if (id >= 18 && id <= 21)
            target.SetPoint(id, source.GetPoint(id));
        else
            target.SetShort(id, int16_t(source.GetShort(id)));
    }
}
