#include "actors/Player.h"
#include "render/Hud.h"
#include "render/TextFont.h"
#include <algorithm>
#include "render/HudLayout.h"
#include "render/Overlays.h"
#include "render/Presentation.h"
#include "render/RoundView.h"
#include "render/ViewLayout.h"
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <cstring>
#include <cstring>
#include <string>
#include <vector>

namespace {
// Design pixels over the current viewport, y down from its top.
void beginText(int height = windowHeight - splitHeight) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, windowWidth, 0, height);
    glScalef(1, -1, 1);
    glTranslatef(0, -height, 0);
    glMatrixMode(GL_MODELVIEW);
}

void endText() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void writeAt(float x, float y, const std::string& text, void* font) {
    glRasterPos2f(x, y);
    for (char c : text)
        glutBitmapCharacter(font, c);
}

// Black letters with a one-pixel white rim: readable on the summer sky and the winter snow alike.
// Lighting is off while the text is drawn, so the colour is exactly what is set. With
// `rimFirst` (for a picture without depth) the rim goes first and the letters over it, which
// leaves the same pixels.
void drawOutlined(float x, float y, const std::string& text, void* font, bool rimFirst) {
    static const float rim[8][2] = {{-1, 0},  {1, 0}, {0, -1}, {0, 1},
                                    {-1, -1}, {1, 1}, {-1, 1}, {1, -1}};
    auto letters = [&] {
        glColor3f(0, 0, 0);
        writeAt(x, y, text, font);
    };
    // Else the letters go first: at equal depth the rim then fails the depth test where they lie.
    if (!rimFirst)
        letters();
    glColor3f(1, 1, 1);
    for (const auto& o : rim)
        writeAt(x + o[0], y + o[1], text, font);
    if (rimFirst)
        letters();
}

// The letters keep their size in pixels while the frame scales: in a frame drawn larger than
// 1024 by 735 the larger font keeps the texts in proportion.
void drawText(float x, float y, const std::string& text, double scale, bool rimFirst) {
    drawOutlined(x, y, text, scale >= 1.15 ? GLUT_BITMAP_9_BY_15 : GLUT_BITMAP_8_BY_13, rimFirst);
}

// A column's header: bold letters of the larger font in the player's colour, rimmed in near
// black, which sets a light colour apart from the sky and a dark one from the grass.
void drawHeader(float x, float y, const std::string& text, double scale, bool rimFirst,
                const float* colour) {
    const float px = static_cast<float>(1 / scale);
    auto letters = [&] {
        glColor3fv(colour);
        writeAt(x, y, text, GLUT_BITMAP_9_BY_15);
        writeAt(x + px, y, text, GLUT_BITMAP_9_BY_15);
    };
    if (!rimFirst)
        letters();
    glColor3f(0.08f, 0.08f, 0.1f);
    for (float dx = -1; dx <= 2; ++dx)
        for (float dy = -1; dy <= 1; ++dy)
            if (dx < 0 || dx > 1 || dy != 0)
                writeAt(x + dx * px, y + dy * px, text, GLUT_BITMAP_9_BY_15);
    if (rimFirst)
        letters();
}
} // namespace

void drawHud(const RoundView& game) {
    RoundClock clock = roundClock(game.gameTime);
    if (game.roundOver)
        clock = {0, 0};
    const double scale = game.look.frame.scale();

    // What is written where, in the order it is written; a header in its player's colour.
    struct Line {
        float x, y;
        std::string text;
        const float* colour;
    };
    std::vector<Line> lines;
    auto text = [&](float x, float y, const std::string& t, const float* colour = nullptr) {
        lines.push_back({x, y, t, colour});
    };
    // The band over the overview (drawn after it) decides whether the columns give way.
    const HudLayout layout = hudLayout(scale, bandLinesOf(game), computerLines(game));
    text(layout.clockX, layout.clockY, clockText(clock.minutes, clock.seconds));
    float colours[2][3];
    for (int n = 1; n <= 2 && layout.columns; ++n) {
        const Player& p = game.player(n);
        const float x = layout.columnX[n - 1];
        colours[n - 1][0] = p.colourR / 255;
        colours[n - 1][1] = p.colourG / 255;
        colours[n - 1][2] = p.colourB / 255;
        if (layout.headers)
            text(x, layout.headerY, n == 1 ? "PLAYER 1" : "PLAYER 2", colours[n - 1]);
        for (int line = 0; line < layout.columnLines; ++line)
            text(x, layout.firstLineY + layout.lineStep * static_cast<float>(line),
                 hudLine(p, layout.firstColumnLine() + line));
        if (const char* computer = game.computer[n - 1])
            text(layout.lineX(n - 1, static_cast<int>(std::strlen(computer))), layout.computerY,
                 computer, colours[n - 1]);
    }

    auto write = [&](bool rimFirst) {
        glColor3f(0, 0, 0);
        GLboolean lit = glIsEnabled(GL_LIGHTING);
        // The depth test stays on: the letters' depth keeps the scene drawn after them from
        // covering them.
        glDisable(GL_LIGHTING);
        beginText();
        glPushMatrix();
        glLoadIdentity();
        for (const Line& l : lines) {
            if (l.colour)
                drawHeader(l.x, l.y, l.text, scale, rimFirst, l.colour);
            else
                drawText(l.x, l.y, l.text, scale, rimFirst);
        }
        glPopMatrix();
        endText();
        if (lit)
            glEnable(GL_LIGHTING);
    };
    if (game.look.fullDetail) {
        write(false);
        return;
    }
    // Each line's box in the view's pixels: from its start, a cell of the larger font per letter,
    // from below the letters' feet to above their tops, rim included, with room to spare.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double across = viewport[2] / static_cast<double>(windowWidth);
    const double down = viewport[3] / static_cast<double>(windowHeight - splitHeight);
    std::vector<HudPicture::Box> boxes;
    std::string texts = std::to_string(scale) + "\n";
    for (const Line& l : lines) {
        const int x = static_cast<int>(l.x * across);
        const int y = viewport[3] - static_cast<int>(l.y * down);
        boxes.push_back({x - 4, y - 6, x + 10 * static_cast<int>(l.text.size()) + 4, y + 19});
        texts += std::to_string(l.x) + " " + std::to_string(l.y) + (l.colour ? " header " : " ") +
                 l.text + "\n";
    }
    if (!game.look.hudPicture.show(texts, boxes, [&] { write(true); }))
        write(false);
}

void drawMenuLine(const std::string& text) {
    GLboolean lit = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    beginText(windowHeight);
    glPushMatrix();
    glLoadIdentity();
    // Centred under the buttons, in the large letters, white on a dimmed band as the round's
    // waiting lines are: readable over any part of the picture.
    const float size = 22;
    const float x = std::max(14.0f, 512 - textWidth(text, size) / 2), y = 690;
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, 0.62f);
    glRectf(x - 14, y - 20, windowWidth - x + 14, y + 10);
    glPopAttrib();
    const float white[3] = {1, 1, 1}, black[3] = {0, 0, 0};
    drawText(x, y, size, text, white, black);
    glPopMatrix();
    endText();
    glEnable(GL_DEPTH_TEST);
    if (lit)
        glEnable(GL_LIGHTING);
}
