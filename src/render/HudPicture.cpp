#define GL_GLEXT_PROTOTYPES
#include "render/HudPicture.h"
#include "render/PictureTexture.h"
#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>

namespace {
// Makes (or remakes at a new size) the picture's texture, attached to `framebuffer`.
bool makeStorage(unsigned int framebuffer, unsigned int picture, int w, int h) {
    GLint previous = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previous);
    shapePictureTexture(picture, w, h, GL_NEAREST);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, picture, 0);
    const bool complete = glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previous));
    return complete;
}
} // namespace

bool HudPicture::show(const std::string& texts, const std::vector<Box>& boxes,
                      const std::function<void()>& write) {
    if (failed)
        return false;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int w = viewport[2], h = viewport[3];
    if (w <= 0 || h <= 0)
        return true;
    // The picture holds only the rectangle round the boxes: the letters take a strip of the
    // view, and a picture of the whole view would cost its memory for nothing.
    int left = w, bottom = h, right = 0, top = 0;
    for (const Box& b : boxes) {
        left = std::min(left, std::clamp(b.x0, 0, w));
        right = std::max(right, std::clamp(b.x1, 0, w));
        bottom = std::min(bottom, std::clamp(b.y0, 0, h));
        top = std::max(top, std::clamp(b.y1, 0, h));
    }
    if (left >= right || bottom >= top)
        return true;
    if (framebuffer == 0 || w != viewWidth || h != viewHeight || left != area.x0 ||
        bottom != area.y0 || right != area.x1 || top != area.y1) {
        if (framebuffer == 0) {
            glGenFramebuffers(1, &framebuffer);
            glGenTextures(1, &picture);
        }
        failed = !makeStorage(framebuffer, picture, right - left, top - bottom);
        viewWidth = w;
        viewHeight = h;
        area = {left, bottom, right, top};
        written = false;
        if (failed)
            return false;
    }
    const int pw = right - left, ph = top - bottom;

    if (!written || texts != shownTexts) {
        GLint previous = 0;
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previous);
        glPushAttrib(GL_VIEWPORT_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT |
                     GL_SCISSOR_BIT | GL_STENCIL_BUFFER_BIT);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
        // The view's pixels where they were, moved by the rectangle's corner.
        glViewport(-left, -bottom, w, h);
        glDisable(GL_SCISSOR_TEST);
        glDisable(GL_STENCIL_TEST);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        write();
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previous));
        glPopAttrib();
        shownTexts = texts;
        written = true;
        ++writeCount;
    }

    // The boxes of the picture, texel for pixel, at the depth the letters were written at (the
    // middle of the depth range); the empty texels are left out.
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT |
                 GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, picture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, 0, h, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_QUADS);
    for (const Box& b : boxes) {
        const int x0 = std::clamp(b.x0, 0, w), x1 = std::clamp(b.x1, 0, w);
        const int y0 = std::clamp(b.y0, 0, h), y1 = std::clamp(b.y1, 0, h);
        if (x0 >= x1 || y0 >= y1)
            continue;
        const float s0 = static_cast<float>(x0 - left) / static_cast<float>(pw);
        const float s1 = static_cast<float>(x1 - left) / static_cast<float>(pw);
        const float t0 = static_cast<float>(y0 - bottom) / static_cast<float>(ph);
        const float t1 = static_cast<float>(y1 - bottom) / static_cast<float>(ph);
        glTexCoord2f(s0, t0);
        glVertex3f(static_cast<float>(x0), static_cast<float>(y0), 0);
        glTexCoord2f(s1, t0);
        glVertex3f(static_cast<float>(x1), static_cast<float>(y0), 0);
        glTexCoord2f(s1, t1);
        glVertex3f(static_cast<float>(x1), static_cast<float>(y1), 0);
        glTexCoord2f(s0, t1);
        glVertex3f(static_cast<float>(x0), static_cast<float>(y1), 0);
    }
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    return true;
}
