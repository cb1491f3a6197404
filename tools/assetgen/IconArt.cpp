#include "IconArt.h"

#include "Art.h"
#include "Paint.h"

#include <cmath>
#include <filesystem>
#include <stdexcept>

namespace assetgen {
namespace {

// The tile, in the unit square (0, 0)-(1, 1), y down.
constexpr double tileInset = 0.03;
constexpr double tileRadius = 0.18;

void tile(cairo_t* cr) {
    roundedRect(cr, tileInset, tileInset, 1 - 2 * tileInset, 1 - 2 * tileInset, tileRadius);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.22, 0.5, 0.9);
    cairo_pattern_add_color_stop_rgb(sky, 0.62, 0.8, 0.92, 1.0);
    cairo_pattern_add_color_stop_rgb(sky, 0.62, 0.42, 0.72, 0.3);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.3, 0.62, 0.2);
    cairo_set_source(cr, sky);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(sky);
    setColour(cr, rgb(40, 30, 60));
    cairo_set_line_width(cr, 0.025);
    cairo_stroke(cr);
}

void paintIcon(cairo_t* cr, int size) {
    cairo_scale(cr, size, size);
    tile(cr);
    // Everything else stays inside the tile's rounded border.
    roundedRect(cr, tileInset, tileInset, 1 - 2 * tileInset, 1 - 2 * tileInset, tileRadius);
    cairo_clip(cr);
    drawCheeseWedge(cr, 0.76, 0.86, 0.3);
    drawFigure(cr, 0.44, 0.95, 0.9, 237 / 255.0, 74 / 255.0, 89 / 255.0);
}

void writeIcon(const std::string& path, int size) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    paintIcon(cr, size);
    cairo_surface_flush(surface);
    const cairo_status_t drawn = cairo_status(cr);
    const cairo_status_t written =
        drawn == CAIRO_STATUS_SUCCESS ? cairo_surface_write_to_png(surface, path.c_str()) : drawn;
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    if (written != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot write " + path + ": " + cairo_status_to_string(written));
    }
}

} // namespace

void writeIcons(const std::string& outDir) {
    for (int size : iconSizes) {
        const std::string side = std::to_string(size);
        const std::string dir = outDir + "/icons/hicolor/" + side + "x" + side + "/apps";
        std::filesystem::create_directories(dir);
        writeIcon(dir + "/tuvo.png", size);
    }
}

} // namespace assetgen
