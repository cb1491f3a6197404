#include "actors/Player.h"
#include <GL/gl.h>
#include <GL/glu.h>

namespace {
const float bombAmbient[4] = {0.23125f, 0.23125f, 0.23125f, 1};
const float bombDiffuse[4] = {0.2775f, 0.2775f, 0.2775f, 1};
const float bombSpecular[4] = {0.773911f, 0.773911f, 0.773911f, 1};
const float bombEmission[4] = {0, 0, 0, 0};
const float defaultAmbient[4] = {1, 1, 1, 1};
const float defaultDiffuse[4] = {1, 1, 1, 1};
const float defaultSpecular[4] = {0.1f, 0.1f, 0.1f, 1};
const float defaultEmission[4] = {0.01f, 0.01f, 0.01f, 0};

void setMaterial(const float* ambient, const float* diffuse, const float* specular,
                 const float* emission, float shininess) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
}

GLUquadric* bombQuadric() {
    static GLUquadric* quadric = [] {
        GLUquadric* q = gluNewQuadric();
        gluQuadricNormals(q, GLU_SMOOTH);
        return q;
    }();
    return quadric;
}
} // namespace

void Bomb::drawModel() const {
    GLUquadric* q = bombQuadric();
    glPushMatrix();
    setMaterial(bombAmbient, bombDiffuse, bombSpecular, bombEmission, 89.6f);
    // The pulsing ball rests on the ground.
    glTranslatef(x, y, pulseRadius);
    glColor3f(0.2f, 0.2f, 0.2f);
    gluSphere(q, pulseRadius, 10, 10);
    glPushMatrix();
    glTranslatef(0, 0, pulseRadius - 0.03f);
    glColor3f(0.5f, 0.5f, 0.5f);
    gluCylinder(q, 0.1, 0.1, 0.1, 10, 10);
    glRotatef(-45, 0, 0, 1);
    glRotatef(20, 0, 1, 0);
    glColor3f(1, 1, 1);
    gluCylinder(q, 0.03, 0.03, 0.23, 10, 10);
    glPushMatrix();
    glTranslatef(0, 0, 0.23f);
    glColor3ub(255, 102, 0);
    gluSphere(q, 0.038, 4, 4);
    glPopMatrix();
    glPopMatrix();
    setMaterial(defaultAmbient, defaultDiffuse, defaultSpecular, defaultEmission, 10);
    glPopMatrix();
}
