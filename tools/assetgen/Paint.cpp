#include "Paint.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen {

Colour mix(Colour a, Colour b, double f) {
    return {a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f};
}

Colour shade(Colour c, double amount) {
    return amount >= 0 ? mix(c, {1, 1, 1}, amount) : mix(c, {0, 0, 0}, -amount);
}

void setColour(cairo_t* cr, Colour c, double alpha) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

std::uint64_t Dice::next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

double Dice::uniform() {
    return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
      cr_(cairo_create(surface_)) {
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot create a drawing surface");
    }
    cairo_set_source_rgb(cr_, 0, 0, 0);
    cairo_paint(cr_);
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void Canvas::fillPixels(const std::function<Colour(double, double)>& colourAt) {
    cairo_surface_flush(surface_);
    unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    auto toByte = [](double v) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
    };
    for (int y = 0; y < height_; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width_; ++x) {
            Colour c = colourAt(x + 0.5, y + 0.5);
            row[x] = 0xff000000u | (toByte(c.r) << 16) | (toByte(c.g) << 8) | toByte(c.b);
        }
    }
    cairo_surface_mark_dirty(surface_);
}

Picture Canvas::picture() const {
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    Picture out(width_, height_);
    for (int y = 0; y < height_; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width_; ++x) {
            std::uint8_t* p = out.at(x, y);
            p[0] = static_cast<std::uint8_t>((row[x] >> 16) & 0xff);
            p[1] = static_cast<std::uint8_t>((row[x] >> 8) & 0xff);
            p[2] = static_cast<std::uint8_t>(row[x] & 0xff);
        }
    }
    return out;
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
    radius = std::min({radius, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

namespace {

double latticeValue(int x, int y, int period, std::uint32_t seed) {
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffffff) / static_cast<double>(0xffffff);
}

double smooth(double t) {
    return t * t * (3 - 2 * t);
}

} // namespace

double tileNoise(double x, double y, int period, std::uint32_t seed) {
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = smooth(x - x0);
    const double fy = smooth(y - y0);
    const double a = latticeValue(x0, y0, period, seed);
    const double b = latticeValue(x0 + 1, y0, period, seed);
    const double c = latticeValue(x0, y0 + 1, period, seed);
    const double d = latticeValue(x0 + 1, y0 + 1, period, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

void drawWrapped(double size, double x, double y, double reach,
                 const std::function<void(double, double)>& draw) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const double px = x + dx * size;
            const double py = y + dy * size;
            if (px + reach < 0 || px - reach > size || py + reach < 0 || py - reach > size) {
                continue;
            }
            draw(px, py);
        }
    }
}

void shadedBall(cairo_t* cr, double x, double y, double radius, Colour colour) {
    cairo_pattern_t* p = cairo_pattern_create_radial(x - radius * 0.35, y - radius * 0.4,
                                                     radius * 0.1, x, y, radius);
    Colour light = shade(colour, 0.55);
    Colour dark = shade(colour, -0.3);
    cairo_pattern_add_color_stop_rgb(p, 0, light.r, light.g, light.b);
    cairo_pattern_add_color_stop_rgb(p, 0.55, colour.r, colour.g, colour.b);
    cairo_pattern_add_color_stop_rgb(p, 1, dark.r, dark.g, dark.b);
    cairo_set_source(cr, p);
    cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void selectFont(cairo_t* cr, double size, bool bold) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

void outlinedText(cairo_t* cr, const char* text, double x, double y, Colour fill, Colour outline,
                  double outlineWidth) {
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text, &ext);
    cairo_new_path(cr);
    cairo_move_to(cr, x - ext.width / 2 - ext.x_bearing, y - ext.height / 2 - ext.y_bearing);
    cairo_text_path(cr, text);
    if (outlineWidth > 0) {
        setColour(cr, outline);
        cairo_set_line_width(cr, outlineWidth);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    setColour(cr, fill);
    cairo_fill(cr);
}

} // namespace assetgen
