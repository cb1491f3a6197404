// Frame times of representative frames, drawn unpaced into a real window (1024 x 735 unless
// --size says otherwise) with a double-buffered compatibility context; each frame ends in a
// buffer swap and glFinish. Run it from the build folder (it loads textures/ like the game).
// Prints a table of the median and 99th percentile frame time and each one's ratio to an empty
// frame of the same size, and for each game frame the primitives each view sends through the
// pipeline (a GL_PRIMITIVES_GENERATED query) with the median time of that view alone (drawn and
// finished by itself).
//   frame_bench [--size WxH] [--scale PERCENT] [--only first|blast|winter] [--no-views]
//               [frames per scene]
// --size sets the window, and the frame takes the largest 1024:735 rectangle in it, as in the
// game (1504x1080: the frame of a 1920 x 1080 screen). --scale draws the round's views at that
// share of the frame's width and height (100, 85, 70 or 50), stretched over it, as the render
// scale does; the views drawn alone are always drawn at full size. --only measures the empty frame
// and that one scene (for profiling); --no-views leaves out the views drawn alone. Under
//   valgrind --tool=callgrind frame_bench --no-views 12
// each scene's measured frames are written as a dump of their own (their instruction counts).
#include "FrameScenes.h"

#include "app/Game.h"
#include "render/GlState.h"
#include "render/RenderScale.h"
#include "render/ViewLayout.h"
#include "render/Views.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>
// Under Valgrind's callgrind each scene's measured frames are counted alone (the counts are
// zeroed before them and written after them); elsewhere these do nothing.
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_ZERO_STATS
#define CALLGRIND_DUMP_STATS_AT(name)
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

int width = 1024;
int height = 735;
int renderPercent = 100;
constexpr int warmUpFrames = 10;
// A scene stops early once it has taken this long, so slow machines still finish.
constexpr double sceneBudgetMs = 20000;

struct Timing {
    std::string name;
    int frames = 0;
    double medianMs = 0;
    double p99Ms = 0;
    // Processor time of the whole process (the renderer's threads included) per frame: the
    // work a frame takes, which other programs on a shared machine hardly move.
    double cpuMs = 0;
};

// One view of a game frame: what it sends to the GL and how long it takes alone.
struct ViewCost {
    long primitives = 0;
    double medianMs = 0;
    double cpuMs = 0;
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

double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
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
    CALLGRIND_ZERO_STATS;
    std::vector<double> ms, cpu;
    double total = 0;
    using clock = std::chrono::steady_clock;
    while (static_cast<int>(ms.size()) < frames && total < sceneBudgetMs) {
        const double cpuStart = processCpuMs();
        const auto start = clock::now();
        frame();
        ms.push_back(std::chrono::duration<double, std::milli>(clock::now() - start).count());
        cpu.push_back(processCpuMs() - cpuStart);
        total += ms.back();
    }
    {
        const std::string counted = name + ", frames " + std::to_string(ms.size());
        CALLGRIND_DUMP_STATS_AT(counted.c_str());
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    return {name, static_cast<int>(ms.size()), percentile(ms, 50), percentile(ms, 99),
            percentile(cpu, 50)};
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
        std::vector<double> ms, cpu;
        for (int i = 0; i < frames; ++i) {
            glFinish();
            const double cpuStart = processCpuMs();
            const auto start = clock::now();
            draws[v]();
            glFinish();
            ms.push_back(std::chrono::duration<double, std::milli>(clock::now() - start).count());
            cpu.push_back(processCpuMs() - cpuStart);
        }
        std::sort(ms.begin(), ms.end());
        std::sort(cpu.begin(), cpu.end());
        out.views[v].medianMs = percentile(ms, 50);
        out.views[v].cpuMs = percentile(cpu, 50);
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
    int frames = 300;
    bool noViews = false;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width < 64 ||
                height < 64) {
                std::fprintf(stderr, "frame_bench: --size wants WIDTHxHEIGHT, as 1504x1080\n");
                return 2;
            }
        } else if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
            renderPercent = std::atoi(argv[++i]);
            if (renderPercent == renderScaleAuto || !isRenderScale(renderPercent)) {
                std::fprintf(stderr, "frame_bench: --scale wants 100, 85, 70 or 50\n");
                return 2;
            }
        } else if (std::strcmp(argv[i], "--no-views") == 0) {
            noViews = true;
        } else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            only = argv[++i];
        } else {
            frames = std::max(10, std::atoi(argv[i]));
        }
    }
    auto wanted = [&](const char* scene) { return only.empty() || only == scene; };
    glutInit(&argc, argv);
    SDL_Window* window = openWindow();
    if (window == nullptr)
        return 1;
    setInitialGlState(width, height);
    Game game(1, false);
    runSetUp(game);
    game.look.frame = frameRect(width, height);
    game.look.renderPercent = renderPercent;

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
    if (wanted("title"))
        table.push_back(
            measure("title menu", frames, window, [&] { drawMenuFrame(menuView(game)); }));
    framescenes::roundStart(game);
    if (wanted("first")) {
        table.push_back(measure("round's first frame", frames, window,
                                [&] { drawGameFrame(roundView(game)); }));
        if (!noViews)
            views.push_back(measureViews(table.back().name, viewFrames, game));
    }
    const int burning = framescenes::crossingBlast(game);
    if (wanted("blast")) {
        table.push_back(measure("reach-14 blast, " + std::to_string(burning) + " cells, shadows",
                                frames, window, [&] { drawGameFrame(roundView(game)); }));
        if (!noViews)
            views.push_back(measureViews(table.back().name, viewFrames, game));
    }
    game.round.shadowsOn = false;
    framescenes::midWinter(game);
    if (wanted("winter")) {
        table.push_back(measure("mid-winter snowfall", frames, window,
                                [&] { drawGameFrame(roundView(game)); }));
        if (!noViews)
            views.push_back(measureViews(table.back().name, viewFrames, game));
    }

    std::printf("stencil bits: %d\n\n", stencil);
    std::printf("| frame (%d x %d, views at %d %%, unpaced) | frames | median ms | p99 ms "
                "| median / empty | processor ms | processor / empty |\n",
                game.look.frame.width, game.look.frame.height, renderPercent);
    std::printf("| --- | ---: | ---: | ---: | ---: | ---: | ---: |\n");
    const double empty = table.front().medianMs;
    const double emptyCpu = table.front().cpuMs;
    for (const Timing& t : table)
        std::printf("| %s | %d | %.2f | %.2f | %.1f | %.2f | %.1f |\n", t.name.c_str(), t.frames,
                    t.medianMs, t.p99Ms, t.medianMs / empty, t.cpuMs, t.cpuMs / emptyCpu);
    std::printf("\n| views of the frame (ms: median alone, processor ms in brackets) "
                "| overview primitives | ms | player 1 primitives | ms | player 2 primitives | ms "
                "| frame primitives |\n");
    std::printf("| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: |\n");
    for (const SceneViews& s : views) {
        long total = 0;
        std::printf("| %s", s.name.c_str());
        for (const ViewCost& v : s.views) {
            std::printf(" | %ld | %.2f (%.2f)", v.primitives, v.medianMs, v.cpuMs);
            total += v.primitives;
        }
        std::printf(" | %ld |\n", total);
    }
    SDL_Quit();
    return burning > 0 ? 0 : 1;
}
