#include "Art.h"
#include "Paint.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

const Colour outlineColour = rgb(40, 30, 40);

void outlinedFill(cairo_t* cr, Colour fill, double width) {
    setColour(cr, fill);
    cairo_fill_preserve(cr);
    setColour(cr, outlineColour);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void cardBackground(cairo_t* cr, Colour card) {
    setColour(cr, shade(card, -0.55));
    cairo_rectangle(cr, 0, 0, 1, 1);
    cairo_fill(cr);
    roundedRect(cr, 0.045, 0.045, 0.91, 0.91, 0.12);
    cairo_pattern_t* p = cairo_pattern_create_radial(0.4, 0.3, 0.05, 0.5, 0.5, 0.75);
    const Colour lit = shade(card, 0.45);
    const Colour dark = shade(card, -0.12);
    cairo_pattern_add_color_stop_rgb(p, 0, lit.r, lit.g, lit.b);
    cairo_pattern_add_color_stop_rgb(p, 0.6, card.r, card.g, card.b);
    cairo_pattern_add_color_stop_rgb(p, 1, dark.r, dark.g, dark.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    setColour(cr, {1, 1, 1}, 0.9);
    cairo_set_line_width(cr, 0.025);
    cairo_stroke(cr);
    roundedRect(cr, 0.09, 0.09, 0.82, 0.82, 0.09);
    setColour(cr, shade(card, -0.3), 0.5);
    cairo_set_line_width(cr, 0.008);
    cairo_stroke(cr);
}

void spark(cairo_t* cr, double x, double y, double r) {
    cairo_move_to(cr, x + r, y);
    for (int k = 1; k < 16; ++k) {
        const double a = k * M_PI / 8;
        const double rr = (k % 2) ? r * 0.4 : r * ((k % 4) ? 0.75 : 1.0);
        cairo_line_to(cr, x + std::cos(a) * rr, y + std::sin(a) * rr);
    }
    cairo_close_path(cr);
    setColour(cr, rgb(255, 150, 30));
    cairo_fill(cr);
    cairo_arc(cr, x, y, r * 0.38, 0, 2 * M_PI);
    setColour(cr, rgb(255, 246, 170));
    cairo_fill(cr);
}

void flamePath(cairo_t* cr, double cx, double base, double h, double w) {
    cairo_move_to(cr, cx, base);
    cairo_curve_to(cr, cx - w * 0.95, base, cx - w * 1.05, base - h * 0.45, cx - w * 0.55,
                   base - h * 0.72);
    cairo_curve_to(cr, cx - w * 0.5, base - h * 0.56, cx - w * 0.3, base - h * 0.52, cx - w * 0.22,
                   base - h * 0.6);
    cairo_curve_to(cr, cx - w * 0.3, base - h * 0.8, cx - w * 0.05, base - h * 0.92, cx + w * 0.12,
                   base - h);
    cairo_curve_to(cr, cx + w * 0.05, base - h * 0.86, cx + w * 0.25, base - h * 0.72,
                   cx + w * 0.42, base - h * 0.64);
    cairo_curve_to(cr, cx + w * 0.42, base - h * 0.74, cx + w * 0.55, base - h * 0.8, cx + w * 0.7,
                   base - h * 0.82);
    cairo_curve_to(cr, cx + w * 1.1, base - h * 0.45, cx + w * 0.95, base, cx, base);
    cairo_close_path(cr);
}

void flame(cairo_t* cr, double cx, double base, double h, double w) {
    flamePath(cr, cx, base, h, w);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, base - h, 0, base);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 0.25, 0.1);
    cairo_pattern_add_color_stop_rgb(p, 1, 1.0, 0.5, 0.1);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    setColour(cr, outlineColour);
    cairo_set_line_width(cr, 0.028);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    flamePath(cr, cx + w * 0.05, base - h * 0.05, h * 0.62, w * 0.58);
    setColour(cr, rgb(255, 200, 50));
    cairo_fill(cr);
    flamePath(cr, cx + w * 0.05, base - h * 0.07, h * 0.32, w * 0.3);
    setColour(cr, rgb(255, 250, 200));
    cairo_fill(cr);
}

