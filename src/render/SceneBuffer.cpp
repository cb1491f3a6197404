#define GL_GLEXT_PROTOTYPES
#include "render/SceneBuffer.h"
#include <GL/gl.h>
#include <GL/glext.h>

SceneBuffer::~SceneBuffer() {
    // The GL may be gone by now (the program's end); its objects go with it.
}

bool SceneBuffer::begin(int w, int h) {
    if (failed || w <= 0 || h <= 0)
        return false;
    GLint drawing = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawing);
    // A smaller scale draws into the lower left of the picture it has: stepping between scales
    // never makes it anew, and the memory of one picture never lies beside another's.
    if (framebuffer == 0 || w > pictureWidth || h > pictureHeight) {
        if (framebuffer == 0) {
            glGenFramebuffers(1, &framebuffer);
            glGenTextures(1, &colour);
            glGenRenderbuffers(1, &depthStencil);
        }
        // The colour in the window's own layout (blue, green, red, alpha), as the overview's
        // unchanging picture keeps it: copied in here, that picture stays a plain copy of memory.
        GLint texture = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        glBindTexture(GL_TEXTURE_2D, colour);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
        // Depth and stencil as the window has them: the shadows need the stencil, and the
        // overview's unchanging picture copies both in together.
        GLint renderbuffer = 0;
        glGetIntegerv(GL_RENDERBUFFER_BINDING, &renderbuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, depthStencil);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, w, h);
        glBindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(renderbuffer));
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
        glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                  depthStencil);
        const bool complete =
            glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawing));
        pictureWidth = w;
        pictureHeight = h;
        if (!complete) {
            release();
            failed = true;
            return false;
        }
    }
    previous = drawing;
    GLint reading = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &reading);
    previousRead = reading;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    return true;
}

void SceneBuffer::end() {
    // Both, whatever the views did: pictures made while drawing them put back the binding for
    // reading too, and a screenshot read afterwards has to come from the window.
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previous));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead));
}

void SceneBuffer::stretch(const FrameRect::Pixels& from, const FrameRect::Pixels& to) const {
    if (colour == 0 || from.width <= 0 || from.height <= 0 || to.width <= 0 || to.height <= 0)
        return;
    // The outermost pixels sample the outermost texels' middles: a filtered texel beyond the
    // rectangle (the next view's) would make a seam.
    const float w = static_cast<float>(pictureWidth), h = static_cast<float>(pictureHeight);
    const float s0 = (static_cast<float>(from.x) + 0.5f) / w;
    const float s1 = (static_cast<float>(from.x + from.width) - 0.5f) / w;
    const float t0 = (static_cast<float>(from.y) + 0.5f) / h;
    const float t1 = (static_cast<float>(from.y + from.height) - 0.5f) / h;
    GLint texture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_VIEWPORT_BIT | GL_CURRENT_BIT |
                 GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_POLYGON_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glDisable(GL_SCISSOR_TEST);
    glDepthMask(GL_FALSE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glViewport(to.x, to.y, to.width, to.height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(s0, t0);
    glVertex2f(-1, -1);
    glTexCoord2f(s1, t0);
    glVertex2f(1, -1);
    glTexCoord2f(s0, t1);
    glVertex2f(-1, 1);
    glTexCoord2f(s1, t1);
    glVertex2f(1, 1);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
}

void SceneBuffer::release() {
    if (framebuffer == 0)
        return;
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &colour);
    glDeleteRenderbuffers(1, &depthStencil);
    framebuffer = colour = depthStencil = 0;
    pictureWidth = pictureHeight = 0;
}
