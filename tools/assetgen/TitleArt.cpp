#include "Art.h"
#include "MenuArt.h"

#include <cmath>

namespace assetgen {
namespace {

using menuart::titleExtent;

// The arena seen from its near edge, a little above the ground: arena point (ax, ay) in cells
// to the menu plane, y downwards as drawn.
struct ArenaView {
    double horizon = 1.55;
    double spread = 0.78;
    double lift = 5.2;

    double depth(double ay) const { return 1 + ay / 15 * 2.4; }
    double scale(double ay) const { return spread / depth(ay); }
    double x(double ax, double ay) const { return (ax - 7.5) * scale(ay); }
    double y(double ay) const { return -(horizon - lift / depth(ay)); }
};

bool isPillar(int i, int j) {
    return i % 2 == 1 && j % 2 == 1;
}
bool inArena(int i, int j) {
    return i >= 0 && i < 15 && j >= 0 && j < 15;
}
bool inHouseBlock(int i, int j) {
    return i >= 5 && i <= 9 && j >= 7 && j <= 11;
}

void cellQuad(cairo_t* cr, const ArenaView& v, double i, double j, double inset) {
    cairo_move_to(cr, v.x(i + inset, j + inset), v.y(j + inset));
    cairo_line_to(cr, v.x(i + 1 - inset, j + inset), v.y(j + inset));
    cairo_line_to(cr, v.x(i + 1 - inset, j + 1 - inset), v.y(j + 1 - inset));
    cairo_line_to(cr, v.x(i + inset, j + 1 - inset), v.y(j + 1 - inset));
    cairo_close_path(cr);
}

void sky(cairo_t* cr) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, -4.3, 0, 0.2);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.22, 0.5, 0.9);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.8, 0.92, 1.0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    // Sun behind the title.
    cairo_pattern_t* sun = cairo_pattern_create_radial(3.9, -3.1, 0.1, 3.9, -3.1, 1.6);
    cairo_pattern_add_color_stop_rgba(sun, 0, 1, 0.98, 0.8, 1);
    cairo_pattern_add_color_stop_rgba(sun, 0.3, 1, 0.92, 0.5, 0.9);
    cairo_pattern_add_color_stop_rgba(sun, 1, 1, 0.9, 0.5, 0);
    cairo_set_source(cr, sun);
    cairo_paint(cr);
    cairo_pattern_destroy(sun);
    const double clouds[][3] = {{-4.6, -3.5, 0.32},
                                {-1.2, -3.85, 0.22},
                                {2.0, -2.0, 0.26},
                                {-3.2, -1.6, 0.2},
                                {4.9, -1.5, 0.24}};
    for (const auto& c : clouds) {
        const double puffs[][3] = {{-1, 0.2, 0.55},
                                   {-0.4, -0.2, 0.7},
                                   {0.3, -0.3, 0.8},
                                   {0.95, 0.1, 0.55},
                                   {0.2, 0.25, 0.6}};
        for (const auto& p2 : puffs) {
            cairo_arc(cr, c[0] + p2[0] * c[2], c[1] + p2[1] * c[2], p2[2] * c[2], 0, 2 * M_PI);
            setColour(cr, {1, 1, 1}, 0.9);
            cairo_fill(cr);
        }
    }
}

void hills(cairo_t* cr, const ArenaView& v) {
    const double base = v.y(17.5);
    // Meadow all round the arena, down to the bottom of the picture.
    cairo_rectangle(cr, -6, base - 0.3, 12, 5 - base);
    cairo_pattern_t* meadow = cairo_pattern_create_linear(0, base, 0, 4.3);
    cairo_pattern_add_color_stop_rgb(meadow, 0, 0.42, 0.72, 0.3);
    cairo_pattern_add_color_stop_rgb(meadow, 1, 0.3, 0.62, 0.2);
    cairo_set_source(cr, meadow);
    cairo_fill(cr);
    cairo_pattern_destroy(meadow);
    const struct {
        double lift, swell, phase;
        Colour top, bottom;
    } layers[] = {{0.95, 0.18, 0.3, rgb(140, 196, 140), rgb(120, 180, 120)},
                  {0.55, 0.16, 1.9, rgb(104, 184, 72), rgb(70, 150, 54)}};
    for (const auto& l : layers) {
        cairo_move_to(cr, -6, base + 0.2);
        for (double x = -6; x <= 6.01; x += 0.05) {
            const double y =
                base - l.lift -
                l.swell * (std::sin(x * 0.9 + l.phase) + 0.5 * std::sin(x * 2.1 + 2 * l.phase));
            cairo_line_to(cr, x, y);
        }
        cairo_line_to(cr, 6, base + 0.2);
        cairo_close_path(cr);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, base - l.lift - l.swell, 0, base);
        cairo_pattern_add_color_stop_rgb(p, 0, l.top.r, l.top.g, l.top.b);
        cairo_pattern_add_color_stop_rgb(p, 1, l.bottom.r, l.bottom.g, l.bottom.b);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
    // A row of round trees along the far hill.
    Dice dice(61);
    for (double x = -5.8; x < 5.9; x += dice.range(0.35, 0.7)) {
        const double y =
            base - 0.45 - 0.16 * (std::sin(x * 0.9 + 1.9) + 0.5 * std::sin(x * 2.1 + 3.8));
        const double r = dice.range(0.12, 0.2);
        setColour(cr, rgb(110, 74, 40));
        cairo_rectangle(cr, x - r * 0.15, y - r * 0.4, r * 0.3, r * 0.9);
        cairo_fill(cr);
        shadedBall(cr, x, y - r * 0.9, r,
                   dice.uniform() < 0.5 ? rgb(50, 130, 56) : rgb(76, 156, 60));
    }
}

