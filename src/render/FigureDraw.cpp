#include "render/FigureDraw.h"
#include "render/MeshBatchGl.h"
#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {
// Fewer slices than this no longer read as round, however small the piece.
constexpr int fewestSlices = 4;
// Largest gap in pixels between a piece's true outline and its polygon.
constexpr float outlineError = 0.5f;

void sphereAt(MeshBatch& b, float x, float y, float z, float radius, const PieceDetail& d) {
    b.pushMatrix();
    b.translate(x, y, z);
    b.sphere(radius, d.slices(radius), d.sphereStacks(radius));
    b.popMatrix();
}

// A cone (or cylinder) along the local +z after turning `angle` degrees about (ax, ay, az).
void coneAt(MeshBatch& b, float x, float y, float z, float angle, float ax, float ay, float az,
            float base, float top, float length, const PieceDetail& d) {
    b.pushMatrix();
    b.translate(x, y, z);
    b.rotate(angle, ax, ay, az);
    b.cylinder(base, top, length, d.slices(std::max(base, top)), d.lengthStacks());
    b.popMatrix();
}

template <typename Add> void drawPiece(Add&& add) {
    MeshBatch batch;
    add(batch);
    drawMeshBatch(batch, false);
}
} // namespace

void addFigureBody(MeshBatch& b, const FigureShape& s, float r, const PieceDetail& d) {
    sphereAt(b, 0, 0, r + s.bodyLift, r, d);
    coneAt(b, 0, 0, r + s.bodyLift, 0, 0, 0, 1, r, s.headRadius, r, d);
}

void addFigureFeet(MeshBatch& b, const FigureShape& s, const PieceDetail& d) {
    sphereAt(b, -s.footSpread, s.footSwing, s.footRadius, s.footRadius, d);
    sphereAt(b, s.footSpread, -0.12f - s.footSwing, s.footRadius, s.footRadius, d);
}

void addFigureHands(MeshBatch& b, const FigureShape& s, const PieceDetail& d) {
    sphereAt(b, -s.handSpread, s.handForward, s.handHeight, s.handRadius, d);
    sphereAt(b, s.handSpread, s.handForward, s.handHeight, s.handRadius, d);
}

void addFigureTail(MeshBatch& b, const FigureShape& s, const PieceDetail& d) {
    coneAt(b, 0, s.tailBack, s.tailHeight, -110, 1, 0, 0, s.tailRadius, 0, s.tailLength, d);
}

void addFigureHead(MeshBatch& b, const FigureShape& s, float r, const PieceDetail& d) {
    sphereAt(b, 0, 0, 2 * r + s.bodyLift, s.headRadius, d);
    for (float side : {-1.0f, 1.0f}) {
        b.pushMatrix();
        b.translate(side * s.earSpread, s.earBack, s.earHeight);
        b.rotate(s.earTilt, 1, 0, 0);
        b.pushMatrix();
        b.translate(0, 0, s.earLength);
        b.disk(0, s.earTipRadius, d.slices(s.earRadius), d.lengthStacks());
        b.popMatrix();
        b.cylinder(s.earRadius, s.earTipRadius, s.earLength, d.slices(s.earRadius),
                   d.lengthStacks());
        b.popMatrix();
    }
}

void addFigureFace(MeshBatch& b, const FigureShape& s, const PieceDetail& d) {
    sphereAt(b, -s.eyeSpread, s.eyeForward, s.eyeHeight, s.eyeRadius, d);
    sphereAt(b, s.eyeSpread, s.eyeForward, s.eyeHeight, s.eyeRadius, d);
    const struct {
        float side, height, angle;
    } whiskers[4] = {{1, s.whiskerHeightUpper, s.whiskerAngleUpper},
                     {1, s.whiskerHeightLower, s.whiskerAngleLower},
                     {-1, s.whiskerHeightUpper, -s.whiskerAngleUpper},
                     {-1, s.whiskerHeightLower, -s.whiskerAngleLower}};
    for (const auto& w : whiskers)
        coneAt(b, w.side * s.whiskerSpread, s.whiskerForward, w.height, w.angle, 0, 1, 0,
               s.whiskerRadius, 0, s.whiskerLength, d);
    coneAt(b, 0, s.noseForward, s.noseHeight, 90, 1, 0, 0, s.noseRadius, 0, s.noseLength, d);
}

void drawFigureHead(const FigureShape& s, float r, const PieceDetail& d) {
    drawPiece([&](MeshBatch& b) { addFigureHead(b, s, r, d); });
}

void drawFigureFace(const FigureShape& s, const PieceDetail& d) {
    drawPiece([&](MeshBatch& b) { addFigureFace(b, s, d); });
}

void addFigureFoot(MeshBatch& b, const FigureShape& s, const PieceDetail& d) {
    sphereAt(b, 0, 0, s.footRadius, s.footRadius, d);
}

int PieceDetail::slices(float radius) const {
    if (pixelsPerUnit <= 0)
        return tessellation;
    const float onScreen = radius * pixelsPerUnit;
    // A polygon of n corners on a circle of radius R strays R (1 - cos(pi / n)) from it.
    const float cosine = 1.0f - outlineError / std::max(onScreen, outlineError);
    const float needed = static_cast<float>(M_PI) / std::acos(std::clamp(cosine, -1.0f, 1.0f));
    return std::clamp(static_cast<int>(std::ceil(needed)), fewestSlices, tessellation);
}
