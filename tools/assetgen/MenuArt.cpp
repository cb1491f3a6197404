#include "MenuArt.h"

#include <cmath>
#include <string>
#include <vector>

namespace assetgen {
namespace {

// Letter-spaced white label centred on (cx, cy). It is then nudged sideways so that the gap
// between two letters nearest the middle falls on x = keepClear: the very centre of a button
// shows its face colour, which is how a test finds the button where the click area is.
void drawLabel(cairo_t* cr, const char* label, double size, double cx, double cy, double keepClear,
               double outline) {
    const std::string text(label);
    selectFont(cr, size);
    const double tracking = 0.18 * size;
    std::vector<double> pen, inkLeft, inkRight;
    double at = 0;
    double top = 0, bottom = 0;
    for (char c : text) {
        const char glyph[2] = {c, 0};
        cairo_text_extents_t ext;
        cairo_text_extents(cr, glyph, &ext);
        pen.push_back(at);
        inkLeft.push_back(at + ext.x_bearing);
        inkRight.push_back(at + ext.x_bearing + ext.width);
        top = std::min(top, ext.y_bearing);
        bottom = std::max(bottom, ext.y_bearing + ext.height);
        at += ext.x_advance + tracking;
    }
    double shift = cx - (inkLeft.front() + inkRight.back()) / 2;
    double best = 1e9;
    for (std::size_t k = 0; k + 1 < text.size(); ++k) {
        const double gap = (inkRight[k] + inkLeft[k + 1]) / 2 + shift;
        if (std::abs(gap - keepClear) < std::abs(best)) {
            best = gap - keepClear;
        }
    }
    if (text.size() > 1) {
        shift -= best;
    }
    const double baseline = cy - (top + bottom) / 2;
    cairo_new_path(cr);
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char glyph[2] = {text[k], 0};
        cairo_move_to(cr, pen[k] + shift, baseline);
        cairo_text_path(cr, glyph);
    }
    setColour(cr, rgb(40, 30, 40));
    cairo_set_line_width(cr, outline);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    setColour(cr, {1, 1, 1});
    cairo_fill(cr);
}

} // namespace

void enterMenuSpace(cairo_t* cr, const menuart::PictureExtent& extent) {
    cairo_identity_matrix(cr);
    cairo_scale(cr, extent.pixels / (2 * extent.halfWidth),
                extent.pixels / (2 * extent.halfHeight));
    cairo_translate(cr, extent.halfWidth, extent.halfHeight);
}

void drawMenuButton(cairo_t* cr, const menuart::MenuRect& button, menuart::ButtonColour face,
                    const char* label) {
    const Colour faceColour = rgb(face.r, face.g, face.b);
    const double outline = 0.04;
    const double drop = 0.05;
    const double w = button.right - button.left;
    const double h = button.top - button.bottom;
    const double corner = h * 0.3;
    // The shadow sits in the lower right, the raised face in the upper left, both inside.
    roundedRect(cr, button.left + drop, -button.top + drop, w - drop, h - drop, corner);
    setColour(cr, {0.1, 0.08, 0.12}, 0.45);
    cairo_fill(cr);
    const double x = button.left + outline / 2;
    const double y = -button.top + outline / 2;
    const double fw = w - drop - outline;
    const double fh = h - drop - outline;
    roundedRect(cr, x, y, fw, fh, corner);
    setColour(cr, faceColour);
    cairo_fill_preserve(cr);
    setColour(cr, rgb(40, 30, 40));
    cairo_set_line_width(cr, outline);
    cairo_stroke(cr);
    // A gloss band across the top third.
    roundedRect(cr, x + fh * 0.12, y + fh * 0.08, fw - fh * 0.24, fh * 0.26, fh * 0.13);
    setColour(cr, {1, 1, 1}, 0.35);
    cairo_fill(cr);
    drawLabel(cr, label, fh * 0.56, x + fw / 2, y + fh * 0.54, (button.left + button.right) / 2,
              fh * 0.08);
}

void drawPanel(cairo_t* cr, const menuart::MenuRect& panel, Colour tint) {
    const double w = panel.right - panel.left;
    const double h = panel.top - panel.bottom;
    roundedRect(cr, panel.left + 0.06, -panel.top + 0.08, w, h, 0.22);
    setColour(cr, {0.1, 0.1, 0.15}, 0.3);
    cairo_fill(cr);
    roundedRect(cr, panel.left, -panel.top, w, h, 0.22);
    setColour(cr, mix(tint, {1, 1, 1}, 0.82), 0.95);
    cairo_fill_preserve(cr);
    setColour(cr, shade(tint, -0.2));
    cairo_set_line_width(cr, 0.05);
    cairo_stroke(cr);
}

} // namespace assetgen
