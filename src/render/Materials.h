#pragma once

// A fixed-function front material: four RGBA colours and a shininess.
struct Material {
    float ambient[4];
    float diffuse[4];
    float specular[4];
    float emission[4];
    float shininess;
};

// The scene's default, restored after every object drawn with a special material.
extern const Material defaultMaterial;
// Polished grey metal: obstacles, hut discs and cones, cottage roofs.
extern const Material metalMaterial;
// The dark, shiny bomb.
extern const Material bombMaterial;

// face: GL_FRONT or GL_FRONT_AND_BACK.
void applyMaterial(unsigned int face, const Material& material);

// One quadric with smooth normals, shared by everything that draws spheres, cylinders and disks.
struct GLUquadric;
GLUquadric* sharedQuadric();
