// Draws fixed game frames on the current machine's GL and writes them as PPM pictures, or
// compares two such pictures. Used to check that a change to how things are drawn leaves the
// picture as it was. Run it from the build folder (it loads textures/ like the game).
//   frame_snapshot write <folder> [--size WxH] [--scale PERCENT]
//       writes overview.ppm, shadows.ppm, winter.ppm, labyrinth.ppm and blast.ppm, drawn in a
//       window of WxH (default 1024x735) with the views at PERCENT of the frame (default 100)
//   frame_snapshot compare <a.ppm> <b.ppm> [level]
// compare prints the share of pixels whose channels differ by more than `level` (default 8) and
// the mean absolute difference per channel, and exits 1 when that share reaches 0.5 %.
#include "FrameScenes.h"

#include "app/Game.h"
#include "render/GlState.h"
#include "render/RenderScale.h"
#include "render/ViewLayout.h"
#include "render/Views.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

int width = 1024;
int height = 735;
int renderPercent = 100;
constexpr uint32_t seed = 8028;

bool writePpm(const std::string& path, const std::vector<unsigned char>& rgb) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    // GL rows run bottom to top.
    for (int row = height - 1; row >= 0; --row)
        std::fwrite(&rgb[static_cast<size_t>(row) * width * 3], 1, width * 3, f);
    return std::fclose(f) == 0;
}

bool readPpm(const std::string& path, int& w, int& h, std::vector<unsigned char>& rgb) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return false;
    int maxValue = 0;
    const bool header = std::fscanf(f, "P6 %d %d %d", &w, &h, &maxValue) == 3 && maxValue == 255 &&
                        std::fgetc(f) != EOF;
    if (header) {
        rgb.resize(static_cast<size_t>(w) * h * 3);
        const bool complete = std::fread(rgb.data(), 1, rgb.size(), f) == rgb.size();
        std::fclose(f);
        return complete;
    }
    std::fclose(f);
    return false;
}

int compare(const char* a, const char* b, int level) {
    int wa = 0, ha = 0, wb = 0, hb = 0;
    std::vector<unsigned char> pa, pb;
    if (!readPpm(a, wa, ha, pa) || !readPpm(b, wb, hb, pb) || wa != wb || ha != hb) {
        std::fprintf(stderr, "cannot compare %s and %s\n", a, b);
        return 2;
    }
    long differing = 0, changed = 0;
    int largest = 0;
    double total = 0;
    for (size_t p = 0; p < pa.size(); p += 3) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            worst = std::max(worst, std::abs(pa[p + c] - pb[p + c]));
            total += std::abs(pa[p + c] - pb[p + c]);
        }
        largest = std::max(largest, worst);
        changed += worst > 0;
        differing += worst > level;
    }
    const double share = 100.0 * static_cast<double>(differing) / (static_cast<double>(wa) * ha);
    std::printf("%s: %ld pixels changed, %ld (%.3f %%) by more than %d, largest %d, mean "
                "difference per channel %.2f\n",
                b, changed, differing, share, level, largest,
                total / static_cast<double>(pa.size()));
    return share < 0.5 ? 0 : 1;
}

SDL_Window* openWindow() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return nullptr;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_Window* window = SDL_CreateWindow("TUVO!! frame snapshot", 0, 0, width, height,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr || SDL_GL_CreateContext(window) == nullptr)
        return nullptr;
    return window;
}

// A fresh round of the fixed seed, prepared by `prepare`, drawn once and written to `path`.
bool snapshot(const std::string& path, const std::function<void(Game&)>& prepare) {
    setInitialGlState(width, height);
    Game game(seed, false);
    runSetUp(game);
    game.look.frame = frameRect(width, height);
    game.look.renderPercent = renderPercent;
    game.round.clock.set(1000);
    game.gameRunning = true;
    prepare(game);
    drawGameFrame(roundView(game));
    glFinish();
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return writePpm(path, rgb);
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "compare")
        return compare(argv[2], argv[3], argc > 4 ? std::atoi(argv[4]) : 8);
    bool usable = argc >= 3 && std::string(argv[1]) == "write";
    for (int i = 3; usable && i < argc; i += 2) {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            usable = false;
        else if (option == "--size")
            usable = std::sscanf(argv[i + 1], "%dx%d", &width, &height) == 2 && width >= 64 &&
                     height >= 64 && width <= 8192 && height <= 8192;
        else if (option == "--scale")
            usable = isRenderScale(renderPercent = std::atoi(argv[i + 1])) && renderPercent > 0;
        else
            usable = false;
    }
    if (!usable) {
        std::fprintf(stderr,
                     "usage: frame_snapshot write <folder> [--size WxH] [--scale 100|85|70|50]"
                     " | compare <a> <b> [level]\n");
        return 2;
    }
    glutInit(&argc, argv);
    if (openWindow() == nullptr) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 1;
    }
    const std::string folder = argv[2];
    const bool ok = snapshot(folder + "/overview.ppm", [](Game&) {}) &&
                    snapshot(folder + "/shadows.ppm", [](Game& g) { g.round.shadowsOn = true; }) &&
                    snapshot(folder + "/winter.ppm", framescenes::midWinter) &&
                    snapshot(folder + "/labyrinth.ppm", framescenes::intoLabyrinth) &&
                    snapshot(folder + "/blast.ppm", [](Game& g) { framescenes::crossingBlast(g); });
    SDL_Quit();
    return ok ? 0 : 1;
}
