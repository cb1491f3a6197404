// assetgen <outdir>: writes every picture and sound the game loads into <outdir>/textures and
// <outdir>/sounds. The same bytes come out on every run.
#include "AssetSet.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <outdir>\n", argv[0]);
        return 2;
    }
    try {
        assetgen::writeAllAssets(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
