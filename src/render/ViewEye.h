#pragma once

// Where the camera of the current modelview stands and where it looks: degrees counter-clockwise
// from +x it faces along the ground, and down from level (needs GL).
struct ViewEye {
    float x, y, z;
    float facing, pitch;
};
ViewEye currentViewEye();
