#pragma once
#include "scene/MeshBatch.h"

// Draws the batch's triangles with their normals, and with their colours when `withColour`
// (otherwise in the current colour, as a shadow is drawn), then leaves the current normal and
// colour as drawing the pieces one by one would. Works inside a display list being compiled.
void drawMeshBatch(const MeshBatch& batch, bool withColour);
