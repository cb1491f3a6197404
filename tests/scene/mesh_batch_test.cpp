#include "scene/MeshBatch.h"
#include <gtest/gtest.h>
#include <array>
#include <cmath>

namespace {
using Vec = std::array<float, 3>;

// The batch's triangles as a plain list, three corners each.
std::vector<MeshVertex> corners(const MeshBatch& batch) {
    std::vector<MeshVertex> list;
    for (unsigned int i : batch.indices())
        list.push_back(batch.points().at(i));
    return list;
}

Vec at(const float* p) {
    return {p[0], p[1], p[2]};
}
Vec minus(Vec a, Vec b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
Vec cross(Vec a, Vec b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
float dot(Vec a, Vec b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
float length(Vec a) {
    return std::sqrt(dot(a, a));
}
// The face normal of triangle t (by its winding), unnormalised.
Vec faceNormal(const std::vector<MeshVertex>& v, size_t t) {
    const Vec a = at(v[3 * t].position), b = at(v[3 * t + 1].position),
              c = at(v[3 * t + 2].position);
    return cross(minus(b, a), minus(c, a));
}
} // namespace

TEST(MeshBatch, SphereLiesOnItsSurfaceWithOutwardNormalsAndWinding) {
    MeshBatch batch;
    batch.translate(1, 2, 3);
    batch.rotate(30, 0, 0, 1);
    batch.sphere(0.15, 20, 20);
    const auto v = corners(batch);
    // Two polar fans of 20 triangles and 18 bands of 20 quads.
    ASSERT_EQ(v.size(), 3u * (2 * 20 + 18 * 40));
    const Vec centre{1, 2, 3};
    for (const MeshVertex& m : v) {
        const Vec out = minus(at(m.position), centre);
        EXPECT_NEAR(length(out), 0.15f, 1e-5f);
        EXPECT_NEAR(length(at(m.normal)), 1.0f, 1e-5f);
        // Smooth normals point straight away from the centre.
        EXPECT_NEAR(dot(at(m.normal), out) / 0.15f, 1.0f, 1e-4f);
    }
    for (size_t t = 0; t < v.size() / 3; ++t) {
        const Vec n = faceNormal(v, t);
        if (length(n) < 1e-9f)
            continue;
        const Vec middle = minus(at(v[3 * t].position), centre);
        EXPECT_GT(dot(n, middle), 0) << "triangle " << t << " faces inward";
    }
}

TEST(MeshBatch, ConeNormalsAreSquareToItsSideAndCapsFaceTheirWay) {
    MeshBatch batch;
    batch.cylinder(0.45, 0, 0.4, 40, 20);
    const auto v = corners(batch);
    ASSERT_EQ(v.size(), 3u * 20 * 40 * 2);
    // The side runs from radius 0.45 at z = 0 to the tip at z = 0.4.
    const float slope = 0.45f / 0.4f;
    for (const MeshVertex& m : v) {
        const float r = std::hypot(m.position[0], m.position[1]);
        EXPECT_NEAR(r, 0.45f - slope * m.position[2], 1e-5f);
        const Vec n = at(m.normal);
        EXPECT_NEAR(length(n), 1.0f, 1e-5f);
        // Along the side (outward 0.45, up -0.4 reversed) the normal has no component.
        if (r > 1e-4f) {
            const Vec along{-0.45f * m.position[0] / r, -0.45f * m.position[1] / r, 0.4f};
            EXPECT_NEAR(dot(n, along), 0, 1e-5f);
        }
    }

    MeshBatch top, bottom;
    top.disk(0, 0.22, 10, 10);
    bottom.disk(0, 0.22, 10, 10, true);
    const auto up = corners(top), down = corners(bottom);
    ASSERT_EQ(up.size(), 3u * (10 + 9 * 20));
    ASSERT_EQ(down.size(), up.size());
    // A fan of the centre and 11 rim vertices and 9 strips of 22 share their corners.
    EXPECT_EQ(top.points().size(), 12u + 9 * 22);
    for (size_t t = 0; t < up.size() / 3; ++t) {
        if (length(faceNormal(up, t)) > 1e-9f) {
            EXPECT_GT(faceNormal(up, t)[2], 0);
            EXPECT_LT(faceNormal(down, t)[2], 0);
        }
    }
    EXPECT_EQ(top.lastNormal()[2], 1.0f);
    EXPECT_EQ(bottom.lastNormal()[2], -1.0f);
}

TEST(MeshBatch, PlacementsTurnLikeTheGlAndPopBack) {
    MeshBatch batch;
    batch.translate(5, 0, 0);
    batch.pushMatrix();
    // A quarter turn about +z takes +x to +y; about +x it takes +y to +z.
    batch.rotate(90, 0, 0, 2);
    batch.normal(1, 0, 0);
    batch.begin(MeshMode::triangles);
    batch.vertex(1, 0, 0);
    batch.vertex(0, 1, 0);
    batch.popMatrix();
    batch.rotate(90, 1, 0, 0);
    batch.vertex(0, 1, 0);
    batch.end();
    const auto v = corners(batch);
    ASSERT_EQ(v.size(), 3u);
    const float expected[3][3] = {{5, 1, 0}, {4, 0, 0}, {5, 0, 1}};
    for (int i = 0; i < 3; ++i)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(v[i].position[c], expected[i][c], 1e-6f);
    EXPECT_NEAR(v[0].normal[1], 1, 1e-6f);
    EXPECT_NEAR(v[2].normal[0], 1, 1e-6f);
}

TEST(MeshBatch, QuadsAndStripsBecomeTwoTrianglesCoveringEachQuad) {
    MeshBatch batch;
    batch.colourBytes(255, 0, 51);
    batch.begin(MeshMode::quads);
    batch.vertex(0, 0, 0);
    batch.vertex(2, 0, 0);
    batch.vertex(2, 1, 0);
    batch.vertex(0, 1, 0);
    batch.end();
    batch.begin(MeshMode::quadStrip);
    for (int i = 0; i <= 3; ++i) {
        batch.vertex(static_cast<float>(i), 0, 1);
        batch.vertex(static_cast<float>(i), 1, 1);
    }
    batch.end();
    const auto v = corners(batch);
    // One quad, then a strip of three.
    ASSERT_EQ(v.size(), 3u * 2 * 4);
    float area = 0;
    for (size_t t = 0; t < v.size() / 3; ++t) {
        const Vec n = faceNormal(v, t);
        // The quad turns counter-clockwise seen from +z; the strip the other way.
        EXPECT_NE(n[2], 0);
        area += std::fabs(n[2]) / 2;
    }
    EXPECT_NEAR(area, 2 + 3, 1e-6f);
    EXPECT_FLOAT_EQ(v[0].colour[0], 1);
    EXPECT_FLOAT_EQ(v[0].colour[2], 0.2f);
    EXPECT_FLOAT_EQ(v[0].colour[3], 1);
}

namespace {
// A unit box from (x, y, z), its faces as quads.
void box(MeshBatch& b, float x, float y, float z, float size) {
    const float x1 = x + size, y1 = y + size, z1 = z + size;
    b.begin(MeshMode::quads);
    const float faces[6][4][3] = {{{x, y, z1}, {x1, y, z1}, {x1, y1, z1}, {x, y1, z1}},
                                  {{x, y, z}, {x, y1, z}, {x1, y1, z}, {x1, y, z}},
                                  {{x, y, z}, {x1, y, z}, {x1, y, z1}, {x, y, z1}},
                                  {{x1, y1, z}, {x, y1, z}, {x, y1, z1}, {x1, y1, z1}},
                                  {{x, y1, z}, {x, y, z}, {x, y, z1}, {x, y1, z1}},
                                  {{x1, y, z}, {x1, y1, z}, {x1, y1, z1}, {x1, y, z1}}};
    for (const auto& face : faces)
        for (const auto& corner : face)
            b.vertex(corner[0], corner[1], corner[2]);
    b.end();
}

float distanceTo(const float* p, Vec centre) {
    return length(minus(at(p), centre));
}
} // namespace

TEST(MeshBatch, TrianglesWhollyInsideAnotherSolidAreDroppedAndNothingElse) {
    // A small sphere inside a large solid one: only the large one's triangles stay.
    MeshBatch large;
    large.beginSolid();
    large.sphere(1, 12, 12);
    large.endSolid();
    const size_t largeOnly = large.indices().size();
    large.sphere(0.2, 8, 8);
    large.dropHidden(0);
    EXPECT_EQ(large.indices().size(), largeOnly);

    // Inside a sphere that is not marked solid (an open piece, say) nothing is hidden.
    MeshBatch open;
    open.sphere(1, 12, 12);
    open.beginSolid();
    open.sphere(0.2, 8, 8);
    open.endSolid();
    const size_t both = open.indices().size();
    open.dropHidden(0);
    EXPECT_EQ(open.indices().size(), both);

    // Two boxes side by side share a face: lying on the other's surface, not inside it, the
    // shared faces may show (at a gap of rounding) and are kept.
    MeshBatch boxes;
    boxes.beginSolid();
    box(boxes, 0, 0, 0, 1);
    boxes.endSolid();
    boxes.beginSolid();
    box(boxes, 1, 0, 0, 1);
    boxes.endSolid();
    boxes.dropHidden(0);
    EXPECT_EQ(boxes.indices().size(), 2u * 6 * 2 * 3);

    // Two overlapping spheres: some of each is inside the other and goes. Every triangle gone
    // had its three corners inside the other ball; every triangle left has a corner outside the
    // ball the other's polygons surely hold (its faces, each spanning at most about 25 degrees
    // of the sphere, lie at least 0.15 cos 25 = 0.136 from its middle).
    MeshBatch pair;
    const Vec centres[2] = {{0, 0, 0}, {0.15f, 0, 0}};
    for (const Vec& c : centres) {
        pair.beginSolid();
        pair.pushMatrix();
        pair.translate(c[0], c[1], c[2]);
        pair.sphere(0.15, 8, 8);
        pair.popMatrix();
        pair.endSolid();
    }
    const std::vector<MeshVertex> before = corners(pair);
    pair.dropHidden(0);
    const std::vector<MeshVertex> after = corners(pair);
    EXPECT_LT(after.size(), before.size());
    EXPECT_GT(after.size(), before.size() / 2);
    const size_t perSphere = before.size() / 2;
    auto wholeInside = [&](const std::vector<MeshVertex>& v, size_t t, Vec other,
                           float radius) {
        for (int k = 0; k < 3; ++k)
            if (distanceTo(v[3 * t + k].position, other) >= radius)
                return false;
        return true;
    };
    // The triangles kept keep their order: walk both lists side by side.
    size_t kept = 0;
    for (size_t t = 0; t < before.size() / 3; ++t) {
        const Vec other = centres[3 * t < perSphere ? 1 : 0];
        const bool stays = kept < after.size() / 3 &&
                           std::equal(std::begin(before[3 * t].position),
                                      std::end(before[3 * t].position),
                                      std::begin(after[3 * kept].position));
        if (stays) {
            EXPECT_FALSE(wholeInside(after, kept, other, 0.13f)) << "triangle " << t;
            ++kept;
        } else {
            EXPECT_TRUE(wholeInside(before, t, other, 0.15f)) << "triangle " << t;
        }
    }
    EXPECT_EQ(kept, after.size() / 3);

    // Triangles given before the span are left alone, even inside a later solid.
    MeshBatch earlier;
    earlier.sphere(0.2, 8, 8);
    const size_t first = earlier.indices().size();
    earlier.beginSolid();
    earlier.sphere(1, 12, 12);
    earlier.endSolid();
    const size_t all = earlier.indices().size();
    earlier.dropHidden(first);
    EXPECT_EQ(earlier.indices().size(), all);
}
