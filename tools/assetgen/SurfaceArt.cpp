#include "Art.h"
#include "Paint.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

constexpr int tileSize = 256;

// One block of a laid pattern (paving stone, brick or wall stone): a rounded block with a lit
// upper-left edge and a shadowed lower-right edge.
void block(cairo_t* cr, double x, double y, double w, double h, double corner, Colour face) {
    roundedRect(cr, x + 1.5, y + 2, w, h, corner);
    setColour(cr, shade(face, -0.45), 0.55);
    cairo_fill(cr);
    roundedRect(cr, x, y, w, h, corner);
    cairo_pattern_t* p = cairo_pattern_create_linear(x, y, x + w * 0.3, y + h);
    const Colour lit = shade(face, 0.18);
    const Colour dark = shade(face, -0.12);
    cairo_pattern_add_color_stop_rgb(p, 0, lit.r, lit.g, lit.b);
    cairo_pattern_add_color_stop_rgb(p, 1, dark.r, dark.g, dark.b);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    roundedRect(cr, x + 2, y + 2, w - 4, h - 4, corner * 0.7);
    setColour(cr, {1, 1, 1}, 0.18);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

// Speckles scattered over the tile, seamless.
void speckle(cairo_t* cr, Dice& dice, int count, Colour colour, double alpha) {
    for (int i = 0; i < count; ++i) {
        const double x = dice.range(0, tileSize);
        const double y = dice.range(0, tileSize);
        const double r = dice.range(0.6, 1.6);
        setColour(cr, colour, alpha * dice.range(0.4, 1.0));
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

// A running bond of blocks: `columns` blocks per row, every other row shifted by half a block,
// laid so that the tile repeats.
void runningBond(cairo_t* cr, Dice& dice, int columns, int rows, double mortar, double corner,
                 Colour face, double variation) {
    const double w = static_cast<double>(tileSize) / columns;
    const double h = static_cast<double>(tileSize) / rows;
    for (int row = 0; row < rows; ++row) {
        const double shift = (row % 2) * w / 2;
        for (int col = -1; col < columns; ++col) {
            const Colour c = shade(face, dice.range(-variation, variation));
            const double x = col * w + shift;
            block(cr, x + mortar / 2, row * h + mortar / 2, w - mortar, h - mortar, corner, c);
        }
    }
}

Picture layPattern(Colour mortar, Colour face, int columns, int rows, double gap, double corner,
                   double variation, std::uint64_t seed) {
    Canvas canvas(tileSize, tileSize);
    canvas.fillPixels([&](double x, double y) {
        return shade(mortar,
                     (tileNoise(x / 8, y / 8, 32, static_cast<std::uint32_t>(seed)) - 0.5) * 0.2);
    });
    Dice dice(seed);
    runningBond(canvas.cr(), dice, columns, rows, gap, corner, face, variation);
    speckle(canvas.cr(), dice, 500, shade(face, -0.5), 0.25);
    speckle(canvas.cr(), dice, 250, {1, 1, 1}, 0.25);
    return canvas.picture();
}

double smoothEdge(double r, double inner, double outer) {
    const double t = std::clamp((outer - r) / (outer - inner), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

} // namespace

Picture paintRoad() {
    return layPattern(rgb(150, 142, 128), rgb(226, 218, 200), 2, 4, 6, 6, 0.06, 4545);
}

Picture paintWallTop() {
    return layPattern(rgb(196, 186, 170), rgb(196, 96, 70), 2, 4, 8, 5, 0.1, 5656);
}

Picture paintWallSide() {
    // The side face is 0.8 wide and 0.3 high, so square blocks here read as long bricks there.
    return layPattern(rgb(200, 190, 174), rgb(188, 84, 60), 4, 4, 7, 4, 0.1, 5757);
}

Picture paintStoneWall() {
    return layPattern(rgb(120, 116, 108), rgb(178, 172, 160), 3, 5, 6, 10, 0.12, 5959);
}

Picture paintHedge() {
    Canvas canvas(tileSize, tileSize);
    canvas.fillPixels([](double x, double y) {
        return mix(rgb(30, 84, 34), rgb(46, 112, 44), tileNoise(x / 32, y / 32, 8, 58));
    });
    cairo_t* cr = canvas.cr();
    Dice dice(5858);
    const Colour greens[] = {rgb(54, 128, 50), rgb(72, 152, 60), rgb(96, 172, 70),
                             rgb(40, 108, 44)};
    // Layers of small leaves; the later layers are lighter so the hedge looks full and round.
    for (int layer = 0; layer < 4; ++layer) {
        for (int i = 0; i < 420; ++i) {
            const double x = dice.range(0, tileSize);
            const double y = dice.range(0, tileSize);
            const double len = dice.range(9, 15);
            const double angle = dice.range(0, 2 * M_PI);
            // Light falls from above: leaves near the top are brighter.
            const Colour c = shade(greens[dice.below(4)], 0.12 * layer - 0.15 * (y / tileSize));
            drawWrapped(tileSize, x, y, len, [&](double px, double py) {
                cairo_save(cr);
                cairo_translate(cr, px, py);
                cairo_rotate(cr, angle);
                cairo_scale(cr, len / 2, len / 4.5);
                cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
                cairo_restore(cr);
                setColour(cr, c);
                cairo_fill_preserve(cr);
                setColour(cr, shade(c, -0.35), 0.6);
                cairo_set_line_width(cr, 0.8);
                cairo_stroke(cr);
            });
        }
    }
    return canvas.picture();
}

Picture paintCheese() {
    Canvas canvas(tileSize, tileSize);
    canvas.fillPixels([](double x, double y) {
        return mix(rgb(255, 214, 70), rgb(246, 190, 48), tileNoise(x / 32, y / 32, 8, 49));
    });
    cairo_t* cr = canvas.cr();
    Dice dice(4949);
    for (int i = 0; i < 13; ++i) {
        const double x = dice.range(20, tileSize - 20);
        const double y = dice.range(20, tileSize - 20);
        const double r = dice.range(7, 20);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, 1.0, dice.range(0.8, 1.0));
        // A hole: dark rim at the top where the edge overhangs, a lit rim at the bottom.
        cairo_pattern_t* p = cairo_pattern_create_linear(0, -r, 0, r);
        cairo_pattern_add_color_stop_rgb(p, 0, 0.72, 0.5, 0.08);
        cairo_pattern_add_color_stop_rgb(p, 0.6, 0.86, 0.64, 0.14);
        cairo_pattern_add_color_stop_rgb(p, 1, 1.0, 0.9, 0.5);
        cairo_set_source(cr, p);
        cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        cairo_restore(cr);
    }
    // A thin waxy rind round the edge of every face.
    cairo_rectangle(cr, 3, 3, tileSize - 6, tileSize - 6);
    setColour(cr, rgb(232, 160, 36), 0.8);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    return canvas.picture();
}

Picture paintFireGlow() {
    Canvas canvas(tileSize, tileSize);
    const double c = tileSize / 2.0;
    canvas.fillPixels([&](double x, double y) {
        const double r = std::hypot(x - c, y - c) / c;
        const double glow = smoothEdge(r, 0.0, 0.96);
        const Colour hot = mix(rgb(255, 120, 20), rgb(255, 250, 230), smoothEdge(r, 0.05, 0.45));
        return Colour{hot.r * glow, hot.g * glow * glow, hot.b * glow * glow * glow};
    });
    return canvas.picture();
}

Picture paintFlake() {
    Canvas canvas(tileSize, tileSize);
    const double c = tileSize / 2.0;
    // A few overlapping soft lobes make the blob a little irregular, like a clump of snow.
    const double lobes[][3] = {
        {0, 0, 0.55}, {-0.18, -0.1, 0.4}, {0.2, -0.05, 0.38}, {0.05, 0.2, 0.4}, {-0.08, 0.14, 0.3}};
    canvas.fillPixels([&](double x, double y) {
        const double u = (x - c) / c;
        const double v = (y - c) / c;
        double density = 0;
        for (const auto& l : lobes) {
            const double d = std::hypot(u - l[0], v - l[1]) / l[2];
            density += std::exp(-2.2 * d * d);
        }
        const double level = std::min(1.0, density * 0.9) * smoothEdge(std::hypot(u, v), 0.5, 0.97);
        return Colour{level * 0.96, level * 0.98, level};
    });
    return canvas.picture();
}

} // namespace assetgen