void bombIcon(cairo_t* cr) {
    drawBomb(cr, 0.47, 0.58, 0.26);
}

void speedIcon(cairo_t* cr) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColour(cr, {1, 1, 1}, 0.85);
    cairo_set_line_width(cr, 0.035);
    for (int k = 0; k < 3; ++k) {
        const double y = 0.36 + k * 0.13;
        cairo_move_to(cr, 0.14 + k * 0.03, y);
        cairo_line_to(cr, 0.34 + k * 0.02, y);
        cairo_stroke(cr);
    }
    cairo_move_to(cr, 0.6, 0.12);
    cairo_line_to(cr, 0.33, 0.52);
    cairo_line_to(cr, 0.5, 0.52);
    cairo_line_to(cr, 0.4, 0.88);
    cairo_line_to(cr, 0.78, 0.42);
    cairo_line_to(cr, 0.59, 0.42);
    cairo_line_to(cr, 0.72, 0.12);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0.3, 0.1, 0.7, 0.9);
    cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.97, 0.6);
    cairo_pattern_add_color_stop_rgb(p, 1, 1.0, 0.78, 0.1);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    setColour(cr, outlineColour);
    cairo_set_line_width(cr, 0.03);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void wallIcon(cairo_t* cr) {
    const double left = 0.17, top = 0.27, width = 0.66, rowHeight = 0.13;
    roundedRect(cr, left - 0.02, top - 0.02, width + 0.04, rowHeight * 4 + 0.04, 0.03);
    outlinedFill(cr, rgb(226, 214, 196), 0.03);
    for (int row = 0; row < 4; ++row) {
        const double shift = (row % 2) ? 0.11 : 0.0;
        double x = left - shift;
        while (x < left + width - 0.01) {
            const double x0 = std::max(x, left);
            const double x1 = std::min(x + 0.22, left + width);
            roundedRect(cr, x0 + 0.008, top + row * rowHeight + 0.008, x1 - x0 - 0.016,
                        rowHeight - 0.016, 0.015);
            const Colour brick =
                (row + static_cast<int>(x * 10)) % 3 ? rgb(200, 84, 58) : rgb(178, 70, 50);
            setColour(cr, brick);
            cairo_fill(cr);
            cairo_move_to(cr, x0 + 0.015, top + row * rowHeight + 0.02);
            cairo_line_to(cr, x1 - 0.015, top + row * rowHeight + 0.02);
            setColour(cr, {1, 1, 1}, 0.35);
            cairo_set_line_width(cr, 0.012);
            cairo_stroke(cr);
            x += 0.22;
        }
    }
}

void trapIcon(cairo_t* cr) {
    const Colour purple = rgb(138, 56, 196);
    // A chain to the peg it is staked with.
    cairo_set_line_width(cr, 0.022);
    for (int k = 0; k < 3; ++k) {
        cairo_save(cr);
        cairo_translate(cr, 0.8 + k * 0.045, 0.78 + k * 0.03);
        cairo_scale(cr, 0.035, 0.022);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        setColour(cr, rgb(90, 70, 110));
        cairo_stroke(cr);
    }
    // Base plate.
    cairo_save(cr);
    cairo_translate(cr, 0.5, 0.74);
    cairo_scale(cr, 0.36, 0.09);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    outlinedFill(cr, shade(purple, -0.35), 0.025);
    // The spring and the trigger plate.
    cairo_move_to(cr, 0.5, 0.74);
    for (int k = 1; k <= 4; ++k) {
        cairo_line_to(cr, 0.5 + ((k % 2) ? 0.04 : -0.04), 0.74 - k * 0.02);
    }
    setColour(cr, outlineColour);
    cairo_set_line_width(cr, 0.02);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, 0.5, 0.64);
    cairo_scale(cr, 0.13, 0.04);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    outlinedFill(cr, rgb(200, 160, 240), 0.02);
    // Two jaws sprung open, their teeth facing each other.
    const double cx = 0.5, cy = 0.72, outer = 0.36, inner = 0.29, tooth = 0.1;
    for (int side = 0; side < 2; ++side) {
        const double a0 = side == 0 ? M_PI : 1.5 * M_PI + 0.2;
        const double a1 = side == 0 ? 1.5 * M_PI - 0.2 : 2 * M_PI;
        const int teeth = 4;
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, outer, a0, a1);
        for (int k = teeth; k > 0; --k) {
            const double valley = a0 + (a1 - a0) * k / teeth;
            const double tip = a0 + (a1 - a0) * (k - 0.5) / teeth;
            cairo_line_to(cr, cx + std::cos(valley) * inner, cy + std::sin(valley) * inner);
            cairo_line_to(cr, cx + std::cos(tip) * (inner - tooth),
                          cy + std::sin(tip) * (inner - tooth));
        }
        cairo_line_to(cr, cx + std::cos(a0) * inner, cy + std::sin(a0) * inner);
        cairo_close_path(cr);
        outlinedFill(cr, purple, 0.025);
        cairo_arc(cr, cx, cy, outer - 0.018, a0 + 0.05, a1 - 0.05);
        setColour(cr, {1, 1, 1}, 0.45);
        cairo_set_line_width(cr, 0.014);
        cairo_stroke(cr);
    }
}

} // namespace

