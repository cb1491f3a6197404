#include "render/Overlays.h"
#include "actors/Player.h"
#include "render/LabyrinthMap.h"
#include "render/TextFont.h"
#include "render/Presentation.h"
#include "render/RoundFeedback.h"
#include "render/RoundView.h"
#include "render/ViewLayout.h"
#include "world/MazeWorld.h"
#include "world/RoundClock.h"
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr float overviewHeight = windowHeight - splitHeight;
constexpr float playerViewWidth = windowWidth / 2.0f;
// The house in the middle of the arena, over which a player in the labyrinth is marked.
constexpr float houseX = 7.5f, houseY = 9.5f;

// 2D drawing in frame pixels over the current viewport, y down; no lighting, depth or textures.
struct Flat {
    explicit Flat(float width, float height) {
        glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_LINE_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_CULL_FACE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluOrtho2D(0, width, height, 0);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
    }
    ~Flat() {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glPopAttrib();
    }
    Flat(const Flat&) = delete;
    Flat& operator=(const Flat&) = delete;
};

void rectangle(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

constexpr float black[3] = {0, 0, 0};
constexpr float white[3] = {1, 1, 1};
constexpr float nearBlack[3] = {0.08f, 0.08f, 0.1f};

// Letters in `colour` with a one-pixel rim, the rim first: black on white over the scene, light or
// coloured letters on a dark rim on the band. `bold` letters are written twice, a pixel apart.
void writeOutlined(float x, float y, const std::string& text, void* font, const float* colour,
                   const float* rimColour, bool bold = false) {
    // A raster position is placed in frame pixels, then moved by whole drawable pixels.
    auto at = [&](float dx, float dy) {
        glRasterPos2f(x, y);
        glBitmap(0, 0, 0, 0, dx, -dy, nullptr);
        for (char c : text)
            glutBitmapCharacter(font, c);
    };
    const float wide = bold ? 1 : 0;
    glColor3fv(rimColour);
    for (float dx = -1; dx <= 1 + wide; ++dx)
        for (float dy = -1; dy <= 1; ++dy)
            if (dy != 0 || dx < 0 || dx > wide)
                at(dx, dy);
    glColor3fv(colour);
    at(0, 0);
    if (bold)
        at(1, 0);
}

void playerColour(const Player& p, float* out) {
    out[0] = p.colourR / 255;
    out[1] = p.colourG / 255;
    out[2] = p.colourB / 255;
}

std::string numberIn(int value, int places) {
    char text[16];
    std::snprintf(text, sizeof text, "%*d", places, value);
    return text;
}
} // namespace

bool computerLines(const RoundView& v) {
    return v.computer[0] != nullptr || v.computer[1] != nullptr;
}

std::vector<BandLine> bandLinesOf(const RoundView& v) {
    std::vector<BandLine> lines;
    auto line = [&](const std::string& text, bool large) {
        BandLine b;
        b.text = text;
        b.large = large;
        lines.push_back(b);
    };
    if (v.roundOver) {
        const Player& p1 = v.player(1);
        const Player& p2 = v.player(2);
        line(resultText(p1.points, p2.points), true);
        auto numbers = [&](const char* label, int a, int b) {
            BandLine row;
            row.text = label;
            row.numbers = true;
            row.values[0] = a;
            row.values[1] = b;
            lines.push_back(row);
        };
        numbers("POINTS ", p1.points, p2.points);
        numbers("COINS  ", p1.tally.coins, p2.tally.coins);
        numbers("CHEESE ", p1.cheese, p2.cheese);
        numbers("CAUGHT ", p1.tally.caught, p2.tally.caught);
        numbers("HIT    ", p1.tally.hitByOwn + p1.tally.hitByOther,
                p2.tally.hitByOwn + p2.tally.hitByOther);
        line("SPACE: PLAY AGAIN", false);
    } else if (v.banner) {
        line(v.banner, true);
    } else if (v.paused && !v.pauseMenuShown) {
        line("PAUSED", true);
    }
    return lines;
}

