#include "Art.h"
#include "MenuArt.h"

#include <cmath>
#include <utility>

namespace assetgen {
namespace {

using menuart::helpExtent;
using menuart::MenuRect;

const Colour ink = rgb(44, 36, 56);
const Colour player1Colour = rgb(237, 74, 89);
const Colour player2Colour = rgb(74, 151, 237);

// Left-aligned text with its baseline at (x, -y).
void text(cairo_t* cr, const char* s, double x, double y, double size, Colour c,
          bool bold = false) {
    selectFont(cr, size, bold);
    setColour(cr, c);
    cairo_move_to(cr, x, -y);
    cairo_show_text(cr, s);
}

void heading(cairo_t* cr, const char* s, double x, double y, Colour c) {
    selectFont(cr, 0.34);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, s, &ext);
    outlinedText(cr, s, x + ext.width / 2, -y, c, ink, 0.06);
}

void backgroundMeadow(cairo_t* cr) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, -4.2, 0, 4.2);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.5, 0.76, 0.98);
    cairo_pattern_add_color_stop_rgb(p, 0.45, 0.78, 0.92, 1.0);
    cairo_pattern_add_color_stop_rgb(p, 0.55, 0.5, 0.8, 0.36);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.34, 0.66, 0.24);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    Dice dice(60);
    for (int k = 0; k < 140; ++k) {
        const double x = dice.range(-5.8, 5.8);
        const double y = dice.range(0.3, 4.2);
        cairo_arc(cr, x, y, dice.range(0.02, 0.05), 0, 2 * M_PI);
        setColour(cr, dice.uniform() < 0.5 ? Colour{1, 1, 1} : rgb(255, 220, 80), 0.8);
        cairo_fill(cr);
    }
}

void playerKeys(cairo_t* cr, double left, double top, const char* title, Colour colour,
                const char* note) {
    drawPanel(cr, {left, left + 5.35, top - 2.62, top}, colour);
    drawFigure(cr, left + 4.75, -(top - 1.05), 0.9, colour.r, colour.g, colour.b);
    heading(cr, title, left + 0.2, top - 0.42, colour);
    // The keys themselves are written over the picture by the game, as each player has set
    // them: here only the rows they stand on.
    for (int k = 0; k < 7; ++k) {
        const int col = k < 4 ? 0 : 1;
        const int row = k < 4 ? k : k - 4;
        roundedRect(cr, left + 0.14 + col * 2.1, -(top - 0.62 - row * 0.46), 2.04, 0.36, 0.08);
        setColour(cr, rgb(255, 255, 255), 0.55);
        cairo_fill(cr);
    }
    text(cr, note, left + 2.32, top - 2.38, 0.17, shade(ink, 0.3));
}

// The house as the arena shows it, from above: three by three cells of grass, bushes on the
// corners, and on each side's middle cell the orange arrow pointing in. Centre (x, y) in menu
// units, `cell` a cell's side.
void houseFromAbove(cairo_t* cr, double x, double y, double cell) {
    const double left = x - 1.5 * cell, top = -y - 1.5 * cell;
    roundedRect(cr, left - 0.04, top - 0.04, 3 * cell + 0.08, 3 * cell + 0.08, 0.06);
    setColour(cr, rgb(70, 110, 50));
    cairo_fill(cr);
    cairo_rectangle(cr, left, top, 3 * cell, 3 * cell);
    setColour(cr, rgb(120, 190, 80));
    cairo_fill(cr);
    for (int cx = 0; cx < 3; cx += 2)
        for (int cy = 0; cy < 3; cy += 2) {
            const double mx = left + (cx + 0.5) * cell, my = top + (cy + 0.5) * cell;
            for (const auto& b : {std::pair{-0.2, -0.2}, std::pair{0.22, -0.12},
                                  std::pair{-0.1, 0.24}, std::pair{0.18, 0.2}})
                shadedBall(cr, mx + b.first * cell, my + b.second * cell, 0.26 * cell,
                           rgb(40, 120, 45));
        }
    // The doors: south, north, west, east, each arrow pointing to the middle.
    const struct {
        int cx, cy;
        double ax, ay;
    } doors[4] = {{1, 2, 0, -1}, {1, 0, 0, 1}, {0, 1, 1, 0}, {2, 1, -1, 0}};
    for (const auto& d : doors) {
        const double mx = left + (d.cx + 0.5) * cell, my = top + (d.cy + 0.5) * cell;
        const double bx = -d.ay, by = d.ax;
        auto at = [&](double a, double b) {
            return std::pair{mx + (d.ax * a + bx * b) * cell, my + (d.ay * a + by * b) * cell};
        };
        const std::pair<double, double> outline[7] = {
            at(0.42, 0),     at(0.02, 0.36),  at(0.02, 0.13), at(-0.4, 0.13),
            at(-0.4, -0.13), at(0.02, -0.13), at(0.02, -0.36)};
        cairo_move_to(cr, outline[0].first, outline[0].second);
        for (int k = 1; k < 7; ++k)
            cairo_line_to(cr, outline[k].first, outline[k].second);
        cairo_close_path(cr);
        setColour(cr, rgb(255, 200, 26));
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 0.025);
        setColour(cr, rgb(40, 20, 5));
        cairo_stroke(cr);
    }
}

