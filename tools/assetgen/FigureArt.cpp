#include "Art.h"
#include "Paint.h"

#include <cmath>

namespace assetgen {
namespace {

void ellipse(cairo_t* cr, double x, double y, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

void groundShadow(cairo_t* cr, double x, double y, double rx, double ry) {
    ellipse(cr, x, y, rx, ry);
    setColour(cr, {0.05, 0.15, 0.05}, 0.3);
    cairo_fill(cr);
}

void rim(cairo_t* cr, double x, double y, double r, double width) {
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    setColour(cr, rgb(40, 30, 40));
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

} // namespace

void drawFigure(cairo_t* cr, double x, double y, double size, double headR, double headG,
                double headB) {
    const Colour head{headR, headG, headB};
    const Colour white = rgb(246, 246, 250);
    const double s = size;
    const double line = s * 0.022;
    groundShadow(cr, x, y, s * 0.34, s * 0.07);
    // Feet and tail behind the body.
    for (int side = -1; side <= 1; side += 2) {
        rim(cr, x + side * s * 0.15, y - s * 0.07, s * 0.085, line);
        shadedBall(cr, x + side * s * 0.15, y - s * 0.07, s * 0.085, white);
    }
    rim(cr, x, y - s * 0.3, s * 0.25, line);
    shadedBall(cr, x, y - s * 0.3, s * 0.25, white);
    for (int side = -1; side <= 1; side += 2) {
        rim(cr, x + side * s * 0.24, y - s * 0.3, s * 0.06, line);
        shadedBall(cr, x + side * s * 0.24, y - s * 0.3, s * 0.06, white);
    }
    // Ears, then the head over their roots.
    for (int side = -1; side <= 1; side += 2) {
        const double ex = x + side * s * 0.19;
        const double ey = y - s * 0.84;
        rim(cr, ex, ey, s * 0.1, line);
        shadedBall(cr, ex, ey, s * 0.1, head);
        cairo_arc(cr, ex, ey, s * 0.055, 0, 2 * M_PI);
        setColour(cr, shade(head, -0.35));
        cairo_fill(cr);
    }
    rim(cr, x, y - s * 0.62, s * 0.23, line);
    shadedBall(cr, x, y - s * 0.62, s * 0.23, head);
    // The dark face with bright eyes, a pink nose and whiskers.
    ellipse(cr, x, y - s * 0.56, s * 0.15, s * 0.12);
    setColour(cr, rgb(34, 30, 38));
    cairo_fill(cr);
    for (int side = -1; side <= 1; side += 2) {
        ellipse(cr, x + side * s * 0.065, y - s * 0.6, s * 0.035, s * 0.045);
        setColour(cr, {1, 1, 1});
        cairo_fill(cr);
        cairo_arc(cr, x + side * s * 0.06, y - s * 0.595, s * 0.02, 0, 2 * M_PI);
        setColour(cr, rgb(20, 20, 30));
        cairo_fill(cr);
        cairo_arc(cr, x + side * s * 0.053, y - s * 0.607, s * 0.007, 0, 2 * M_PI);
        setColour(cr, {1, 1, 1});
        cairo_fill(cr);
        for (int k = 0; k < 2; ++k) {
            cairo_move_to(cr, x + side * s * 0.05, y - s * (0.52 - k * 0.02));
            cairo_line_to(cr, x + side * s * 0.2, y - s * (0.54 - k * 0.05));
        }
        setColour(cr, {1, 1, 1}, 0.9);
        cairo_set_line_width(cr, s * 0.008);
        cairo_stroke(cr);
    }
    ellipse(cr, x, y - s * 0.53, s * 0.025, s * 0.02);
    setColour(cr, rgb(255, 140, 170));
    cairo_fill(cr);
}

void drawCheeseWedge(cairo_t* cr, double x, double y, double size) {
    const double s = size;
    groundShadow(cr, x + s * 0.05, y, s * 0.55, s * 0.1);
    const Colour top = rgb(255, 222, 80);
    const Colour side = rgb(240, 180, 40);
    const Colour front = rgb(250, 200, 56);
    // Top face, the long side and the cut face of a wedge lying on the ground.
    cairo_move_to(cr, x - s * 0.5, y - s * 0.32);
    cairo_line_to(cr, x + s * 0.45, y - s * 0.5);
    cairo_line_to(cr, x + s * 0.2, y - s * 0.22);
    cairo_close_path(cr);
    setColour(cr, top);
    cairo_fill_preserve(cr);
    setColour(cr, rgb(120, 80, 20));
    cairo_set_line_width(cr, s * 0.03);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_move_to(cr, x - s * 0.5, y - s * 0.32);
    cairo_line_to(cr, x + s * 0.2, y - s * 0.22);
    cairo_line_to(cr, x + s * 0.2, y);
    cairo_line_to(cr, x - s * 0.5, y - s * 0.1);
    cairo_close_path(cr);
    setColour(cr, front);
    cairo_fill_preserve(cr);
    setColour(cr, rgb(120, 80, 20));
    cairo_stroke(cr);
    cairo_move_to(cr, x + s * 0.2, y - s * 0.22);
    cairo_line_to(cr, x + s * 0.45, y - s * 0.5);
    cairo_line_to(cr, x + s * 0.45, y - s * 0.28);
    cairo_line_to(cr, x + s * 0.2, y);
    cairo_close_path(cr);
    setColour(cr, side);
    cairo_fill_preserve(cr);
    setColour(cr, rgb(120, 80, 20));
    cairo_stroke(cr);
    const double holes[][3] = {{-0.28, -0.17, 0.05},
                               {-0.02, -0.09, 0.06},
                               {0.1, -0.33, 0.045},
                               {0.3, -0.2, 0.04},
                               {-0.15, -0.3, 0.03}};
    for (const auto& h : holes) {
        ellipse(cr, x + h[0] * s, y + h[1] * s, h[2] * s, h[2] * s * 0.8);
        setColour(cr, rgb(214, 150, 30));
        cairo_fill(cr);
    }
}

void drawCoin(cairo_t* cr, double x, double y, double radius) {
    cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
    setColour(cr, rgb(150, 100, 10));
    cairo_fill(cr);
    shadedBall(cr, x, y, radius * 0.9, rgb(250, 196, 40));
    cairo_arc(cr, x, y, radius * 0.65, 0, 2 * M_PI);
    setColour(cr, rgb(200, 140, 20));
    cairo_set_line_width(cr, radius * 0.1);
    cairo_stroke(cr);
    selectFont(cr, radius * 1.0);
    outlinedText(cr, "1", x, y, rgb(255, 236, 140), rgb(170, 110, 10), radius * 0.12);
}

} // namespace assetgen
