#pragma once

// The fixed pipeline state every frame relies on, set once the context is current, in order:
// black clear colour; depth test, colour material, normalised normals and lighting; smooth
// shading; nicest perspective and point hints; then the projection for the window size.
void setInitialGlState(int width, int height);
// Viewport and a 45-degree perspective (near 0.5, far 150) for a window size; height 0 counts
// as 1.
void setProjection(int width, int height);
// Waits until the renderer has drawn everything handed to it so far.
void waitForDrawing();
