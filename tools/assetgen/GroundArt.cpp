#include "Art.h"
#include "Paint.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

constexpr int tileSize = 256;

// Two octaves of repeating noise over the tile: broad patches and a finer mottle.
double patchNoise(double x, double y, std::uint32_t seed) {
    const double broad = tileNoise(x / 64.0, y / 64.0, 4, seed);
    const double fine = tileNoise(x / 16.0, y / 16.0, 16, seed + 7);
    return broad * 0.7 + fine * 0.3;
}

void grassBlades(cairo_t* cr, Dice& dice, int count, Colour dark, Colour light, double length) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < count; ++i) {
        const double x = dice.range(0, tileSize);
        const double y = dice.range(0, tileSize);
        const double len = dice.range(0.6, 1.0) * length;
        const double lean = dice.range(-0.5, 0.5);
        const Colour c = mix(dark, light, dice.uniform());
        const double alpha = dice.range(0.45, 0.8);
        const double width = dice.range(1.2, 2.2);
        drawWrapped(tileSize, x, y, len + 2, [&](double px, double py) {
            cairo_move_to(cr, px, py);
            cairo_curve_to(cr, px + lean * len * 0.2, py - len * 0.5, px + lean * len * 0.6,
                           py - len * 0.8, px + lean * len, py - len);
            setColour(cr, c, alpha);
            cairo_set_line_width(cr, width);
            cairo_stroke(cr);
        });
    }
}

void flower(cairo_t* cr, double x, double y, double radius, Colour petal, Colour heart,
            double turn) {
    setColour(cr, {0, 0.2, 0}, 0.25);
    cairo_arc(cr, x + 1.5, y + 2, radius * 1.9, 0, 2 * M_PI);
    cairo_fill(cr);
    for (int k = 0; k < 5; ++k) {
        const double a = turn + k * 2 * M_PI / 5;
        const double px = x + std::cos(a) * radius;
        const double py = y + std::sin(a) * radius;
        setColour(cr, petal);
        cairo_arc(cr, px, py, radius * 0.95, 0, 2 * M_PI);
        cairo_fill_preserve(cr);
        setColour(cr, shade(petal, -0.25), 0.6);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    }
    shadedBall(cr, x, y, radius * 0.75, heart);
}

void leaf(cairo_t* cr, double x, double y, double length, double angle, Colour colour) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    const double half = length / 2;
    const double width = length * 0.42;
    auto outline = [&] {
        cairo_move_to(cr, -half, 0);
        cairo_curve_to(cr, -half * 0.4, -width, half * 0.4, -width, half, 0);
        cairo_curve_to(cr, half * 0.4, width, -half * 0.4, width, -half, 0);
        cairo_close_path(cr);
    };
    cairo_translate(cr, 1.5, 2);
    outline();
    setColour(cr, {0.2, 0.12, 0}, 0.3);
    cairo_fill(cr);
    cairo_translate(cr, -1.5, -2);
    outline();
    cairo_pattern_t* p = cairo_pattern_create_linear(0, -width, 0, width);
    const Colour top = shade(colour, 0.25);
    const Colour bottom = shade(colour, -0.15);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    setColour(cr, shade(colour, -0.4));
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_move_to(cr, -half - length * 0.12, 0);
    cairo_line_to(cr, half * 0.8, 0);
    cairo_stroke(cr);
    cairo_restore(cr);
}

Picture springSummerGround() {
    Canvas canvas(tileSize, tileSize);
    const Colour deep = rgb(78, 160, 52);
    const Colour bright = rgb(124, 196, 70);
    canvas.fillPixels([&](double x, double y) { return mix(deep, bright, patchNoise(x, y, 11)); });
    cairo_t* cr = canvas.cr();
    Dice dice(101);
    grassBlades(cr, dice, 900, rgb(52, 128, 40), rgb(160, 220, 96), 11);
    const Colour petals[] = {rgb(255, 255, 255), rgb(255, 226, 70), rgb(250, 150, 190),
                             rgb(170, 190, 255)};
    for (int i = 0; i < 16; ++i) {
        const double x = dice.range(0, tileSize);
        const double y = dice.range(0, tileSize);
        const double r = dice.range(3.0, 4.6);
        const Colour petal = petals[dice.below(4)];
        const double turn = dice.range(0, 2 * M_PI);
        drawWrapped(tileSize, x, y, r * 3, [&](double px, double py) {
            flower(cr, px, py, r, petal, rgb(255, 170, 30), turn);
        });
    }
    return canvas.picture();
}

