// Frame times of representative frames, drawn unpaced into a real 1024 x 735 window with a
// double-buffered compatibility context; each frame ends in a buffer swap and glFinish. Run it
// from the build folder (it loads textures/ like the game). Prints a table of the median and
// 99th percentile frame time and each one's ratio to an empty frame, and for each game frame
// the primitives each view sends through the pipeline (a GL_PRIMITIVES_GENERATED query) with
// the median time of that view alone (drawn and finished by itself).
//   frame_bench [frames per scene, default 300]
#include "FrameScenes.h"

#include "app/Game.h"
#include "render/GlState.h"
#include "render/Views.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int width = 1024;
constexpr int height = 735;
constexpr int warmUpFrames = 10;
// A scene stops early once it has taken this long, so slow machines still finish.
constexpr double sceneBudgetMs = 20000;

struct Timing {
    std::string name;
    int frames = 0;
    double medianMs = 0;
    double p99Ms = 0;
};

// One view of a game frame: what it sends to the GL and how long it takes alone.
struct ViewCost {
    long primitives = 0;
    double medianMs = 0;
};

struct SceneViews {
    std::string name;
    ViewCost views[3];
};

// Nearest-rank percentile of sorted samples.
double percentile(const std::vector<double>& sorted, double p) {
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * sorted.size()));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

Timing measure(const std::string& name, int frames, SDL_Window* window,
               const std::function<void()>& draw) {
    auto frame = [&] {
        draw();
        SDL_GL_SwapWindow(window);
        glFinish();
        SDL_PumpEvents();
    };
    for (int i = 0; i < warmUpFrames; ++i)
        frame();
    std::vector<double> ms;
    double total = 0;
    using clock = std::chrono::steady_clock;
    while (static_cast<int>(ms.size()) < frames && total < sceneBudgetMs) {
        const auto start = clock::now();
        frame();
        ms.push_back(std::chrono::duration<double, std::milli>(clock::now() - start).count());
        total += ms.back();
    }
    std::sort(ms.begin(), ms.end());
    return {name, static_cast<int>(ms.size()), percentile(ms, 50), percentile(ms, 99)};
}

// The three views of the scene the game is in, each counted with a primitives query and timed
// on its own over `frames` draws (the views are cheap enough next to a whole frame).
SceneViews measureViews(const std::string& name, int frames, const Game& game) {
    SceneViews out{name, {}};
    const std::function<void()> draws[3] = {[&] { drawOverview(roundView(game)); },
                                            [&] { drawPlayerView(roundView(game), 1); },
                                            [&] { drawPlayerView(roundView(game), 2); }};
    GLuint query = 0;
    glGenQueries(1, &query);
    using clock = std::chrono::steady_clock;
    for (int v = 0; v < 3; ++v) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
        draws[v]();
        glEndQuery(GL_PRIMITIVES_GENERATED);
        GLuint count = 0;
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
        out.views[v].primitives = count;
        std::vector<double> ms;
        for (int i = 0; i < frames; ++i) {
            glFinish();
            const auto start = clock::now();
            draws[v]();
            glFinish();
            ms.push_back(std::chrono::duration<double, std::milli>(clock::now() - start).count());
        }
        std::sort(ms.begin(), ms.end());
        out.views[v].medianMs = percentile(ms, 50);
    }
    glDeleteQueries(1, &query);
    return out;
}

SDL_Window* openWindow() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return nullptr;
    }
    // What the game asks for.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_Window* window = SDL_CreateWindow("TUVO!! frame benchmark", 0, 0, width, height,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (window == nullptr || SDL_GL_CreateContext(window) == nullptr) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return nullptr;
    }
    SDL_GL_SetSwapInterval(0);
    return window;
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
    glutInit(&argc, argv);
    SDL_Window* window = openWindow();
    if (window == nullptr)
        return 1;
    setInitialGlState(width, height);
    Game game(1, false);
    runSetUp(game);

    std::printf("renderer: %s\nGL version: %s\n",
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    int stencil = 0;
    SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencil);

    std::vector<Timing> table;
    std::vector<SceneViews> views;
    const int viewFrames = std::max(10, frames / 4);
    table.push_back(measure("empty frame (clear + swap)", frames, window,
                            [] { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }));
    table.push_back(measure("title menu", frames, window, [&] { drawMenuFrame(menuView(game)); }));
    framescenes::roundStart(game);
    table.push_back(
        measure("round's first frame", frames, window, [&] { drawGameFrame(roundView(game)); }));
    views.push_back(measureViews(table.back().name, viewFrames, game));
    const int burning = framescenes::crossingBlast(game);
    table.push_back(measure("reach-14 blast, " + std::to_string(burning) + " cells, shadows",
                            frames, window, [&] { drawGameFrame(roundView(game)); }));
    views.push_back(measureViews(table.back().name, viewFrames, game));
    game.shadowsOn = false;
    framescenes::midWinter(game);
    table.push_back(
        measure("mid-winter snowfall", frames, window, [&] { drawGameFrame(roundView(game)); }));
    views.push_back(measureViews(table.back().name, viewFrames, game));

    std::printf("stencil bits: %d\n\n", stencil);
    std::printf("| frame (1024 x 735, unpaced) | frames | median ms | p99 ms | median / empty |\n");
    std::printf("| --- | ---: | ---: | ---: | ---: |\n");
    const double empty = table.front().medianMs;
    for (const Timing& t : table)
        std::printf("| %s | %d | %.2f | %.2f | %.1f |\n", t.name.c_str(), t.frames, t.medianMs,
                    t.p99Ms, t.medianMs / empty);
    std::printf("\n| views of the frame | overview primitives | ms | player 1 primitives | ms "
                "| player 2 primitives | ms | frame primitives |\n");
    std::printf("| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: |\n");
    for (const SceneViews& s : views) {
        long total = 0;
        std::printf("| %s", s.name.c_str());
        for (const ViewCost& v : s.views) {
            std::printf(" | %ld | %.2f", v.primitives, v.medianMs);
            total += v.primitives;
        }
        std::printf(" | %ld |\n", total);
    }
    SDL_Quit();
    return burning > 0 ? 0 : 1;
}
