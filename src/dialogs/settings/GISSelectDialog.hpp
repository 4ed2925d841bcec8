#pragma once
// "Select GIS object to use for conversion": a new GIS object made of the fields the user ticks, an existing GIS
// object, or an existing one whose parameters the user ties to fields. OK sets the options' object mode (1, 2,
// 3) and chosen object (an index into every GIS object).
#include "fileio/ShapeImportData.hpp"

#include <cstdint>

constexpr int16_t GISSelectDialogId = 32533;

struct GISSelectBlock {
    int16_t dialogId = 0;
    ShapeImportData* data = nullptr;
};

bool OpenGisObjectSelectionDialog(GISSelectBlock& block, ShapeImportData& data);

int16_t GISSelectCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData, intptr_t messageData);
