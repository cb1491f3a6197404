#pragma once

// A frame goes to the renderer in parts, each handed on as soon as it is set up. A software
// renderer (Mesa's llvmpipe and its kin) keeps every triangle handed to it until its threads
// have filled it, so there the part before is waited for once a part is handed on: its threads
// fill one part while the game sets up the next, and the renderer holds two parts' triangles at
// a time instead of the whole frame's. (Without the markers this needs, each part is waited for
// itself.) A graphics card's driver is only told to begin.
class PartHandOver {
  public:
    PartHandOver() = default;
    ~PartHandOver();
    PartHandOver(const PartHandOver&) = delete;
    PartHandOver& operator=(const PartHandOver&) = delete;

    // Hands on what is drawn so far (needs GL).
    void handOn();

  private:
    bool known = false;
    bool software = false;
    bool markers = false;
    // The marker after the part handed on last, still to be waited for (a GLsync).
    void* previous = nullptr;
};

// Whether a GL renderer's name is that of a software renderer.
bool isSoftwareRenderer(const char* rendererName);