void goalPanel(cairo_t* cr) {
    const MenuRect panel{-5.5, -0.1, 0.05, 3.3};
    drawPanel(cr, panel, rgb(255, 200, 60));
    heading(cr, "THE GOAL", -5.3, 2.9, rgb(255, 200, 60));
    const char* lines[] = {"The house in the middle: walk onto", "an orange arrow to get in, fetch",
                           "a cheese, carry it to your corner."};
    for (int k = 0; k < 3; ++k) {
        text(cr, lines[k], -5.3, 2.45 - k * 0.3, 0.22, ink);
    }
    houseFromAbove(cr, -0.6, 2.33, 0.28);
    drawCheeseWedge(cr, -4.95, -1.25, 0.55);
    text(cr, "cheese home", -4.5, 1.38, 0.22, ink);
    text(cr, "+10", -1.2, 1.38, 0.26, rgb(40, 150, 40), true);
    drawCoin(cr, -4.95, -1.0, 0.17);
    text(cr, "coin", -4.5, 0.93, 0.22, ink);
    text(cr, "+1", -1.2, 0.93, 0.26, rgb(40, 150, 40), true);
    drawBomb(cr, -5.1, -0.36, 0.13);
    drawFigure(cr, -4.72, -0.2, 0.5, 1.0, 0.9, 0.1);
    text(cr, "hit by a blast or", -4.5, 0.55, 0.22, ink);
    text(cr, "caught by a creature", -4.5, 0.27, 0.22, ink);
    text(cr, "-5", -1.2, 0.42, 0.26, rgb(210, 50, 50), true);
    drawPanel(cr, {-5.5, -0.1, -0.62, -0.08}, rgb(120, 200, 90));
    text(cr, "Six-minute round: most points wins!", -5.3, -0.43, 0.22, ink, true);
}

void itemsPanel(cairo_t* cr) {
    const MenuRect panel{0.1, 5.5, -0.62, 3.3};
    drawPanel(cr, panel, rgb(110, 170, 240));
    heading(cr, "ITEMS", 0.3, 2.9, rgb(110, 170, 240));
    const struct {
        ItemCard card;
        const char* name;
        const char* what;
    } items[] = {{ItemCard::Bomb, "Bomb", "one more bomb at a time"},
                 {ItemCard::Speed, "Speed", "run faster"},
                 {ItemCard::Fire, "Fire", "longer blast"},
                 {ItemCard::MaxFire, "MAX fire", "longest blast"},
                 {ItemCard::Wall, "Wall", "lay a wall"},
                 {ItemCard::Trap, "Trap", "lay a trap"}};
    for (int k = 0; k < 6; ++k) {
        const double y = 2.6 - k * 0.44;
        cairo_save(cr);
        cairo_translate(cr, 0.35, -y);
        cairo_scale(cr, 0.42, 0.42);
        drawItemCard(cr, items[k].card);
        cairo_restore(cr);
        text(cr, items[k].name, 0.9, y - 0.28, 0.22, ink, true);
        text(cr, items[k].what, 2.35, y - 0.28, 0.22, ink);
    }
    const double coinRow = 2.6 - 6 * 0.44;
    drawCoin(cr, 0.56, -coinRow + 0.21, 0.19);
    text(cr, "Coin", 0.9, coinRow - 0.28, 0.22, ink, true);
    text(cr, "a point", 2.35, coinRow - 0.28, 0.22, ink);
}

} // namespace

Picture paintHelp() {
    Canvas canvas(helpExtent.pixels, helpExtent.pixels);
    cairo_t* cr = canvas.cr();
    enterMenuSpace(cr, helpExtent);
    backgroundMeadow(cr);
    selectFont(cr, 0.5);
    outlinedText(cr, "HOW TO PLAY TUVO!!", 0, -3.72, rgb(255, 214, 60), ink, 0.1);
    goalPanel(cr);
    itemsPanel(cr);
    playerKeys(cr, -5.5, -0.78, "PLAYER 1", player1Colour, "or game pad 1");
    playerKeys(cr, 0.15, -0.78, "PLAYER 2", player2Colour, "or game pad 2");
    drawPanel(cr, {-5.5, 3.7, -4.12, -3.46}, rgb(200, 200, 210));
    text(cr, "0: shadows   P: pause   F11: full screen   Esc: quit", -5.25, -3.74, 0.2, ink, true);
    text(cr, "Game pads: stick or d-pad walk, A bomb, X wall, Y trap, Start pause", -5.25, -4.0,
         0.18, ink);
    drawMenuButton(cr, menuart::backButton, menuart::backFace, "BACK");
    return canvas.picture();
}

} // namespace assetgen
