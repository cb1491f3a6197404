#pragma once
#include "actors/FigureShape.h"

// The pieces of the animal figure shared by players and creatures, in model space: origin on
// the ground under the body's centre, face toward -y, z up. Each piece saves and restores the
// modelview matrix. `tessellation` is the slice and stack count of every quadric.
void drawFigureBody(const FigureShape& shape, float bodyRadius, int tessellation);
void drawFigureFeet(const FigureShape& shape, int tessellation);
void drawFigureHands(const FigureShape& shape, int tessellation);
void drawFigureTail(const FigureShape& shape, int tessellation);
void drawFigureHead(const FigureShape& shape, float bodyRadius, int tessellation);
void drawFigureFace(const FigureShape& shape, int tessellation);
