#include "render/PartHandOver.h"
#include <GL/gl.h>
#include <cstring>
#include <initializer_list>

bool isSoftwareRenderer(const char* name) {
    if (name == nullptr)
        return false;
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (std::strstr(name, software) != nullptr)
            return true;
    return false;
}

void PartHandOver::handOn() {
    if (!known) {
        software = isSoftwareRenderer(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
        known = true;
    }
    if (software)
        glFinish();
    else
        glFlush();
}
