#include "render/FigureDraw.h"
#include "render/MeshBatchGl.h"
#include <initializer_list>

namespace {
void sphereAt(MeshBatch& b, float x, float y, float z, float radius, int tessellation) {
    b.pushMatrix();
    b.translate(x, y, z);
    b.sphere(radius, tessellation, tessellation);
    b.popMatrix();
}

// A cone (or cylinder) along the local +z after turning `angle` degrees about (ax, ay, az).
void coneAt(MeshBatch& b, float x, float y, float z, float angle, float ax, float ay, float az,
            float base, float top, float length, int tessellation) {
    b.pushMatrix();
    b.translate(x, y, z);
    b.rotate(angle, ax, ay, az);
    b.cylinder(base, top, length, tessellation, tessellation);
    b.popMatrix();
}

template <typename Add> void drawPiece(Add&& add) {
    MeshBatch batch;
    add(batch);
    drawMeshBatch(batch, false);
}
} // namespace

void addFigureBody(MeshBatch& b, const FigureShape& s, float r, int tessellation) {
    sphereAt(b, 0, 0, r + s.bodyLift, r, tessellation);
    coneAt(b, 0, 0, r + s.bodyLift, 0, 0, 0, 1, r, s.headRadius, r, tessellation);
}

void addFigureFeet(MeshBatch& b, const FigureShape& s, int tessellation) {
    sphereAt(b, -s.footSpread, s.footSwing, s.footRadius, s.footRadius, tessellation);
    sphereAt(b, s.footSpread, -0.12f - s.footSwing, s.footRadius, s.footRadius, tessellation);
}

void addFigureHands(MeshBatch& b, const FigureShape& s, int tessellation) {
    sphereAt(b, -s.handSpread, s.handForward, s.handHeight, s.handRadius, tessellation);
    sphereAt(b, s.handSpread, s.handForward, s.handHeight, s.handRadius, tessellation);
}

void addFigureTail(MeshBatch& b, const FigureShape& s, int tessellation) {
    coneAt(b, 0, s.tailBack, s.tailHeight, -110, 1, 0, 0, s.tailRadius, 0, s.tailLength,
           tessellation);
}

void addFigureHead(MeshBatch& b, const FigureShape& s, float r, int tessellation) {
    sphereAt(b, 0, 0, 2 * r + s.bodyLift, s.headRadius, tessellation);
    for (float side : {-1.0f, 1.0f}) {
        b.pushMatrix();
        b.translate(side * s.earSpread, s.earBack, s.earHeight);
        b.rotate(s.earTilt, 1, 0, 0);
        b.pushMatrix();
        b.translate(0, 0, s.earLength);
        b.disk(0, s.earTipRadius, tessellation, tessellation);
        b.popMatrix();
        b.cylinder(s.earRadius, s.earTipRadius, s.earLength, tessellation, tessellation);
        b.popMatrix();
    }
}

void addFigureFace(MeshBatch& b, const FigureShape& s, int tessellation) {
    sphereAt(b, -s.eyeSpread, s.eyeForward, s.eyeHeight, s.eyeRadius, tessellation);
    sphereAt(b, s.eyeSpread, s.eyeForward, s.eyeHeight, s.eyeRadius, tessellation);
    const struct {
        float side, height, angle;
    } whiskers[4] = {{1, s.whiskerHeightUpper, s.whiskerAngleUpper},
                     {1, s.whiskerHeightLower, s.whiskerAngleLower},
                     {-1, s.whiskerHeightUpper, -s.whiskerAngleUpper},
                     {-1, s.whiskerHeightLower, -s.whiskerAngleLower}};
    for (const auto& w : whiskers)
        coneAt(b, w.side * s.whiskerSpread, s.whiskerForward, w.height, w.angle, 0, 1, 0,
               s.whiskerRadius, 0, s.whiskerLength, tessellation);
    coneAt(b, 0, s.noseForward, s.noseHeight, 90, 1, 0, 0, s.noseRadius, 0, s.noseLength,
           tessellation);
}

void drawFigureFeet(const FigureShape& s, int t) {
    drawPiece([&](MeshBatch& b) { addFigureFeet(b, s, t); });
}

void drawFigureHead(const FigureShape& s, float r, int t) {
    drawPiece([&](MeshBatch& b) { addFigureHead(b, s, r, t); });
}

void drawFigureFace(const FigureShape& s, int t) {
    drawPiece([&](MeshBatch& b) { addFigureFace(b, s, t); });
}
