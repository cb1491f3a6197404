#include "scene/MeshBatch.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr double pi = 3.14159265358979323846;
// The quadric library keeps at most this many slices.
constexpr int maxSlices = 239;
} // namespace

MeshBatch::MeshBatch() {
    stack.push_back({{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}});
}

void MeshBatch::clear() {
    vertexList.clear();
    triangleIndices.clear();
    pending.clear();
    solids.clear();
    stack.resize(1);
    stack[0] = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}};
}

void MeshBatch::begin(MeshMode m) {
    mode = m;
    pending.clear();
}

void MeshBatch::end() {
    const size_t n = pending.size();
    const std::vector<unsigned int>& v = pending;
    switch (mode) {
    case MeshMode::triangles:
        for (size_t i = 0; i + 2 < n; i += 3)
            emitTriangle(v[i], v[i + 1], v[i + 2]);
        break;
    case MeshMode::quads:
        // Split along the second diagonal, as the renderer splits a quad.
        for (size_t i = 0; i + 3 < n; i += 4) {
            emitTriangle(v[i], v[i + 1], v[i + 3]);
            emitTriangle(v[i + 1], v[i + 2], v[i + 3]);
        }
        break;
    case MeshMode::quadStrip:
        // Each quad is (2k, 2k+1, 2k+3, 2k+2), split along 2k to 2k+3.
        for (size_t i = 0; i + 3 < n; i += 2) {
            emitTriangle(v[i + 2], v[i], v[i + 3]);
            emitTriangle(v[i], v[i + 1], v[i + 3]);
        }
        break;
    case MeshMode::triangleFan:
        for (size_t i = 1; i + 1 < n; ++i)
            emitTriangle(v[0], v[i], v[i + 1]);
        break;
    }
    pending.clear();
}

void MeshBatch::emitTriangle(unsigned int a, unsigned int b, unsigned int c) {
    triangleIndices.push_back(a);
    triangleIndices.push_back(b);
    triangleIndices.push_back(c);
}

void MeshBatch::beginSolid() {
    solidStart = triangleIndices.size();
}

void MeshBatch::endSolid() {
    if (triangleIndices.size() > solidStart)
        solids.push_back({solidStart, triangleIndices.size()});
}

