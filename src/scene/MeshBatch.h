#pragma once
#include <cstddef>
#include <vector>

// One corner of a batched triangle: position, normal and RGBA colour, already placed.
struct MeshVertex {
    float position[3];
    float normal[3];
    float colour[4];
};

// How the vertices between begin() and end() join, as in immediate-mode drawing.
enum class MeshMode { triangles, quads, quadStrip, triangleFan };

// Many small pieces gathered into one triangle list so that a whole model reaches the GL in one
// draw. It is fed like immediate mode (begin, normal, colour, vertex, end) under its own stack of
// rigid placements (translate, rotate), and it builds spheres, cones and disks with the slice and
// stack layout, normals and winding of the GLU quadrics (smooth normals, no texture
// coordinates), so a batch draws the same triangles as the pieces drawn one by one.
class MeshBatch {
  public:
    MeshBatch();

    void begin(MeshMode mode);
    void end();
    void normal(float x, float y, float z);
    void colour(float r, float g, float b, float a = 1);
    void colourBytes(unsigned char r, unsigned char g, unsigned char b, unsigned char a = 255);
    void vertex(float x, float y, float z);

    void pushMatrix();
    void popMatrix();
    void translate(float x, float y, float z);
    // Degrees about the axis (x, y, z), which need not be of unit length.
    void rotate(float degrees, float x, float y, float z);

    // gluSphere: centred at the origin, stacks from +z down to -z.
    void sphere(double radius, int slices, int stacks);
    // gluCylinder: from `base` at z = 0 to `top` at z = height, facing outward.
    void cylinder(double base, double top, double height, int slices, int stacks);
    // gluDisk in the z = 0 plane; `inside` turns it to face -z (GLU_INSIDE).
    void disk(double inner, double outer, int slices, int loops, bool inside = false);

    // A closed convex piece (a sphere, a box) lies between these two calls: what lies wholly
    // inside it is never seen from outside it, whatever the view.
    void beginSolid();
    void endSolid();
    // Drops the triangles given since `firstIndex` (a count of indices(), as it stood before
    // them) whose three corners all lie strictly inside a solid piece of that span other than
    // their own, and forgets those pieces. A solid is convex, so such a triangle lies wholly
    // inside it and every pixel of it is covered by the solid's own near side, from any eye
    // outside the solid that the near plane does not cut it for.
    void dropHidden(std::size_t firstIndex);

    // Every vertex given, once, in order; the triangles index them three at a time, so the GL
    // lights a vertex shared by neighbouring triangles once, as it does for a strip.
    const std::vector<MeshVertex>& points() const { return vertexList; }
    const std::vector<unsigned int>& indices() const { return triangleIndices; }
    bool empty() const { return triangleIndices.empty(); }
    void clear();
    // The normal and colour last given: what the GL holds after the pieces drawn one by one.
    const float* lastNormal() const { return currentNormal; }
    const float* lastColour() const { return currentColour; }

  private:
    // Rotation in the first three columns, translation in the last.
    struct Placement {
        float m[3][4];
    };
    MeshVertex placed(float x, float y, float z) const;
    void emitTriangle(unsigned int a, unsigned int b, unsigned int c);
    // The index span [first, last) of each solid piece given, in order.
    struct Solid {
        std::size_t first, last;
    };
    std::vector<Solid> solids;
    std::size_t solidStart = 0;

    std::vector<MeshVertex> vertexList;
    std::vector<unsigned int> triangleIndices;
    std::vector<Placement> stack;
    std::vector<unsigned int> pending;
    MeshMode mode = MeshMode::triangles;
    float currentNormal[3] = {0, 0, 1};
    float currentColour[4] = {1, 1, 1, 1};
};
