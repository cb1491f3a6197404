#include "support/GlContext.h"
#include "render/MeshBatchGl.h"
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace {
// A lit corner as the GL hands it back in feedback mode: window x, y, z and RGBA.
using Corner = std::array<float, 7>;
using Triangle = std::array<Corner, 3>;

// Draws `draw` in feedback mode under a fixed camera and light and answers its triangles.
std::vector<Triangle> feedbackTriangles(const std::function<void()>& draw) {
    std::vector<float> buffer(400000);
    glViewport(0, 0, 1024, 735);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45, 1024.0 / 735.0, 0.1, 50);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(0.3, -1.2, 1.0, 0, 0, 0.1, 0, 0, 1);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const float lightAt[4] = {1, -2, 3, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, lightAt);
    glEnable(GL_COLOR_MATERIAL);
    glColor3f(0.2f, 0.6f, 0.3f);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int used = glRenderMode(GL_RENDER);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    std::vector<Triangle> triangles;
    EXPECT_GT(used, 0) << "feedback buffer overflowed or nothing was drawn";
    for (int k = 0; k < used;) {
        const int token = static_cast<int>(buffer[k++]);
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        const int count = static_cast<int>(buffer[k++]);
        EXPECT_EQ(count, 3);
        Triangle t{};
        for (int c = 0; c < count; ++c, k += 7)
            if (c < 3)
                for (int f = 0; f < 7; ++f)
                    t[c][f] = buffer[k + f];
        triangles.push_back(t);
    }
    return triangles;
}

bool closeCorner(const Corner& a, const Corner& b) {
    // Window coordinates to a hundredth of a pixel, depth and colour to a thousandth.
    for (int f = 0; f < 2; ++f)
        if (std::fabs(a[f] - b[f]) > 0.01f)
            return false;
    for (int f = 2; f < 7; ++f)
        if (std::fabs(a[f] - b[f]) > 0.002f)
            return false;
    return true;
}

// The same triangle: the same corners in the same turning order, from any starting corner.
bool sameTriangle(const Triangle& a, const Triangle& b) {
    for (int r = 0; r < 3; ++r)
        if (closeCorner(a[0], b[r]) && closeCorner(a[1], b[(r + 1) % 3]) &&
            closeCorner(a[2], b[(r + 2) % 3]))
            return true;
    return false;
}

// Every triangle of `expected` appears in `actual` once, and nothing else does.
void expectSameTriangles(const std::vector<Triangle>& expected,
                         const std::vector<Triangle>& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    std::vector<bool> used(actual.size(), false);
    int missing = 0;
    for (const Triangle& t : expected) {
        bool found = false;
        for (size_t i = 0; i < actual.size() && !found; ++i)
            if (!used[i] && sameTriangle(t, actual[i]))
                used[i] = found = true;
        missing += !found;
    }
    EXPECT_EQ(missing, 0) << "of " << expected.size() << " triangles";
}

void place() {
    glTranslatef(0.1f, 0.05f, 0.2f);
    glRotatef(37, 0.3f, 0.2f, 1);
}
} // namespace

TEST(MeshBatchGl, QuadricsDrawTheSameLitTrianglesAsTheGluQuadrics) {
    glContext();
    GLUquadric* q = gluNewQuadric();
    gluQuadricNormals(q, GLU_SMOOTH);
    const auto glu = feedbackTriangles([q] {
        glPushMatrix();
        place();
        gluSphere(q, 0.15, 20, 20);
        gluCylinder(q, 0.45, 0, 0.4, 40, 20);
        gluQuadricOrientation(q, GLU_INSIDE);
        gluDisk(q, 0, 0.22, 10, 10);
        gluQuadricOrientation(q, GLU_OUTSIDE);
        gluDisk(q, 0.1, 0.3, 12, 3);
        glPopMatrix();
    });
    gluDeleteQuadric(q);
    MeshBatch batch;
    batch.translate(0.1f, 0.05f, 0.2f);
    batch.rotate(37, 0.3f, 0.2f, 1);
    batch.sphere(0.15, 20, 20);
    batch.cylinder(0.45, 0, 0.4, 40, 20);
    batch.disk(0, 0.22, 10, 10, true);
    batch.disk(0.1, 0.3, 12, 3);
    const auto batched = feedbackTriangles([&batch] { drawMeshBatch(batch, false); });
    expectSameTriangles(glu, batched);
}

TEST(MeshBatchGl, ColoursAndStateAfterDrawingMatchThePiecesDrawnOneByOne) {
    glContext();
    GLUquadric* q = gluNewQuadric();
    gluQuadricNormals(q, GLU_SMOOTH);
    float gluNormal[3], gluColour[4];
    const auto glu = feedbackTriangles([&] {
        glColor4f(0.14f, 0.39f, 0.18f, 0);
        gluSphere(q, 0.15, 12, 9);
        glColor3ub(180, 120, 25);
        glPushMatrix();
        place();
        gluCylinder(q, 0.1, 0.1, 0.3, 12, 12);
        glPopMatrix();
        glGetFloatv(GL_CURRENT_NORMAL, gluNormal);
        glGetFloatv(GL_CURRENT_COLOR, gluColour);
    });
    gluDeleteQuadric(q);

    MeshBatch batch;
    batch.colour(0.14f, 0.39f, 0.18f, 0);
    batch.sphere(0.15, 12, 9);
    batch.colourBytes(180, 120, 25);
    batch.pushMatrix();
    batch.translate(0.1f, 0.05f, 0.2f);
    batch.rotate(37, 0.3f, 0.2f, 1);
    batch.cylinder(0.1, 0.1, 0.3, 12, 12);
    batch.popMatrix();
    // Compiled into a display list, as the scenery is, and called.
    const unsigned int list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    drawMeshBatch(batch, true);
    glEndList();
    float normal[3], colour[4];
    const auto batched = feedbackTriangles([&] {
        glCallList(list);
        glGetFloatv(GL_CURRENT_NORMAL, normal);
        glGetFloatv(GL_CURRENT_COLOR, colour);
    });
    glDeleteLists(list, 1);
    expectSameTriangles(glu, batched);
    // The cylinder's last normal is not turned by the matrix: the GL keeps it as given.
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(normal[c], gluNormal[c], 1e-5f);
    for (int c = 0; c < 4; ++c)
        EXPECT_NEAR(colour[c], gluColour[c], 1e-5f);
}
