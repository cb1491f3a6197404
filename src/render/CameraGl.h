#pragma once

class Camera;

// Loads the camera's look-at transform onto the current matrix.
void applyCamera(const Camera& camera);
