#include "settings/ContourLineSettings.hpp"

void ContourLineSettings::ResetBeside() {
    mainStep = 0;
    for (API_Coord3D& colour : depthColours) colour = API_Coord3D{0.0, 0.0, 0.0};
    altitude.Reset();
}

void ContourLineSettings::SetBesideDefaults() {
    mainStep = 5;
    depthColours[0] = API_Coord3D{133 / 255.0, 36 / 255.0, 5 / 255.0};
    depthColours[1] = API_Coord3D{182 / 255.0, 116 / 255.0, 40 / 255.0};
    depthColours[2] = API_Coord3D{114 / 255.0, 166 / 255.0, 11 / 255.0};
    depthColours[3] = API_Coord3D{210 / 255.0, 240 / 255.0, 4 / 255.0};
    altitude.SetDefaults();
}

API_Coord3D ContourLineSettings::GetPoint(int16_t id) const {
    if (id < DepthColourId || id >= DepthColourId + 4) return API_Coord3D{0.0, 0.0, 0.0};
    return depthColours[id - DepthColourId];
}

void ContourLineSettings::SetPoint(int16_t id, const API_Coord3D& value) {
    if (id >= DepthColourId && id < DepthColourId + 4) depthColours[id - DepthColourId] = value;
}

void ContourLineSettings::MergeChanged(const uint8_t* flags, ContourLineSettings& target,
                                       const ContourLineSettings& source) {
    for (int16_t id = 0; id < FieldCount; ++id) {
        if (flags[id] == 0 || id == Id::layer || id == Id::lineType) continue;
        if (id == MainStepId)
            target.mainStep = source.mainStep;
        else if (id >= DepthColourId && id < DepthColourId + 4)
            target.SetPoint(id, source.GetPoint(id));
        else
            target.CopyField(source, id);
    }
}
