#include "actors/Player.h"
#include "render/Hud.h"
#include "render/Presentation.h"
#include "render/RoundView.h"
#include "render/ViewLayout.h"
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>
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
    drawOutlined(x, y, text, scale >= 1.15 ? GLUT_BITMAP_9_BY_15 : GLUT_BITMAP_8_BY_13,
                 rimFirst);
}

void drawBigText(float x, float y, const std::string& text, bool rimFirst) {
    drawOutlined(x, y, text, GLUT_BITMAP_9_BY_15, rimFirst);
}
} // namespace

void drawHud(const RoundView& game) {
    RoundClock clock = roundClock(game.gameTime);
    if (game.roundOver)
        clock = {0, 0};
    const double scale = game.look.frame.scale();

    // What is written where, in the order it is written.
    struct Line {
        float x, y;
        std::string text;
        bool big;
    };
    std::vector<Line> lines;
    auto text = [&](float x, float y, const std::string& t) { lines.push_back({x, y, t, false}); };
    auto bigText = [&](float x, float y, const std::string& t) { lines.push_back({x, y, t, true}); };
    text(470, 30, clockText(clock.minutes, clock.seconds));
    if (game.roundOver) {
        bigText(440, 250, resultText(game.player(1).points, game.player(2).points));
        text(432, 272, "SPACE: PLAY AGAIN");
    } else if (game.banner)
        bigText(512 - 4.5f * static_cast<float>(std::strlen(game.banner)), 250, game.banner);
    else if (game.paused)
        bigText(476, 250, "PAUSED");
    // In a frame drawn smaller than 1024 by 735 the letters keep their pixels: the lines move
    // apart and the right column in from the edge so that they still fit.
    const float spread = scale < 1 ? static_cast<float>(1 / scale) : 1.0f;
    for (int n = 1; n <= 2; ++n) {
        const float x = n == 1 ? 30.0f : windowWidth - 94.0f * spread;
        for (int line = 0; line < hudLineCount; ++line)
            text(x, 30.0f + 15.0f * spread * line, hudLine(game.player(n), line));
        if (const char* computer = game.computer[n - 1])
            text(n == 1 ? x : x - 40 * spread, 30.0f + 15.0f * spread * hudLineCount, computer);
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
            if (l.big)
                drawBigText(l.x, l.y, l.text, rimFirst);
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
        texts += std::to_string(l.x) + " " + std::to_string(l.y) + (l.big ? " big " : " ") +
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
    // Centred under the buttons, in the large letters: over the picture the rim goes first and
    // the black letters on top of it.
    const float x = 512 - 4.5f * static_cast<float>(text.size()), y = 596;
    static const float rim[8][2] = {{-1, 0},  {1, 0}, {0, -1}, {0, 1},
                                    {-1, -1}, {1, 1}, {-1, 1}, {1, -1}};
    glColor3f(1, 1, 1);
    for (const auto& o : rim)
        writeAt(x + o[0], y + o[1], text, GLUT_BITMAP_9_BY_15);
    glColor3f(0, 0, 0);
    writeAt(x, y, text, GLUT_BITMAP_9_BY_15);
    glPopMatrix();
    endText();
    glEnable(GL_DEPTH_TEST);
    if (lit)
        glEnable(GL_LIGHTING);
}
