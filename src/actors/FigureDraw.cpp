#include "actors/FigureDraw.h"
#include "scene/Materials.h"
#include <GL/gl.h>
#include <GL/glu.h>
#include <initializer_list>

namespace {
void sphereAt(float x, float y, float z, float radius, int tessellation) {
    glPushMatrix();
    glTranslatef(x, y, z);
    gluSphere(sharedQuadric(), radius, tessellation, tessellation);
    glPopMatrix();
}

// A cone (or cylinder) along the local +z after turning `angle` degrees about (ax, ay, az).
void coneAt(float x, float y, float z, float angle, float ax, float ay, float az, float base,
            float top, float length, int tessellation) {
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(angle, ax, ay, az);
    gluCylinder(sharedQuadric(), base, top, length, tessellation, tessellation);
    glPopMatrix();
}
} // namespace

void drawFigureBody(const FigureShape& s, float r, int tessellation) {
    sphereAt(0, 0, r + s.bodyLift, r, tessellation);
    coneAt(0, 0, r + s.bodyLift, 0, 0, 0, 1, r, s.headRadius, r, tessellation);
}

void drawFigureFeet(const FigureShape& s, int tessellation) {
    sphereAt(-s.footSpread, s.footSwing, s.footRadius, s.footRadius, tessellation);
    sphereAt(s.footSpread, -0.12f - s.footSwing, s.footRadius, s.footRadius, tessellation);
}

void drawFigureHands(const FigureShape& s, int tessellation) {
    sphereAt(-s.handSpread, s.handForward, s.handHeight, s.handRadius, tessellation);
    sphereAt(s.handSpread, s.handForward, s.handHeight, s.handRadius, tessellation);
}

void drawFigureTail(const FigureShape& s, int tessellation) {
    coneAt(0, s.tailBack, s.tailHeight, -110, 1, 0, 0, s.tailRadius, 0, s.tailLength, tessellation);
}

void drawFigureHead(const FigureShape& s, float r, int tessellation) {
    sphereAt(0, 0, 2 * r + s.bodyLift, s.headRadius, tessellation);
    for (float side : {-1.0f, 1.0f}) {
        glPushMatrix();
        glTranslatef(side * s.earSpread, s.earBack, s.earHeight);
        glRotatef(s.earTilt, 1, 0, 0);
        glPushMatrix();
        glTranslatef(0, 0, s.earLength);
        gluDisk(sharedQuadric(), 0, s.earTipRadius, tessellation, tessellation);
        glPopMatrix();
        gluCylinder(sharedQuadric(), s.earRadius, s.earTipRadius, s.earLength, tessellation,
                    tessellation);
        glPopMatrix();
    }
}

void drawFigureFace(const FigureShape& s, int tessellation) {
    sphereAt(-s.eyeSpread, s.eyeForward, s.eyeHeight, s.eyeRadius, tessellation);
    sphereAt(s.eyeSpread, s.eyeForward, s.eyeHeight, s.eyeRadius, tessellation);
    const struct {
        float side, height, angle;
    } whiskers[4] = {{1, s.whiskerHeightUpper, s.whiskerAngleUpper},
                     {1, s.whiskerHeightLower, s.whiskerAngleLower},
                     {-1, s.whiskerHeightUpper, -s.whiskerAngleUpper},
                     {-1, s.whiskerHeightLower, -s.whiskerAngleLower}};
    for (const auto& w : whiskers)
        coneAt(w.side * s.whiskerSpread, s.whiskerForward, w.height, w.angle, 0, 1, 0,
               s.whiskerRadius, 0, s.whiskerLength, tessellation);
    coneAt(0, s.noseForward, s.noseHeight, 90, 1, 0, 0, s.noseRadius, 0, s.noseLength,
           tessellation);
}