namespace {
// Where the rows of numbers stand: every label ends before the first number column, whatever
// the letters' widths, and both columns hold three digits with a space before them; all of it
// narrowed together where it would pass the band's right side.
struct NumberColumns {
    float size = 0;
    float firstEnd = 0, columnWidth = 0; // from the row's start
};

NumberColumns numberColumns(const HudLayout& layout, const std::vector<BandLine>& lines, float x,
                            float rightSide) {
    NumberColumns c;
    c.size = (layout.ascent + layout.descent) * 1.05f;
    float labels = 0;
    for (const BandLine& b : lines)
        if (b.numbers)
            labels = std::max(
                labels, textWidth(b.text.substr(0, b.text.find_last_not_of(' ') + 1), c.size));
    const float digit = textWidth("0", c.size);
    c.columnWidth = std::max(layout.letterWidth * 5, 4 * digit);
    c.firstEnd = std::max(layout.letterWidth * 7 + c.columnWidth, labels + digit + c.columnWidth);
    const float wide = c.firstEnd + c.columnWidth;
    if (x + wide > rightSide && rightSide > x) {
        const float narrower = (rightSide - x) / wide;
        c.size *= narrower;
        c.firstEnd *= narrower;
        c.columnWidth *= narrower;
    }
    return c;
}

// The band's lines in the game's scalable letters, on the boxes and baselines the layout gives
// the bitmap letters: each line as high as its bitmap line, narrowed where it would pass the
// band's sides; numbers right-aligned in their columns.
void drawBandLetters(const HudLayout& layout, const std::vector<BandLine>& lines,
                     const float (*colours)[3]) {
    const float rim[3] = {0.05f, 0.04f, 0.08f};
    const float pad = 6;
    const float room = layout.bandBox.x1 - layout.bandBox.x0 - 2 * pad;
    const float middle = (layout.bandBox.x0 + layout.bandBox.x1) / 2;
    for (size_t i = 0; i < lines.size(); ++i) {
        const BandLine& b = lines[i];
        const float y = layout.bandY[i];
        const float lineHeight =
            b.large ? layout.bigAscent + layout.bigDescent : layout.ascent + layout.descent;
        float size = lineHeight * 1.05f;
        if (!b.numbers) {
            const float wide = textWidth(b.text, size);
            if (wide > room)
                size *= room / wide;
            drawText(middle - textWidth(b.text, size) / 2, y, size, b.text, white, rim);
            continue;
        }
        const float x = layout.bandX[i];
        const NumberColumns c = numberColumns(layout, lines, x, layout.bandBox.x1 - pad);
        drawText(x, y, c.size, b.text, white, rim);
        for (int n = 0; n < 2; ++n) {
            const std::string number = std::to_string(b.values[n]);
            const float end = x + c.firstEnd + c.columnWidth * static_cast<float>(n);
            drawText(end - textWidth(number, c.size), y, c.size, number, colours[n], rim);
        }
    }
}
} // namespace

void drawOverviewBand(const RoundView& v) {
    const std::vector<BandLine> lines = bandLinesOf(v);
    if (lines.empty())
        return;
    const HudLayout layout = hudLayout(v.look.frame.scale(), lines, computerLines(v));
    Flat flat(windowWidth, overviewHeight);
    glColor4f(0, 0, 0, 0.62f);
    rectangle(layout.bandBox.x0, layout.bandBox.y0, layout.bandBox.x1, layout.bandBox.y1);
    void* small = layout.largeLetters ? GLUT_BITMAP_9_BY_15 : GLUT_BITMAP_8_BY_13;
    float colours[2][3];
    playerColour(v.player(1), colours[0]);
    playerColour(v.player(2), colours[1]);
    if (textFontLoaded()) {
        drawBandLetters(layout, lines, colours);
        return;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        const BandLine& b = lines[i];
        const float x = layout.bandX[i], y = layout.bandY[i];
        if (!b.numbers) {
            writeOutlined(x, y, b.text, b.large ? GLUT_BITMAP_9_BY_15 : small, white, black,
                          b.large);
            continue;
        }
        // The label, then each player's number in five places in its colour.
        writeOutlined(x, y, b.text, small, white, black);
        const float numberX = x + layout.letterWidth * static_cast<float>(b.text.size());
        for (int n = 0; n < 2; ++n)
            writeOutlined(numberX + layout.letterWidth * 5 * static_cast<float>(n), y,
                          numberIn(b.values[n], 5), small, colours[n], black);
    }
}

void drawColumnEvents(const RoundView& v) {
    if (v.feedback == nullptr)
        return;
    // Under the band the round stands still: what happened last would stand there too.
    const HudLayout layout = hudLayout(v.look.frame.scale(), bandLinesOf(v), computerLines(v));
    if (!layout.risingLines || layout.band)
        return;
    Flat flat(windowWidth, overviewHeight);
    void* font = layout.largeLetters ? GLUT_BITMAP_9_BY_15 : GLUT_BITMAP_8_BY_13;
    for (int n = 1; n <= 2; ++n) {
        const PlayerFeedback& f = v.feedback->shown(n);
        if (!f.showing(v.gameTime))
            continue;
        const float t = std::min(1.0f, f.age(v.gameTime) / PlayerFeedback::shownSeconds);
        const float y = layout.riseFromY + (layout.riseToY - layout.riseFromY) * t;
        float colour[3];
        playerColour(v.player(n), colour);
        writeOutlined(layout.columnX[n - 1], y, f.columnLine, font, colour, nearBlack, true);
    }
}