void ground(cairo_t* cr, const ArenaView& v) {
    Dice dice(62);
    for (int j = 16; j >= -2; --j) {
        for (int i = -2; i <= 16; ++i) {
            const bool road = inArena(i, j) && !inHouseBlock(i, j) && !isPillar(i, j);
            cellQuad(cr, v, i, j, 0);
            if (road) {
                setColour(cr, shade(rgb(222, 214, 196), dice.range(-0.04, 0.04)));
            } else {
                setColour(cr, shade(rgb(102, 178, 64), dice.range(-0.05, 0.05)));
            }
            cairo_fill_preserve(cr);
            setColour(cr, road ? rgb(170, 160, 140) : rgb(90, 160, 56), 0.8);
            cairo_set_line_width(cr, 0.012);
            cairo_stroke(cr);
        }
    }
}

void bush(cairo_t* cr, double x, double y, double s) {
    const double blobs[][3] = {{-0.22, -0.25, 0.22}, {0.22, -0.27, 0.22}, {0, -0.45, 0.26}};
    for (const auto& b : blobs) {
        shadedBall(cr, x + b[0] * s, y + b[1] * s, b[2] * s, rgb(58, 150, 64));
    }
}

void cottage(cairo_t* cr, double x, double y, double s) {
    cairo_rectangle(cr, x - 0.3 * s, y - 0.32 * s, 0.6 * s, 0.32 * s);
    setColour(cr, rgb(250, 248, 244));
    cairo_fill_preserve(cr);
    setColour(cr, rgb(90, 80, 80));
    cairo_set_line_width(cr, 0.012);
    cairo_stroke(cr);
    cairo_rectangle(cr, x - 0.07 * s, y - 0.2 * s, 0.14 * s, 0.2 * s);
    setColour(cr, rgb(150, 96, 56));
    cairo_fill(cr);
    cairo_move_to(cr, x - 0.4 * s, y - 0.3 * s);
    cairo_line_to(cr, x, y - 0.72 * s);
    cairo_line_to(cr, x + 0.4 * s, y - 0.3 * s);
    cairo_close_path(cr);
    setColour(cr, rgb(236, 70, 66));
    cairo_fill_preserve(cr);
    setColour(cr, rgb(120, 30, 30));
    cairo_stroke(cr);
}

void hut(cairo_t* cr, double x, double y, double s) {
    cairo_rectangle(cr, x - 0.36 * s, y - 0.3 * s, 0.72 * s, 0.3 * s);
    setColour(cr, rgb(236, 236, 240));
    cairo_fill(cr);
    cairo_rectangle(cr, x - 0.17 * s, y - 0.2 * s, 0.34 * s, 0.1 * s);
    setColour(cr, rgb(140, 150, 255));
    cairo_fill(cr);
    cairo_move_to(cr, x - 0.42 * s, y - 0.3 * s);
    cairo_line_to(cr, x, y - 0.72 * s);
    cairo_line_to(cr, x + 0.42 * s, y - 0.3 * s);
    cairo_close_path(cr);
    setColour(cr, rgb(236, 70, 66));
    cairo_fill(cr);
}

void obstacle(cairo_t* cr, const ArenaView& v, int i, int j, Colour c) {
    const double front = j + 0.12, back = j + 0.88;
    const double s = v.scale(front), sb = v.scale(back);
    const double h = 0.6;
    // Top face, then the front face.
    cairo_move_to(cr, v.x(i + 0.12, back), v.y(back) - h * sb);
    cairo_line_to(cr, v.x(i + 0.88, back), v.y(back) - h * sb);
    cairo_line_to(cr, v.x(i + 0.88, front), v.y(front) - h * s);
    cairo_line_to(cr, v.x(i + 0.12, front), v.y(front) - h * s);
    cairo_close_path(cr);
    setColour(cr, shade(c, 0.3));
    cairo_fill(cr);
    cairo_rectangle(cr, v.x(i + 0.12, front), v.y(front) - h * s, 0.76 * s, h * s);
    setColour(cr, c);
    cairo_fill_preserve(cr);
    setColour(cr, shade(c, -0.5));
    cairo_set_line_width(cr, 0.012);
    cairo_stroke(cr);
}