void MeshBatch::dropHidden(std::size_t firstIndex) {
    // Each solid as the planes of its faces, turned so that the middle of its corners (inside
    // it, as it is convex) lies behind every one, with a ball round it for a quick refusal.
    struct Plane {
        double n[3], d;
    };
    struct Body {
        std::size_t first, last;
        std::vector<Plane> planes;
        double centre[3], reach;
    };
    auto at = [this](std::size_t index) { return vertexList[triangleIndices[index]].position; };
    std::vector<Body> bodies;
    for (const Solid& solid : solids) {
        if (solid.first < firstIndex)
            continue;
        Body body{solid.first, solid.last, {}, {0, 0, 0}, 0};
        const double count = static_cast<double>(solid.last - solid.first);
        for (std::size_t k = solid.first; k < solid.last; ++k)
            for (int c = 0; c < 3; ++c)
                body.centre[c] += at(k)[c] / count;
        for (std::size_t k = solid.first; k < solid.last; ++k) {
            double gap[3];
            for (int c = 0; c < 3; ++c)
                gap[c] = at(k)[c] - body.centre[c];
            body.reach = std::max(body.reach, std::sqrt(gap[0] * gap[0] + gap[1] * gap[1] +
                                                        gap[2] * gap[2]));
        }
        for (std::size_t k = solid.first; k + 2 < solid.last; k += 3) {
            const float *a = at(k), *b = at(k + 1), *c = at(k + 2);
            const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
            const double v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
            Plane plane{{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                         u[0] * v[1] - u[1] * v[0]},
                        0};
            const double length = std::sqrt(plane.n[0] * plane.n[0] + plane.n[1] * plane.n[1] +
                                            plane.n[2] * plane.n[2]);
            // A face closed to a point (a pole's) bounds nothing.
            if (length < 1e-12)
                continue;
            for (double& component : plane.n)
                component /= length;
            plane.d = plane.n[0] * a[0] + plane.n[1] * a[1] + plane.n[2] * a[2];
            if (plane.n[0] * body.centre[0] + plane.n[1] * body.centre[1] +
                    plane.n[2] * body.centre[2] >
                plane.d) {
                for (double& component : plane.n)
                    component = -component;
                plane.d = -plane.d;
            }
            body.planes.push_back(plane);
        }
        bodies.push_back(std::move(body));
    }
    solids.erase(std::remove_if(solids.begin(), solids.end(),
                                [firstIndex](const Solid& s) { return s.first >= firstIndex; }),
                 solids.end());
    // Strictly inside: a face on another's surface may show, and is kept.
    constexpr double margin = 1e-4;
    auto inside = [&](const Body& body, const float* p) {
        const double gap[3] = {p[0] - body.centre[0], p[1] - body.centre[1],
                               p[2] - body.centre[2]};
        if (gap[0] * gap[0] + gap[1] * gap[1] + gap[2] * gap[2] >= body.reach * body.reach)
            return false;
        for (const Plane& plane : body.planes)
            if (plane.n[0] * p[0] + plane.n[1] * p[1] + plane.n[2] * p[2] > plane.d - margin)
                return false;
        return true;
    };
    std::size_t kept = firstIndex;
    for (std::size_t k = firstIndex; k + 2 < triangleIndices.size(); k += 3) {
        bool hidden = false;
        for (const Body& body : bodies) {
            if (k >= body.first && k < body.last)
                continue;
            if (inside(body, at(k)) && inside(body, at(k + 1)) && inside(body, at(k + 2))) {
                hidden = true;
                break;
            }
        }
        if (hidden)
            continue;
        for (int c = 0; c < 3; ++c)
            triangleIndices[kept + c] = triangleIndices[k + c];
        kept += 3;
    }
    triangleIndices.resize(kept);
}

void MeshBatch::normal(float x, float y, float z) {
    currentNormal[0] = x;
    currentNormal[1] = y;
    currentNormal[2] = z;
}

void MeshBatch::colour(float r, float g, float b, float a) {
    currentColour[0] = r;
    currentColour[1] = g;
    currentColour[2] = b;
    currentColour[3] = a;
}

void MeshBatch::colourBytes(unsigned char r, unsigned char g, unsigned char b, unsigned char a) {
    colour(r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f);
}

MeshVertex MeshBatch::placed(float x, float y, float z) const {
    const float(&m)[3][4] = stack.back().m;
    const float* n = currentNormal;
    MeshVertex v{};
    for (int r = 0; r < 3; ++r) {
        v.position[r] = m[r][0] * x + m[r][1] * y + m[r][2] * z + m[r][3];
        // A rigid placement turns normals by its rotation alone.
        v.normal[r] = m[r][0] * n[0] + m[r][1] * n[1] + m[r][2] * n[2];
    }
    for (int c = 0; c < 4; ++c)
        v.colour[c] = currentColour[c];
    return v;
}

void MeshBatch::vertex(float x, float y, float z) {
    pending.push_back(static_cast<unsigned int>(vertexList.size()));
    vertexList.push_back(placed(x, y, z));
}

void MeshBatch::pushMatrix() {
    stack.push_back(stack.back());
}

void MeshBatch::popMatrix() {
    if (stack.size() > 1)
        stack.pop_back();
}

void MeshBatch::translate(float x, float y, float z) {
    float(&m)[3][4] = stack.back().m;
    for (int r = 0; r < 3; ++r)
        m[r][3] += m[r][0] * x + m[r][1] * y + m[r][2] * z;
}