void drawLabyrinthMarkers(const RoundView& v) {
    const bool inside[2] = {v.world.freeRoam[0], v.world.freeRoam[1]};
    if (!inside[0] && !inside[1])
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    // A diamond over the house for each player inside, side by side when both are, bobbing so that
    // it reads as a sign rather than a thing in the arena.
    const float bob = 0.12f * std::sin(v.gameTime / 250.0f);
    for (int n = 1; n <= 2; ++n) {
        if (!inside[n - 1])
            continue;
        const float x = houseX + (inside[0] && inside[1] ? (n == 1 ? -0.5f : 0.5f) : 0.0f);
        const float z = 2.2f + bob, r = 0.45f, h = 0.7f;
        float c[3];
        playerColour(v.player(n), c);
        const float corners[4][2] = {{r, 0}, {0, r}, {-r, 0}, {0, -r}};
        glBegin(GL_TRIANGLES);
        for (int i = 0; i < 4; ++i) {
            const float* a = corners[i];
            const float* b = corners[(i + 1) % 4];
            // Each face a shade of the colour, lighter above: the diamond reads as solid.
            for (int up = 0; up < 2; ++up) {
                const float shade = (up ? 1.0f : 0.6f) * (i % 2 ? 0.85f : 1.0f);
                glColor3f(c[0] * shade, c[1] * shade, c[2] * shade);
                glVertex3f(x, houseY, up ? z + h : z - h);
                glVertex3f(x + a[0], houseY + a[1], z);
                glVertex3f(x + b[0], houseY + b[1], z);
            }
        }
        glEnd();
        glColor3f(0.1f, 0.1f, 0.1f);
        glBegin(GL_LINE_LOOP);
        for (const auto& a : corners)
            glVertex3f(x + a[0], houseY + a[1], z);
        glEnd();
    }
    glPopAttrib();
}