void arenaObjects(cairo_t* cr, const ArenaView& v) {
    Dice dice(63);
    const Colour boxColours[] = {rgb(250, 170, 60), rgb(120, 200, 240), rgb(190, 120, 230),
                                 rgb(120, 220, 130), rgb(250, 120, 150)};
    for (int j = 16; j >= -1; --j) {
        for (int i = -1; i <= 15; ++i) {
            const double cx = v.x(i + 0.5, j + 0.5);
            const double cy = v.y(j + 0.4);
            const double s = v.scale(j + 0.5);
            if (!inArena(i, j)) {
                if (j >= -1 && j <= 15) {
                    bush(cr, cx, cy, s * 1.1);
                }
                continue;
            }
            if (inHouseBlock(i, j)) {
                const bool corner = (i == 6 || i == 8) && (j == 8 || j == 10);
                if (corner) {
                    bush(cr, cx, cy, s * 0.9);
                } else if (isPillar(i, j)) {
                    hut(cr, cx, cy, s);
                }
                continue;
            }
            if (isPillar(i, j)) {
                if ((i + j) % 4 == 0) {
                    cottage(cr, cx, cy, s);
                } else {
                    hut(cr, cx, cy, s);
                }
                continue;
            }
            const bool road = !(i % 2 == 0 && j % 2 == 0 && dice.uniform() < 0.2);
            if (road && dice.uniform() < 0.24 && !(i <= 1 && j <= 1) && !(i >= 13 && j <= 1)) {
                obstacle(cr, v, i, j, boxColours[dice.below(5)]);
            } else if (dice.uniform() < 0.06) {
                drawCoin(cr, cx, cy - 0.1 * s, 0.12 * s);
            }
        }
    }
}

void titleLetters(cairo_t* cr) {
    const char* letters[] = {"T", "U", "V", "O", "!", "!"};
    const Colour colours[] = {rgb(240, 70, 80),  rgb(255, 168, 30),  rgb(90, 196, 70),
                              rgb(60, 150, 240), rgb(176, 100, 230), rgb(240, 70, 160)};
    const double tilt[] = {-0.08, 0.05, -0.04, 0.07, -0.05, 0.06};
    const double size = 2.3;
    selectFont(cr, size);
    double total = 0;
    double advance[6];
    for (int k = 0; k < 6; ++k) {
        cairo_text_extents_t ext;
        cairo_text_extents(cr, letters[k], &ext);
        advance[k] = ext.x_advance * 0.92;
        total += advance[k];
    }
    double x = -total / 2;
    const double y = -2.55;
    for (int k = 0; k < 6; ++k) {
        const double cx = x + advance[k] / 2;
        const double bob = (k % 2) ? 0.08 : -0.06;
        cairo_save(cr);
        cairo_translate(cr, cx, y + bob);
        cairo_rotate(cr, tilt[k]);
        outlinedText(cr, letters[k], 0.1, 0.12, rgb(30, 24, 48), rgb(30, 24, 48), 0.34);
        outlinedText(cr, letters[k], 0, 0, colours[k], rgb(40, 30, 60), 0.22);
        // Gloss on the upper half of each letter.
        cairo_text_extents_t ext;
        cairo_text_extents(cr, letters[k], &ext);
        cairo_new_path(cr);
        cairo_move_to(cr, -ext.width / 2 - ext.x_bearing, -ext.height / 2 - ext.y_bearing);
        cairo_text_path(cr, letters[k]);
        cairo_save(cr);
        cairo_clip(cr);
        cairo_rectangle(cr, -2, -2, 4, 2 - ext.height * 0.08);
        setColour(cr, {1, 1, 1}, 0.28);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_restore(cr);
        x += advance[k];
    }
    selectFont(cr, 0.3);
    outlinedText(cr, "THE GREAT CHEESE CHASE FOR TWO", 0, -1.05, {1, 1, 1}, rgb(40, 30, 60), 0.07);
}

} // namespace

Picture paintTitle() {
    Canvas canvas(titleExtent.pixels, titleExtent.pixels);
    cairo_t* cr = canvas.cr();
    enterMenuSpace(cr, titleExtent);
    const ArenaView view;
    sky(cr);
    hills(cr, view);
    ground(cr, view);
    arenaObjects(cr, view);

    // The cast in front: both players, a creature, cheese and a bomb about to go off.
    drawCheeseWedge(cr, -3.0, 3.72, 0.8);
    drawBomb(cr, 3.0, 3.55, 0.3);
    drawFigure(cr, -2.6, 2.7, 0.75, 1.0, 0.9, 0.1);
    drawFigure(cr, -4.4, 3.95, 1.9, 237 / 255.0, 74 / 255.0, 89 / 255.0);
    drawFigure(cr, 4.4, 3.95, 1.9, 74 / 255.0, 151 / 255.0, 237 / 255.0);
    drawCoin(cr, 2.5, 2.55, 0.16);
    drawCoin(cr, -1.9, 3.5, 0.16);

    titleLetters(cr);
    drawMenuButton(cr, menuart::startButton, menuart::startFace, "START");
    drawMenuButton(cr, menuart::helpButton, menuart::helpFace, "HELP");
    drawMenuButton(cr, menuart::optionsButton, menuart::optionsFace, "OPTIONS");
    return canvas.picture();
}

} // namespace assetgen
