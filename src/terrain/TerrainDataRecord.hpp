#pragma once
// The data record (kind 4) that makes a host mesh a terrain: its identifier comes from the mesh's own GUID and
// modification stamp; the project offset and the mesh's base level are kept beside it, so that a copy or an
// import is told from the mesh it was made from.
#include "elements/ElemDataRecord.hpp"

#include "APIElements.hpp"

// The descriptor the record is built from.
ElemDescriptor TerrainDescriptor(const API_Element& mesh);

// Builds and stores the record on the mesh; false when the host refuses it.
bool WriteTerrainDataRecord(const API_Element& mesh);
