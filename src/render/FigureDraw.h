#pragma once
#include "actors/FigureShape.h"

class MeshBatch;

// The pieces of the animal figure shared by players and creatures, in model space: origin on
// the ground under the body's centre, face toward -y, z up. `tessellation` is the slice and
// stack count of every quadric.
//
// The add... forms gather a piece's triangles into a batch (in the batch's current placement,
// without colour) so that several pieces of one colour go to the GL in one draw.
void addFigureBody(MeshBatch& batch, const FigureShape& shape, float bodyRadius, int tessellation);
void addFigureFeet(MeshBatch& batch, const FigureShape& shape, int tessellation);
void addFigureHands(MeshBatch& batch, const FigureShape& shape, int tessellation);
void addFigureTail(MeshBatch& batch, const FigureShape& shape, int tessellation);
void addFigureHead(MeshBatch& batch, const FigureShape& shape, float bodyRadius, int tessellation);
void addFigureFace(MeshBatch& batch, const FigureShape& shape, int tessellation);

// The draw... forms draw one piece in the current colour; the modelview matrix is left as it
// was.
void drawFigureFeet(const FigureShape& shape, int tessellation);
void drawFigureHead(const FigureShape& shape, float bodyRadius, int tessellation);
void drawFigureFace(const FigureShape& shape, int tessellation);
