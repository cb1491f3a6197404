#include "Art.h"
#include "MenuArt.h"

#include <cmath>

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

// A key cap whose top left corner is at (x, y).
void keyCap(cairo_t* cr, double x, double y, double w, const char* label, int arrow = -1) {
    const double h = 0.38;
    roundedRect(cr, x, -y + 0.05, w, h - 0.05, 0.07);
    setColour(cr, rgb(120, 116, 130));
    cairo_fill(cr);
    roundedRect(cr, x, -y, w, h - 0.05, 0.07);
    setColour(cr, rgb(250, 250, 252));
    cairo_fill_preserve(cr);
    setColour(cr, ink);
    cairo_set_line_width(cr, 0.025);
    cairo_stroke(cr);
    const double cx = x + w / 2;
    const double cy = -y + (h - 0.05) / 2;
    if (arrow >= 0) {
        // 0 up, 1 down, 2 left, 3 right.
        const double a = arrow == 0 ? -M_PI / 2 : arrow == 1 ? M_PI / 2 : arrow == 2 ? M_PI : 0;
        cairo_move_to(cr, cx + std::cos(a) * 0.12, cy + std::sin(a) * 0.12);
        cairo_line_to(cr, cx + std::cos(a + 2.3) * 0.11, cy + std::sin(a + 2.3) * 0.11);
        cairo_line_to(cr, cx + std::cos(a - 2.3) * 0.11, cy + std::sin(a - 2.3) * 0.11);
        cairo_close_path(cr);
        setColour(cr, ink);
        cairo_fill(cr);
        return;
    }
    selectFont(cr, 0.2);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, label, &ext);
    setColour(cr, ink);
    cairo_move_to(cr, cx - ext.width / 2 - ext.x_bearing, cy - ext.height / 2 - ext.y_bearing);
    cairo_show_text(cr, label);
}

struct KeyLine {
    const char* key;
    int arrow;
    double width;
    const char* action;
};

void playerKeys(cairo_t* cr, double left, double top, const char* title, Colour colour,
                const KeyLine (&keys)[7], const char* note) {
    drawPanel(cr, {left, left + 5.35, top - 2.62, top}, colour);
    drawFigure(cr, left + 4.75, -(top - 1.05), 0.9, colour.r, colour.g, colour.b);
    heading(cr, title, left + 0.2, top - 0.42, colour);
    for (int k = 0; k < 7; ++k) {
        const int col = k < 4 ? 0 : 1;
        const int row = k < 4 ? k : k - 4;
        const double x = left + 0.22 + col * 2.1;
        const double y = top - 0.62 - row * 0.46;
        keyCap(cr, x, y, keys[k].width, keys[k].key, keys[k].arrow);
        text(cr, keys[k].action, x + keys[k].width + 0.1, y - 0.28, 0.22, ink);
    }
    text(cr, note, left + 2.32, top - 2.38, 0.17, shade(ink, 0.3));
}

void goalPanel(cairo_t* cr) {
    const MenuRect panel{-5.5, -0.1, 0.05, 3.3};
    drawPanel(cr, panel, rgb(255, 200, 60));
    heading(cr, "THE GOAL", -5.3, 2.9, rgb(255, 200, 60));
    const char* lines[] = {"Run through the house in the middle",
                           "into the labyrinth, fetch a cheese",
                           "and carry it to your home corner."};
    for (int k = 0; k < 3; ++k) {
        text(cr, lines[k], -5.3, 2.45 - k * 0.3, 0.22, ink);
    }
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
    const KeyLine player1[7] = {{"R", -1, 0.38, "forward"}, {"F", -1, 0.38, "back"},
                                {"D", -1, 0.38, "left"},    {"G", -1, 0.38, "right"},
                                {"Z", -1, 0.38, "trap"},    {"X", -1, 0.38, "wall"},
                                {"Shift", -1, 0.7, "bomb"}};
    const KeyLine player2[7] = {{"", 0, 0.38, "forward"},  {"", 1, 0.38, "back"},
                                {"", 2, 0.38, "left"},     {"", 3, 0.38, "right"},
                                {"/", -1, 0.38, "trap"},   {".", -1, 0.38, "wall"},
                                {"Shift", -1, 0.7, "bomb"}};
    playerKeys(cr, -5.5, -0.78, "PLAYER 1", player1Colour, player1, "left Shift, or game pad 1");
    playerKeys(cr, 0.15, -0.78, "PLAYER 2", player2Colour, player2, "right Shift, or game pad 2");
    drawPanel(cr, {-5.5, 3.7, -4.12, -3.46}, rgb(200, 200, 210));
    text(cr, "0: shadows   P: pause   F11: full screen   Esc: quit", -5.25, -3.74, 0.2, ink,
         true);
    text(cr, "Game pads: stick or d-pad walk, A bomb, X wall, Y trap, Start pause", -5.25, -4.0,
         0.18, ink);
    drawMenuButton(cr, menuart::backButton, menuart::backFace, "BACK");
    return canvas.picture();
}

} // namespace assetgen
