#include "Art.h"
#include "Paint.h"

#include <cmath>
#include <vector>

namespace assetgen {
namespace {

constexpr int backdropWidth = 512;
constexpr int backdropHeight = 256;

struct SeasonLook {
    Colour skyTop, skyHorizon;
    double cloudAlpha;
    Colour farHill, nearHillTop, nearHillBottom, meadow;
    Colour crowns[3];
    Colour trunk;
    Colour conifer;
    bool snowCaps;
};

// Where things stand, as fractions of the height from the top. The same layout serves every
// season so that the blend steps between seasons do not ghost.
struct Layout {
    double farLine, farSwell, nearLine, nearSwell, meadowLine, treeSize;
    int trees;
    std::uint64_t seed;
};

SeasonLook lookOf(Season season) {
    switch (season) {
    case Season::SpringSummer:
        return {rgb(74, 148, 228),
                rgb(196, 228, 250),
                0.95,
                rgb(136, 190, 132),
                rgb(104, 184, 70),
                rgb(58, 132, 46),
                rgb(92, 170, 58),
                {rgb(44, 124, 52), rgb(70, 152, 58), rgb(96, 170, 64)},
                rgb(110, 74, 40),
                rgb(34, 104, 56),
                false};
    case Season::Autumn:
        return {rgb(108, 160, 214),
                rgb(242, 226, 196),
                0.85,
                rgb(204, 160, 110),
                rgb(204, 134, 56),
                rgb(140, 84, 38),
                rgb(176, 140, 64),
                {rgb(226, 118, 38), rgb(192, 70, 40), rgb(232, 176, 56)},
                rgb(90, 56, 30),
                rgb(60, 96, 52),
                false};
    case Season::Winter:
        break;
    }
    return {rgb(160, 190, 226),
            rgb(236, 242, 250),
            0.7,
            rgb(214, 226, 244),
            rgb(252, 253, 255),
            rgb(196, 212, 240),
            rgb(240, 245, 252),
            {rgb(226, 234, 246), rgb(206, 220, 240), rgb(236, 240, 250)},
            rgb(104, 88, 80),
            rgb(44, 90, 70),
            true};
}

// Rolling line that repeats across the picture's width (whole waves only).
double ridge(double x, double base, double swell, double phase) {
    const double t = 2 * M_PI * x / backdropWidth;
    return base - swell * (0.55 * std::sin(2 * t + phase) + 0.3 * std::sin(3 * t + 1.7 * phase) +
                           0.15 * std::sin(7 * t + 0.4));
}

void fillUnder(cairo_t* cr, double line, double swell, double phase, cairo_pattern_t* paint) {
    cairo_move_to(cr, 0, backdropHeight);
    for (int x = 0; x <= backdropWidth; x += 2) {
        cairo_line_to(cr, x, ridge(x, line, swell, phase));
    }
    cairo_line_to(cr, backdropWidth, backdropHeight);
    cairo_close_path(cr);
    cairo_set_source(cr, paint);
    cairo_fill(cr);
}

cairo_pattern_t* verticalGradient(double y0, Colour a, double y1, Colour b) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
    cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
    return p;
}

void cloud(cairo_t* cr, double x, double y, double size, double alpha) {
    const double puffs[][3] = {{-1.0, 0.15, 0.5},
                               {-0.45, -0.2, 0.65},
                               {0.2, -0.3, 0.75},
                               {0.85, 0.05, 0.55},
                               {0.25, 0.2, 0.6}};
    for (const auto& p : puffs) {
        setColour(cr, rgb(170, 190, 215), alpha * 0.35);
        cairo_arc(cr, x + p[0] * size, y + p[1] * size + size * 0.12, p[2] * size, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    for (const auto& p : puffs) {
        setColour(cr, {1, 1, 1}, alpha);
        cairo_arc(cr, x + p[0] * size, y + p[1] * size, p[2] * size, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

void roundTree(cairo_t* cr, double x, double y, double size, const SeasonLook& look, int hue) {
    setColour(cr, look.trunk);
    cairo_rectangle(cr, x - size * 0.09, y - size * 0.45, size * 0.18, size * 0.5);
    cairo_fill(cr);
    const Colour crown = look.crowns[hue % 3];
    const double blobs[][3] = {{0, -0.85, 0.42}, {-0.28, -0.62, 0.32}, {0.28, -0.6, 0.34}};
    for (const auto& b : blobs) {
        shadedBall(cr, x + b[0] * size, y + b[1] * size, b[2] * size, crown);
    }
}

void conifer(cairo_t* cr, double x, double y, double size, const SeasonLook& look) {
    setColour(cr, look.trunk);
    cairo_rectangle(cr, x - size * 0.06, y - size * 0.2, size * 0.12, size * 0.25);
    cairo_fill(cr);
    for (int tier = 0; tier < 3; ++tier) {
        const double base = y - size * (0.15 + tier * 0.3);
        const double half = size * (0.36 - tier * 0.08);
        const double top = base - size * 0.48;
        cairo_move_to(cr, x - half, base);
        cairo_line_to(cr, x, top);
        cairo_line_to(cr, x + half, base);
        cairo_close_path(cr);
        cairo_pattern_t* p = cairo_pattern_create_linear(x - half, 0, x + half, 0);
        const Colour lit = shade(look.conifer, 0.2);
        const Colour dark = shade(look.conifer, -0.25);
        cairo_pattern_add_color_stop_rgb(p, 0, lit.r, lit.g, lit.b);
        cairo_pattern_add_color_stop_rgb(p, 1, dark.r, dark.g, dark.b);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        if (look.snowCaps) {
            cairo_move_to(cr, x - half * 0.45, top + size * 0.26);
            cairo_line_to(cr, x, top);
            cairo_line_to(cr, x + half * 0.45, top + size * 0.26);
            cairo_curve_to(cr, x + half * 0.2, top + size * 0.2, x - half * 0.2, top + size * 0.3,
                           x - half * 0.45, top + size * 0.26);
            setColour(cr, {0.97, 0.98, 1});
            cairo_fill(cr);
        }
    }
}

struct TreeSpot {
    double x, depth, size;
    bool pointed;
    int hue;
};

Picture paintBackdrop(Season season, const Layout& layout) {
    const SeasonLook look = lookOf(season);
    Canvas canvas(backdropWidth, backdropHeight);
    cairo_t* cr = canvas.cr();
    const double h = backdropHeight;

    cairo_pattern_t* sky = verticalGradient(0, look.skyTop, layout.farLine * h, look.skyHorizon);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);

    Dice dice(layout.seed);
    for (int i = 0; i < 5; ++i) {
        const double x = dice.range(0, backdropWidth);
        const double y = dice.range(0.1, layout.farLine * 0.55) * h;
        const double size = dice.range(9, 16);
        drawWrapped(backdropWidth, x, y, size * 2.2,
                    [&](double px, double py) { cloud(cr, px, py, size, look.cloudAlpha); });
    }

    cairo_pattern_t* far =
        verticalGradient(layout.farLine * h - 20, shade(look.farHill, 0.15), h, look.farHill);
    fillUnder(cr, layout.farLine * h, layout.farSwell * h, 0.9, far);
    cairo_pattern_destroy(far);

    // Trees on the far hills stay small and hazy; those on the near hills are larger.
    std::vector<TreeSpot> spots;
    for (int i = 0; i < layout.trees; ++i) {
        spots.push_back({dice.range(0, backdropWidth), dice.uniform(), dice.range(0.75, 1.25),
                         dice.uniform() < 0.4, dice.below(3)});
    }
    SeasonLook hazy = look;
    for (Colour& c : hazy.crowns) {
        c = mix(c, look.farHill, 0.45);
    }
    hazy.conifer = mix(look.conifer, look.farHill, 0.45);
    hazy.trunk = mix(look.trunk, look.farHill, 0.45);
    for (const TreeSpot& t : spots) {
        if (t.depth < 0.5) {
            continue;
        }
        const double size = layout.treeSize * h * 0.55 * t.size;
        const double y = ridge(t.x, layout.farLine * h, layout.farSwell * h, 0.9) + size * 0.25;
        drawWrapped(backdropWidth, t.x, y, size, [&](double px, double py) {
            t.pointed ? conifer(cr, px, py, size, hazy) : roundTree(cr, px, py, size, hazy, t.hue);
        });
    }

    cairo_pattern_t* near = verticalGradient(layout.nearLine * h - layout.nearSwell * h,
                                             look.nearHillTop, h, look.nearHillBottom);
    fillUnder(cr, layout.nearLine * h, layout.nearSwell * h, 2.4, near);
    cairo_pattern_destroy(near);

    for (const TreeSpot& t : spots) {
        if (t.depth >= 0.5) {
            continue;
        }
        const double size = layout.treeSize * h * t.size;
        const double y = ridge(t.x, layout.nearLine * h, layout.nearSwell * h, 2.4) + size * 0.3 +
                         t.depth * size * 0.6;
        drawWrapped(backdropWidth, t.x, y, size, [&](double px, double py) {
            t.pointed ? conifer(cr, px, py, size, look) : roundTree(cr, px, py, size, look, t.hue);
        });
    }

    // The meadow in front, where the backdrop meets the hedges.
    cairo_pattern_t* meadow = verticalGradient(layout.meadowLine * h, shade(look.meadow, 0.1), h,
                                               shade(look.meadow, -0.15));
    fillUnder(cr, layout.meadowLine * h, 0.02 * h, 4.1, meadow);
    cairo_pattern_destroy(meadow);
    return canvas.picture();
}

} // namespace

Picture paintOverviewBackdrop(Season season) {
    return paintBackdrop(season, {0.42, 0.08, 0.58, 0.08, 0.86, 0.16, 34, 4242});
}

Picture paintEyeLevelBackdrop(Season season) {
    return paintBackdrop(season, {0.6, 0.06, 0.74, 0.07, 0.93, 0.13, 30, 5151});
}

} // namespace assetgen