void MeshBatch::rotate(float degrees, float x, float y, float z) {
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0)
        return;
    x /= length;
    y /= length;
    z /= length;
    const float a = degrees * static_cast<float>(pi) / 180.0f;
    const float c = std::cos(a), s = std::sin(a), t = 1 - c;
    const float r[3][3] = {{x * x * t + c, x * y * t - z * s, x * z * t + y * s},
                           {y * x * t + z * s, y * y * t + c, y * z * t - x * s},
                           {z * x * t - y * s, z * y * t + x * s, z * z * t + c}};
    float(&m)[3][4] = stack.back().m;
    for (int row = 0; row < 3; ++row) {
        const float m0 = m[row][0], m1 = m[row][1], m2 = m[row][2];
        for (int col = 0; col < 3; ++col)
            m[row][col] = m0 * r[0][col] + m1 * r[1][col] + m2 * r[2][col];
    }
}

void MeshBatch::sphere(double radius, int slices, int stacks) {
    if (slices < 2 || stacks < 1 || radius < 0)
        return;
    if (slices > maxSlices)
        slices = maxSlices;
    if (stacks > maxSlices)
        stacks = maxSlices;
    // Around: sine and cosine of each slice; down: ring radius and height of each stack, and
    // the unit sine and cosine for the normals.
    std::vector<float> sinA(slices + 1), cosA(slices + 1);
    std::vector<float> ringR(stacks + 1), ringZ(stacks + 1), sinB(stacks + 1), cosB(stacks + 1);
    for (int i = 0; i < slices; ++i) {
        const float angle = static_cast<float>(2 * pi * i / slices);
        sinA[i] = static_cast<float>(std::sin(angle));
        cosA[i] = static_cast<float>(std::cos(angle));
    }
    sinA[slices] = sinA[0];
    cosA[slices] = cosA[0];
    for (int j = 0; j <= stacks; ++j) {
        const float angle = static_cast<float>(pi * j / stacks);
        sinB[j] = static_cast<float>(std::sin(angle));
        cosB[j] = static_cast<float>(std::cos(angle));
        ringR[j] = static_cast<float>(radius * std::sin(angle));
        ringZ[j] = static_cast<float>(radius * std::cos(angle));
    }
    // The poles close to a point.
    ringR[0] = 0;
    ringR[stacks] = 0;
    const float r = static_cast<float>(radius);

    // The two caps are fans about the poles; the top one runs against the slice order.
    normal(sinA[0] * sinB[0], cosA[0] * sinB[0], cosB[0]);
    begin(MeshMode::triangleFan);
    vertex(0, 0, r);
    for (int i = slices; i >= 0; --i) {
        normal(sinA[i] * sinB[1], cosA[i] * sinB[1], cosB[1]);
        vertex(ringR[1] * sinA[i], ringR[1] * cosA[i], ringZ[1]);
    }
    end();
    // The bottom pole's normal takes the slice table at the stack count, as the library does;
    // it points straight down all the same, its sine factor being zero.
    const int k = stacks <= slices ? stacks : slices;
    normal(sinA[k] * sinB[stacks], cosA[k] * sinB[stacks], cosB[stacks]);
    begin(MeshMode::triangleFan);
    vertex(0, 0, -r);
    const int last = stacks - 1;
    for (int i = 0; i <= slices; ++i) {
        normal(sinA[i] * sinB[last], cosA[i] * sinB[last], cosB[last]);
        vertex(ringR[last] * sinA[i], ringR[last] * cosA[i], ringZ[last]);
    }
    end();

    for (int j = 1; j < stacks - 1; ++j) {
        begin(MeshMode::quadStrip);
        for (int i = 0; i <= slices; ++i) {
            normal(sinA[i] * sinB[j + 1], cosA[i] * sinB[j + 1], cosB[j + 1]);
            vertex(ringR[j + 1] * sinA[i], ringR[j + 1] * cosA[i], ringZ[j + 1]);
            normal(sinA[i] * sinB[j], cosA[i] * sinB[j], cosB[j]);
            vertex(ringR[j] * sinA[i], ringR[j] * cosA[i], ringZ[j]);
        }
        end();
    }
}

