#pragma once

// The game frame's layout in pixels: it keeps these sizes after a resize.
constexpr int windowWidth = 1024;
constexpr int windowHeight = 735;
constexpr int splitHeight = 200; // the strip of player views at the bottom

// Planar shadow projection onto plane p along rays from the point light l, column-major.
void shadowMatrix(const float plane[4], const float light[4], float out[16]);
