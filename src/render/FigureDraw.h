#pragma once
#include "actors/FigureShape.h"

class MeshBatch;

// How finely a figure's quadrics are cut. At full detail every sphere, cylinder and disk has
// `tessellation` slices and stacks (loops for a disk). For a figure seen at a known size, each
// piece gets only the slices that keep its outline within half a pixel of the true round, and
// cylinders and disks get one stack or loop: their sides are straight and, under a directional
// light, every point of one slice is lit alike, so further stacks add triangles but no picture.
struct PieceDetail {
    int tessellation = 20;
    // On-screen pixels per world unit the pieces are cut for; 0 means full detail.
    float pixelsPerUnit = 0;

    int slices(float radius) const;
    // Stacks of a sphere of that radius.
    int sphereStacks(float radius) const { return slices(radius); }
    // Stacks of a cylinder or loops of a disk.
    int lengthStacks() const { return pixelsPerUnit > 0 ? 1 : tessellation; }
};

// The pieces of the animal figure shared by players and creatures, in model space: origin on
// the ground under the body's centre, face toward -y, z up.
//
// The add... forms gather a piece's triangles into a batch (in the batch's current placement,
// without colour) so that several pieces of one colour go to the GL in one draw.
void addFigureBody(MeshBatch& batch, const FigureShape& shape, float bodyRadius,
                   const PieceDetail& detail);
void addFigureFeet(MeshBatch& batch, const FigureShape& shape, const PieceDetail& detail);
void addFigureHands(MeshBatch& batch, const FigureShape& shape, const PieceDetail& detail);
void addFigureTail(MeshBatch& batch, const FigureShape& shape, const PieceDetail& detail);
void addFigureHead(MeshBatch& batch, const FigureShape& shape, float bodyRadius,
                   const PieceDetail& detail);
void addFigureFace(MeshBatch& batch, const FigureShape& shape, const PieceDetail& detail);
// One foot at the model's origin, centred at its radius above the ground.
void addFigureFoot(MeshBatch& batch, const FigureShape& shape, const PieceDetail& detail);

// The draw... forms draw one piece in the current colour; the modelview matrix is left as it
// was.
void drawFigureHead(const FigureShape& shape, float bodyRadius, const PieceDetail& detail);
void drawFigureFace(const FigureShape& shape, const PieceDetail& detail);
