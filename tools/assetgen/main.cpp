// assetgen <outdir>: writes every picture and sound the game loads into <outdir>/textures and
// <outdir>/sounds. The same bytes come out on every run.
#include "AssetSet.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <outdir>\n", argv[0]);
        return 2;
    }
    int status = 0;
    try {
        assetgen::writeAllAssets(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        status = 1;
    }
    // Hand back the font caches, so a leak checker sees only our own memory.
    cairo_debug_reset_static_data();
    FcFini();
    return status;
}
