#pragma once

// A frame goes to the renderer in parts, each handed on as soon as it is set up. A software
// renderer (Mesa's llvmpipe and its kin) keeps every triangle handed to it until its threads
// have filled it, so there each part is also waited for: the renderer then holds one part's
// triangles at a time instead of the whole frame's, and its threads have both cores of a small
// machine while the game waits. A graphics card's driver is only told to begin.
class PartHandOver {
  public:
    // Hands on what is drawn so far (needs GL).
    void handOn();

  private:
    bool known = false;
    bool software = false;
};

// Whether a GL renderer's name is that of a software renderer.
bool isSoftwareRenderer(const char* rendererName);
