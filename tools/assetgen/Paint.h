#pragma once
#include "Picture.h"

#include <cairo.h>
#include <cstdint>
#include <functional>

namespace assetgen {

struct Colour {
    double r, g, b;
};

constexpr Colour rgb(int r, int g, int b) {
    return {r / 255.0, g / 255.0, b / 255.0};
}
Colour mix(Colour a, Colour b, double f);
// Positive amounts lighten toward white, negative ones darken toward black.
Colour shade(Colour c, double amount);
void setColour(cairo_t* cr, Colour c, double alpha = 1.0);

// A small deterministic random source, so that every run paints the same picture.
class Dice {
  public:
    explicit Dice(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    double uniform(); // [0, 1)
    double range(double low, double high) { return low + (high - low) * uniform(); }
    int below(int n) { return static_cast<int>(uniform() * n); }

  private:
    std::uint64_t state_;
};

// An opaque Cairo image surface with its drawing context.
class Canvas {
  public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Sets every pixel from a function of its centre (x + 0.5, y + 0.5).
    void fillPixels(const std::function<Colour(double, double)>& colourAt);
    Picture picture() const;

  private:
    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);

// Smooth value noise in [0, 1] that repeats every `period` lattice units in x and y.
double tileNoise(double x, double y, int period, std::uint32_t seed);

// Calls draw(x, y) at the point and at its copies one tile away wherever a shape of the given
// reach would cross the tile's border, so the tile repeats without a seam.
void drawWrapped(double size, double x, double y, double reach,
                 const std::function<void(double, double)>& draw);

// A ball lit from the upper left: radial gradient from a highlight to the shadowed rim.
void shadedBall(cairo_t* cr, double x, double y, double radius, Colour colour);

// Text centred on (x, y) in the current font, filled with `fill` over a dark outline of the
// given width (0 for none).
void outlinedText(cairo_t* cr, const char* text, double x, double y, Colour fill, Colour outline,
                  double outlineWidth);
void selectFont(cairo_t* cr, double size, bool bold = true);

} // namespace assetgen
