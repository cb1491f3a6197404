#include "Art.h"

#include <cairo.h>
#include <cmath>

namespace assetgen {

// The letters of the game's own texts, DejaVu Sans Bold as on the title, for drawing at any size:
// characters 32 to 127 in 16 columns and 6 rows of 64 by 80 pixel cells, each letter's origin 8
// pixels in from its cell's left and its baseline 56 down. Red is the letter, green the letter
// grown by a rim of 5 pixels, and the blue byte of each cell's top left pixel its advance in
// pixels (the rest of blue is 0).
Picture paintFontAtlas() {
    constexpr int width = 1024, height = 512, cellW = 64, cellH = 80, originX = 8, baseline = 56;
    constexpr double size = 48, rim = 10;
    cairo_surface_t* fill = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_surface_t* grown = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_t* f = cairo_create(fill);
    cairo_t* g = cairo_create(grown);
    cairo_font_options_t* options = cairo_font_options_create();
    // The same bytes on every machine: no hinting and plain grey edges.
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    for (cairo_t* cr : {f, g}) {
        cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
        cairo_set_font_size(cr, size);
        cairo_set_font_options(cr, options);
        cairo_set_source_rgba(cr, 1, 1, 1, 1);
    }
    cairo_set_line_width(g, rim);
    cairo_set_line_join(g, CAIRO_LINE_JOIN_ROUND);
    int advance[96] = {};
    for (int c = 32; c < 128; ++c) {
        const int k = c - 32;
        const double x = (k % 16) * cellW + originX, y = (k / 16) * cellH + baseline;
        const char text[2] = {static_cast<char>(c == 127 ? '?' : c), 0};
        cairo_text_extents_t ext;
        cairo_text_extents(f, text, &ext);
        advance[k] = static_cast<int>(std::lround(ext.x_advance));
        cairo_move_to(f, x, y);
        cairo_show_text(f, text);
        cairo_new_path(g);
        cairo_move_to(g, x, y);
        cairo_text_path(g, text);
        cairo_fill_preserve(g);
        cairo_stroke(g);
    }
    cairo_surface_flush(fill);
    cairo_surface_flush(grown);
    Picture atlas(width, height);
    const unsigned char* a = cairo_image_surface_get_data(fill);
    const unsigned char* b = cairo_image_surface_get_data(grown);
    const int strideA = cairo_image_surface_get_stride(fill);
    const int strideB = cairo_image_surface_get_stride(grown);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = atlas.at(x, y);
            p[0] = a[y * strideA + x];
            p[1] = b[y * strideB + x];
            p[2] = 0;
        }
    for (int k = 0; k < 96; ++k)
        atlas.at((k % 16) * cellW, (k / 16) * cellH)[2] = static_cast<std::uint8_t>(advance[k]);
    cairo_font_options_destroy(options);
    cairo_destroy(f);
    cairo_destroy(g);
    cairo_surface_destroy(fill);
    cairo_surface_destroy(grown);
    return atlas;
}

} // namespace assetgen
