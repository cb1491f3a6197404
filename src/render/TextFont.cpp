#include "render/TextFont.h"
#include "scene/Bitmap.h"
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <vector>

namespace {
// The picture's layout: characters 32 to 127, 16 to a row of 64 by 80 pixel cells; a letter's
// origin 8 pixels in, its baseline 56 down, drawn at an em of 48 pixels.
constexpr int columns = 16, cellW = 64, cellH = 80, originX = 8, baseline = 56;
constexpr float em = 48;
constexpr int first = 32, count = 96;

struct Font {
    GLuint fill = 0, rim = 0;
    int width = 0, height = 0;
    float advance[count] = {};
};
Font font;

GLuint alphaTexture(const Bitmap& image, int channel) {
    std::vector<uint8_t> alpha(static_cast<size_t>(image.width) * image.height);
    for (size_t i = 0; i < alpha.size(); ++i)
        alpha[i] = image.pixels[i * 3 + static_cast<size_t>(channel)];
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_ALPHA, image.width, image.height, GL_ALPHA,
                      GL_UNSIGNED_BYTE, alpha.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return name;
}

int glyphOf(char c) {
    const int k = static_cast<unsigned char>(c) - first;
    return k >= 0 && k < count ? k : '?' - first;
}

void quads(GLuint texture, float x, float y, float size, const std::string& text,
           const float* colour) {
    const float scale = size / em;
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor3fv(colour);
    glBegin(GL_QUADS);
    for (char c : text) {
        const int k = glyphOf(c);
        const int px = (k % columns) * cellW, py = (k / columns) * cellH;
        const float s0 = static_cast<float>(px) / static_cast<float>(font.width);
        const float s1 = static_cast<float>(px + cellW) / static_cast<float>(font.width);
        // The picture's rows run bottom first: its top is t = 1.
        const float t0 = 1 - static_cast<float>(py) / static_cast<float>(font.height);
        const float t1 = 1 - static_cast<float>(py + cellH) / static_cast<float>(font.height);
        const float left = x - originX * scale, top = y - baseline * scale;
        const float right = left + cellW * scale, bottom = top + cellH * scale;
        glTexCoord2f(s0, t0);
        glVertex2f(left, top);
        glTexCoord2f(s1, t0);
        glVertex2f(right, top);
        glTexCoord2f(s1, t1);
        glVertex2f(right, bottom);
        glTexCoord2f(s0, t1);
        glVertex2f(left, bottom);
        x += font.advance[k] * scale;
    }
    glEnd();
}
} // namespace

bool loadTextFont(const char* path) {
    Bitmap image;
    std::string error;
    if (!loadBitmap(path, image, error) || image.width != columns * cellW ||
        image.height < (count / columns) * cellH)
        return false;
    font.width = image.width;
    font.height = image.height;
    for (int k = 0; k < count; ++k) {
        const int x = (k % columns) * cellW, rowFromTop = (k / columns) * cellH;
        const size_t at =
            (static_cast<size_t>(image.height - 1 - rowFromTop) * image.width + x) * 3;
        font.advance[k] = image.pixels[at + 2];
    }
    font.fill = alphaTexture(image, 0);
    font.rim = alphaTexture(image, 1);
    return true;
}

bool textFontLoaded() {
    return font.fill != 0;
}

float textWidth(const std::string& text, float size) {
    if (!textFontLoaded())
        return 9.0f * static_cast<float>(text.size());
    float width = 0;
    for (char c : text)
        width += font.advance[glyphOf(c)];
    return width * size / em;
}

void drawText(float x, float y, float size, const std::string& text, const float* fill,
              const float* rim) {
    if (!textFontLoaded()) {
        glColor3fv(fill);
        glRasterPos2f(x, y);
        for (char c : text)
            glutBitmapCharacter(GLUT_BITMAP_9_BY_15, c);
        return;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (rim)
        quads(font.rim, x, y, size, text, rim);
    quads(font.fill, x, y, size, text, fill);
    glPopAttrib();
}