void MeshBatch::cylinder(double base, double top, double height, int slices, int stacks) {
    if (slices < 2 || stacks < 1 || base < 0 || top < 0 || height < 0)
        return;
    if (slices > maxSlices)
        slices = maxSlices;
    const float deltaRadius = static_cast<float>(base - top);
    const float length = static_cast<float>(std::sqrt(deltaRadius * deltaRadius + height * height));
    if (length == 0)
        return;
    // The side's normals lean toward +z as much as the side leans in.
    const float zNormal = deltaRadius / length;
    const float xyRatio = static_cast<float>(height / length);
    std::vector<float> sinA(slices + 1), cosA(slices + 1);
    for (int i = 0; i < slices; ++i) {
        const float angle = static_cast<float>(2 * pi * i / slices);
        sinA[i] = static_cast<float>(std::sin(angle));
        cosA[i] = static_cast<float>(std::cos(angle));
    }
    sinA[slices] = sinA[0];
    cosA[slices] = cosA[0];
    const float b = static_cast<float>(base);
    for (int j = 0; j < stacks; ++j) {
        const float zLow = static_cast<float>(j * height / stacks);
        const float zHigh = static_cast<float>((j + 1) * height / stacks);
        const float rLow = b - deltaRadius * (static_cast<float>(j) / static_cast<float>(stacks));
        const float rHigh =
            b - deltaRadius * (static_cast<float>(j + 1) / static_cast<float>(stacks));
        begin(MeshMode::quadStrip);
        for (int i = 0; i <= slices; ++i) {
            normal(xyRatio * sinA[i], xyRatio * cosA[i], zNormal);
            vertex(rLow * sinA[i], rLow * cosA[i], zLow);
            vertex(rHigh * sinA[i], rHigh * cosA[i], zHigh);
        }
        end();
    }
}

void MeshBatch::disk(double inner, double outer, int slices, int loops, bool inside) {
    if (slices < 2 || loops < 1 || inner < 0 || outer < inner)
        return;
    if (slices > maxSlices)
        slices = maxSlices;
    std::vector<float> sinA(slices + 1), cosA(slices + 1);
    for (int i = 0; i < slices; ++i) {
        const float angle = static_cast<float>(2 * pi * i / slices);
        sinA[i] = static_cast<float>(std::sin(angle));
        cosA[i] = static_cast<float>(std::cos(angle));
    }
    sinA[slices] = sinA[0];
    cosA[slices] = cosA[0];
    normal(0, 0, inside ? -1.0f : 1.0f);
    const float o = static_cast<float>(outer);
    const float delta = static_cast<float>(outer - inner);
    const auto ringRadius = [o, delta, loops](int j) {
        return o - delta * (static_cast<float>(j) / static_cast<float>(loops));
    };
    int rings = loops;
    if (inner == 0) {
        // The innermost ring is a fan about the centre.
        rings = loops - 1;
        const float r = ringRadius(loops - 1);
        begin(MeshMode::triangleFan);
        vertex(0, 0, 0);
        for (int n = 0; n <= slices; ++n) {
            const int i = inside ? n : slices - n;
            vertex(r * sinA[i], r * cosA[i], 0);
        }
        end();
    }
    for (int j = 0; j < rings; ++j) {
        const float rLow = ringRadius(j), rHigh = ringRadius(j + 1);
        begin(MeshMode::quadStrip);
        for (int i = 0; i <= slices; ++i) {
            const float first = inside ? rHigh : rLow, second = inside ? rLow : rHigh;
            vertex(first * sinA[i], first * cosA[i], 0);
            vertex(second * sinA[i], second * cosA[i], 0);
        }
        end();
    }
}