namespace {
void drawFlash(const PlayerFeedback& f, float now) {
    constexpr float flashSeconds = 0.6f;
    const float age = f.age(now);
    if (f.flash == PlayerFeedback::Flash::none || age >= flashSeconds)
        return;
    const float strength = 1 - age / flashSeconds;
    const bool harm = f.flash == PlayerFeedback::Flash::harm;
    const float r = harm ? 0.9f : 1.0f, g = harm ? 0.05f : 0.8f, b = harm ? 0.05f : 0.1f;
    glColor4f(r, g, b, 0.5f * strength);
    rectangle(0, 0, playerViewWidth, splitHeight);
    // A thick frame in the full colour round the view, so that even a glance sees it.
    const float edge = 10;
    glColor4f(r, g, b, 0.9f * strength);
    rectangle(0, 0, playerViewWidth, edge);
    rectangle(0, splitHeight - edge, playerViewWidth, splitHeight);
    rectangle(0, edge, edge, splitHeight - edge);
    rectangle(playerViewWidth - edge, edge, playerViewWidth, splitHeight - edge);
}

void drawViewWords(const PlayerFeedback& f, float now) {
    if (f.viewWord.empty() || !f.showing(now))
        return;
    // Large light letters on a dark rim, a fifth of the view high, with the line below smaller.
    const float light[3] = {1.0f, 0.96f, 0.82f}, rim[3] = {0.1f, 0.06f, 0.12f};
    const float size = splitHeight * 0.2f, below = splitHeight * 0.11f;
    const float y = splitHeight * 0.42f;
    drawText(playerViewWidth / 2 - textWidth(f.viewWord, size) / 2, y, size, f.viewWord, light,
             rim);
    if (!f.viewWordBelow.empty())
        drawText(playerViewWidth / 2 - textWidth(f.viewWordBelow, below) / 2, y + below * 1.5f,
                 below, f.viewWordBelow, light, rim);
}

void drawMap(const LabyrinthMap& map, const float* colour, double scale) {
    const float s = static_cast<float>(scale > 0 ? scale : 1);
    // A square of most of the view's height (never below 90 drawable pixels), beside the middle
    // of the view, where the corridor ahead shows.
    const float margin = 6 / s;
    const float size = std::min(std::max(splitHeight * 0.86f, 90 / s), splitHeight - 2 * margin);
    const float cell = size / LabyrinthMap::side;
    const float left = playerViewWidth - margin - size, top = margin;
    // Cell (column, row) with row 0 at the bottom, as the labyrinth's +y points away at the start.
    auto cx = [&](float column) { return left + column * cell; };
    auto cy = [&](float row) { return top + size - row * cell; };
    // A light frame round a dark square: the map's extent shows on the dark labyrinth too.
    glColor4f(0.85f, 0.85f, 0.75f, 0.8f);
    rectangle(left - 2 / s, top - 2 / s, left + size + 2 / s, top + size + 2 / s);
    // Nearly black, as the labyrinth beyond the lamp is: the seen cells stand out on it.
    glColor4f(0.03f, 0.05f, 0.03f, 1);
    rectangle(left, top, left + size, top + size);
    for (int k = 0; k < LabyrinthMap::side * LabyrinthMap::side; ++k) {
        if (!map.seen[k])
            continue;
        const float c = static_cast<float>(k % LabyrinthMap::side);
        const float r = static_cast<float>(k / LabyrinthMap::side);
        glColor4f(0.92f, 0.88f, 0.72f, 0.9f);
        rectangle(cx(c), cy(r + 1), cx(c + 1), cy(r));
    }
    glLineWidth(std::max(1.0f, 2 * s * 0.75f));
    glColor4f(0.2f, 0.25f, 0.15f, 1);
    glBegin(GL_LINES);
    for (int k = 0; k < LabyrinthMap::side * LabyrinthMap::side; ++k) {
        const uint8_t w = map.walls[k];
        const float c = static_cast<float>(k % LabyrinthMap::side);
        const float r = static_cast<float>(k / LabyrinthMap::side);
        auto line = [&](float c0, float r0, float c1, float r1) {
            glVertex2f(cx(c0), cy(r0));
            glVertex2f(cx(c1), cy(r1));
        };
        if (w & LabyrinthMap::east)
            line(c + 1, r, c + 1, r + 1);
        if (w & LabyrinthMap::west)
            line(c, r, c, r + 1);
        if (w & LabyrinthMap::north)
            line(c, r + 1, c + 1, r + 1);
        if (w & LabyrinthMap::south)
            line(c, r, c + 1, r);
    }
    glEnd();
    // Each piece of cheese seen: a yellow wedge on a dark rim, filling most of its cell.
    for (const LabyrinthMap::Cell& piece : map.cheese) {
        const float mx = cx(static_cast<float>(piece.column) + 0.5f);
        const float my = cy(static_cast<float>(piece.row) + 0.5f);
        const float d = cell * 0.36f, rim = std::max(1.5f / s, cell * 0.06f);
        glColor4f(0.25f, 0.15f, 0.0f, 1);
        glBegin(GL_TRIANGLES);
        glVertex2f(mx - d - rim, my + d * 0.7f + rim);
        glVertex2f(mx + d + rim * 1.6f, my + d * 0.7f + rim);
        glVertex2f(mx - d - rim, my - d - rim * 1.6f);
        glColor4f(1.0f, 0.82f, 0.1f, 1);
        glVertex2f(mx - d, my + d * 0.7f);
        glVertex2f(mx + d, my + d * 0.7f);
        glVertex2f(mx - d, my - d);
        glEnd();
    }
    // The player: a plain arrow the way it faces, in its colour on a dark rim.
    const float px = cx(map.column), py = cy(map.row);
    float fx = map.dirX, fy = -map.dirY; // the map's y runs down
    const float length = std::sqrt(fx * fx + fy * fy);
    if (length > 0) {
        fx /= length;
        fy /= length;
    }
    auto arrow = [&](float grow) {
        const float tip = cell * 0.62f + grow, back = cell * 0.5f + grow;
        const float head = cell * 0.42f + grow, neck = cell * 0.05f;
        const float shaft = cell * 0.14f + grow;
        // Along the heading (a) and across it (b), from the player's point.
        auto at = [&](float a, float b) { glVertex2f(px + fx * a - fy * b, py + fy * a + fx * b); };
        glBegin(GL_TRIANGLES);
        at(tip, 0);
        at(neck - grow, head);
        at(neck - grow, -head);
        at(neck, shaft);
        at(-back, shaft);
        at(-back, -shaft);
        at(neck, shaft);
        at(-back, -shaft);
        at(neck, -shaft);
        glEnd();
    };
    glColor4f(0.05f, 0.05f, 0.08f, 1);
    arrow(std::max(1.5f / s, cell * 0.08f));
    glColor4f(colour[0], colour[1], colour[2], 1);
    arrow(0);
}
} // namespace

void drawPlayerOverlay(const RoundView& v, int n) {
    Flat flat(playerViewWidth, splitHeight);
    if (v.feedback && !v.roundOver && !v.paused && !v.banner) {
        const PlayerFeedback& f = v.feedback->shown(n);
        drawFlash(f, v.gameTime);
        drawViewWords(f, v.gameTime);
    }
    if (v.world.freeRoam[n - 1] && v.sight[n - 1]) {
        float colour[3];
        playerColour(v.player(n), colour);
        drawMap(labyrinthMapOf(v.world, *v.sight[n - 1], v.player(n)), colour,
                v.look.frame.scale());
    }
}

bool figureBlinkedOut(const RoundView& v, int n) {
    if (!v.world.sheltered(n))
        return false;
    // Out for a fifth of each quarter second.
    return std::fmod(v.gameTime, 250.0f) < 50.0f;
}
