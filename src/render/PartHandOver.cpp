#define GL_GLEXT_PROTOTYPES
#include "render/PartHandOver.h"
#include <GL/gl.h>
#include <GL/glext.h>
#include <cstring>
#include <initializer_list>

namespace {
// Long enough for any part; should the renderer never answer, the frame goes on.
constexpr GLuint64 longestWaitNs = 1000000000ull;
} // namespace

bool isSoftwareRenderer(const char* name) {
    if (name == nullptr)
        return false;
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (std::strstr(name, software) != nullptr)
            return true;
    return false;
}

PartHandOver::~PartHandOver() {
    // The GL may be gone by now (the program's end); the marker goes with it.
}

void PartHandOver::handOn() {
    if (!known) {
        software = isSoftwareRenderer(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
        // Markers in the renderer's work came with version 3.2; an older context (the query
        // itself is newer than it: it answers 0 there) waits for each part.
        GLint major = 0, minor = 0;
        glGetIntegerv(GL_MAJOR_VERSION, &major);
        glGetIntegerv(GL_MINOR_VERSION, &minor);
        while (glGetError() != GL_NO_ERROR) {
        }
        markers = major > 3 || (major == 3 && minor >= 2);
        known = true;
    }
    if (!software) {
        glFlush();
        return;
    }
    if (!markers) {
        glFinish();
        return;
    }
    GLsync handed = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    glFlush();
    if (previous != nullptr) {
        glClientWaitSync(static_cast<GLsync>(previous), 0, longestWaitNs);
        glDeleteSync(static_cast<GLsync>(previous));
    }
    previous = handed;
}
