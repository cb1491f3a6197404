#define GL_GLEXT_PROTOTYPES
#include "render/OverviewStillLayer.h"
#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>

OverviewStillLayer::~OverviewStillLayer() {
    // The GL may be gone by now (the program's end); its objects go with it.
}

bool OverviewStillLayer::prepare(int w, int h) {
    if (framebuffer != 0 && w == width && h == height)
        return true;
    if (framebuffer == 0) {
        glGenFramebuffers(1, &framebuffer);
        glGenTextures(1, &colour);
        glGenRenderbuffers(1, &depthStencil);
    }
    // The colour in the window's own layout (blue, green, red, alpha: what an unsized format
    // given such pixels takes), so that a renderer without a graphics card copies it into the
    // window as memory instead of drawing it there texel by texel.
    GLint previousTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previousTexture));
    GLint previousRenderbuffer = 0;
    glGetIntegerv(GL_RENDERBUFFER_BINDING, &previousRenderbuffer);
    // The window's depth and stencil are 24 and 8 bits; a copy needs the very same format.
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, w, h);
    glBindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(previousRenderbuffer));

    GLint previous = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              depthStencil);
    const bool complete = glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previous));
    width = w;
    height = h;
    drawn = false;
    return complete;
}

void OverviewStillLayer::redraw(const Key& key, const Part* parts, int partCount) {
    GLint previous = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previous);
    glPushAttrib(GL_VIEWPORT_BIT | GL_STENCIL_BUFFER_BIT | GL_COLOR_BUFFER_BIT |
                 GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT | GL_SCISSOR_BIT | GL_POLYGON_BIT |
                 GL_TRANSFORM_BIT);
    // Drawn upside down: the window keeps its rows from the top, an off-screen picture from the
    // bottom, and a copy between the two is plain memory only when one of them is turned. The
    // turn mirrors every triangle's winding, so the front faces wind the other way.
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glScalef(1, -1, 1);
    glMultMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    glFrontFace(GL_CW);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFFFFFFFFu);
    glClearStencil(0);
    // The window's own clear colour stays: what no part covers looks as it would there.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glEnable(GL_STENCIL_TEST);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    for (int k = 0; k < partCount; ++k) {
        glStencilFunc(GL_ALWAYS, parts[k].stencil, 0xFFFFFFFFu);
        parts[k].draw();
    }
    glGetFloatv(GL_CURRENT_COLOR, partsColour);
    glGetFloatv(GL_CURRENT_NORMAL, partsNormal);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, partsTexCoord);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previous));
    drawn = true;
    drawnKey = key;
}

bool OverviewStillLayer::show(Key key, const Part* parts, int partCount,
                              const std::vector<Box>* depthBoxes) {
    if (failed)
        return false;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    key.width = viewport[2];
    key.height = viewport[3];
    if (key.width <= 0 || key.height <= 0)
        return false;
    // The copy needs the window's depth and stencil in the picture's very format.
    GLint depthBits = 0, stencilBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
    if (depthBits != 24 || stencilBits != 8)
        return false;
    if (!prepare(key.width, key.height)) {
        failed = true;
        return false;
    }
    if (!drawn || !(key == drawnKey))
        redraw(key, parts, partCount);

    GLint previousRead = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousRead);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    if (!copyChecked)
        while (glGetError() != GL_NO_ERROR) {
        }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    // The picture's rows upside down (see redraw), turned back by the copy. Depth and stencil go
    // together: the window holds them in one buffer, which only both at once copy as memory.
    auto copy = [&](int x0, int y0, int x1, int y1, GLbitfield what) {
        glBlitFramebuffer(x0, height - y0, x1, height - y1, viewport[0] + x0, viewport[1] + y0,
                          viewport[0] + x1, viewport[1] + y1, what, GL_NEAREST);
    };
    constexpr GLbitfield depth = GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;
    if (depthBoxes == nullptr) {
        copy(0, 0, width, height, GL_COLOR_BUFFER_BIT | depth);
    } else {
        copy(0, 0, width, height, GL_COLOR_BUFFER_BIT);
        for (const Box& b : *depthBoxes) {
            const int x0 = std::clamp(b.x0, 0, width), x1 = std::clamp(b.x1, 0, width);
            const int y0 = std::clamp(b.y0, 0, height), y1 = std::clamp(b.y1, 0, height);
            if (x0 < x1 && y0 < y1)
                copy(x0, y0, x1, y1, depth);
        }
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead));
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
    if (!copyChecked) {
        // A window without a matching depth buffer refuses the copy: draw the parts instead.
        copyChecked = true;
        if (glGetError() != GL_NO_ERROR) {
            failed = true;
            return false;
        }
    }
    return true;
}

void OverviewStillLayer::leaveCurrentAsParts() const {
    glColor4fv(partsColour);
    glNormal3fv(partsNormal);
    glTexCoord4fv(partsTexCoord);
}