void drawBomb(cairo_t* cr, double x, double y, double radius) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, radius, radius);
    // Fuse first so the ball covers its root.
    cairo_move_to(cr, 0.45, -0.85);
    cairo_curve_to(cr, 0.7, -1.35, 1.05, -1.1, 1.0, -1.45);
    setColour(cr, rgb(120, 90, 60));
    cairo_set_line_width(cr, 0.12);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, 0.5, -0.85);
    cairo_rotate(cr, 0.6);
    roundedRect(cr, -0.22, -0.16, 0.44, 0.3, 0.05);
    cairo_restore(cr);
    setColour(cr, rgb(90, 90, 100));
    cairo_fill_preserve(cr);
    setColour(cr, outlineColour);
    cairo_set_line_width(cr, 0.07);
    cairo_stroke(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    setColour(cr, outlineColour);
    cairo_set_line_width(cr, 0.1);
    cairo_stroke(cr);
    shadedBall(cr, 0, 0, 1, rgb(50, 52, 66));
    cairo_save(cr);
    cairo_translate(cr, -0.38, -0.4);
    cairo_rotate(cr, -0.7);
    cairo_scale(cr, 0.28, 0.14);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    setColour(cr, {1, 1, 1}, 0.7);
    cairo_fill(cr);
    spark(cr, 1.0, -1.45, 0.42);
    cairo_restore(cr);
}

void drawItemCard(cairo_t* cr, ItemCard card) {
    cairo_save(cr);
    switch (card) {
    case ItemCard::Bomb:
        cardBackground(cr, rgb(96, 176, 240));
        bombIcon(cr);
        break;
    case ItemCard::Speed:
        cardBackground(cr, rgb(72, 186, 96));
        speedIcon(cr);
        break;
    case ItemCard::Fire:
        cardBackground(cr, rgb(252, 212, 84));
        flame(cr, 0.5, 0.84, 0.66, 0.3);
        break;
    case ItemCard::MaxFire:
        cardBackground(cr, rgb(214, 52, 52));
        flame(cr, 0.5, 0.72, 0.62, 0.36);
        selectFont(cr, 0.24);
        outlinedText(cr, "MAX", 0.5, 0.8, {1, 1, 1}, outlineColour, 0.05);
        break;
    case ItemCard::Wall:
        cardBackground(cr, rgb(120, 196, 206));
        wallIcon(cr);
        break;
    case ItemCard::Trap:
        cardBackground(cr, rgb(226, 206, 248));
        trapIcon(cr);
        break;
    }
    cairo_restore(cr);
}

Picture paintItemCard(ItemCard card) {
    Canvas canvas(256, 256);
    cairo_scale(canvas.cr(), 256, 256);
    drawItemCard(canvas.cr(), card);
    return canvas.picture();
}

} // namespace assetgen