Picture autumnGround() {
    Canvas canvas(tileSize, tileSize);
    const Colour olive = rgb(138, 132, 58);
    const Colour ochre = rgb(186, 150, 72);
    canvas.fillPixels([&](double x, double y) { return mix(olive, ochre, patchNoise(x, y, 23)); });
    cairo_t* cr = canvas.cr();
    Dice dice(202);
    grassBlades(cr, dice, 700, rgb(104, 100, 40), rgb(205, 176, 96), 10);
    const Colour leaves[] = {rgb(232, 122, 36), rgb(206, 66, 40), rgb(240, 184, 52),
                             rgb(160, 92, 44)};
    for (int i = 0; i < 34; ++i) {
        const double x = dice.range(0, tileSize);
        const double y = dice.range(0, tileSize);
        const double len = dice.range(14, 24);
        const double angle = dice.range(0, 2 * M_PI);
        const Colour c = leaves[dice.below(4)];
        drawWrapped(tileSize, x, y, len,
                    [&](double px, double py) { leaf(cr, px, py, len, angle, c); });
    }
    return canvas.picture();
}

Picture winterGround() {
    Canvas canvas(tileSize, tileSize);
    const Colour snow = rgb(248, 251, 255);
    const Colour shadow = rgb(178, 200, 236);
    canvas.fillPixels([&](double x, double y) {
        const double n = tileNoise(x / 64.0, y / 64.0, 4, 37) * 0.85 +
                         tileNoise(x / 32.0, y / 32.0, 8, 38) * 0.15;
        // Shadows gather in the hollows only, so most of the tile stays bright.
        const double hollow = std::clamp((0.5 - n) * 2.5, 0.0, 1.0);
        return mix(snow, shadow, hollow * 0.9);
    });
    cairo_t* cr = canvas.cr();
    Dice dice(303);
    // Soft mounds of drifted snow, each with its blue shadow on the side away from the light.
    for (int i = 0; i < 14; ++i) {
        const double x = dice.range(0, tileSize);
        const double y = dice.range(0, tileSize);
        const double r = dice.range(14, 30);
        drawWrapped(tileSize, x, y, r * 1.6, [&](double px, double py) {
            cairo_save(cr);
            cairo_translate(cr, px, py);
            cairo_scale(cr, 1.5, 1.0);
            cairo_pattern_t* dark =
                cairo_pattern_create_radial(r * 0.25, r * 0.3, 0, r * 0.25, r * 0.3, r);
            cairo_pattern_add_color_stop_rgba(dark, 0, 0.62, 0.72, 0.9, 0.45);
            cairo_pattern_add_color_stop_rgba(dark, 1, 0.62, 0.72, 0.9, 0);
            cairo_set_source(cr, dark);
            cairo_arc(cr, r * 0.25, r * 0.3, r, 0, 2 * M_PI);
            cairo_fill(cr);
            cairo_pattern_destroy(dark);
            cairo_pattern_t* lit =
                cairo_pattern_create_radial(-r * 0.15, -r * 0.2, 0, -r * 0.15, -r * 0.2, r * 0.85);
            cairo_pattern_add_color_stop_rgba(lit, 0, 1, 1, 1, 0.95);
            cairo_pattern_add_color_stop_rgba(lit, 1, 1, 1, 1, 0);
            cairo_set_source(cr, lit);
            cairo_arc(cr, -r * 0.15, -r * 0.2, r * 0.85, 0, 2 * M_PI);
            cairo_fill(cr);
            cairo_pattern_destroy(lit);
            cairo_restore(cr);
        });
    }
    for (int i = 0; i < 70; ++i) {
        const double x = dice.range(0, tileSize);
        const double y = dice.range(0, tileSize);
        const double r = dice.range(0.8, 1.8);
        drawWrapped(tileSize, x, y, r, [&](double px, double py) {
            setColour(cr, {1, 1, 1});
            cairo_arc(cr, px, py, r, 0, 2 * M_PI);
            cairo_fill(cr);
        });
    }
    return canvas.picture();
}

} // namespace

Picture paintGround(Season season) {
    switch (season) {
    case Season::SpringSummer:
        return springSummerGround();
    case Season::Autumn:
        return autumnGround();
    case Season::Winter:
        break;
    }
    return winterGround();
}

} // namespace assetgen
