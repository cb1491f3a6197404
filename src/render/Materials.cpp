#include "render/Materials.h"
#include <GL/gl.h>
#include <GL/glu.h>

const Material defaultMaterial{
    {1, 1, 1, 1}, {1, 1, 1, 1}, {0.1f, 0.1f, 0.1f, 1}, {0.01f, 0.01f, 0.01f, 0}, 10};
const Material metalMaterial{{0.19225f, 0.19225f, 0.19225f, 1},
                             {0.50754f, 0.50754f, 0.50754f, 1},
                             {0.508273f, 0.508273f, 0.508273f, 1},
                             {0, 0, 0, 0},
                             51.2f};
const Material bombMaterial{{0.23125f, 0.23125f, 0.23125f, 1},
                            {0.2775f, 0.2775f, 0.2775f, 1},
                            {0.773911f, 0.773911f, 0.773911f, 1},
                            {0, 0, 0, 0},
                            89.6f};

void applyMaterial(unsigned int face, const Material& m) {
    glMaterialfv(face, GL_AMBIENT, m.ambient);
    glMaterialfv(face, GL_DIFFUSE, m.diffuse);
    glMaterialfv(face, GL_SPECULAR, m.specular);
    glMaterialfv(face, GL_EMISSION, m.emission);
    glMaterialf(face, GL_SHININESS, m.shininess);
}

GLUquadric* sharedQuadric() {
    static GLUquadric* quadric = [] {
        GLUquadric* q = gluNewQuadric();
        gluQuadricNormals(q, GLU_SMOOTH);
        return q;
    }();
    return quadric;
}
