#include "app/Platform.h"
#include "app/ErrorBox.h"
#include "app/Termination.h"
#include "render/GlState.h"
#include "render/ViewLayout.h"
#include <SDL.h>
#include <cstdio>

namespace platform {
namespace {
SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
Uint32 quitEvent = 0;
bool lastLeftPress = false;
// A press taken while events were being drained: the next menu frame sees it even when the
// release already followed, so a quick click is never lost.
bool pendingPress = false;
bool windowGone = false;
int stencil = 0;

// Frame pacing: the refresh period and whether the timer has to hold frames back.
double framePeriodMs = 1000.0 / 60.0;
bool timerPacing = false;
Uint64 lastSwap = 0;
int probeFrames = 0;
Uint64 probeStart = 0;

void postQuit(int code) {
    SDL_Event e{};
    e.type = quitEvent;
    e.user.code = code;
    SDL_PushEvent(&e);
}

void requestAttributes(int stencilSize) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, stencilSize);
}

// The game's keys by position, so the layout of the keyboard does not move the controls.
constexpr SDL_Scancode playerScancodes[2][playerKeyCount] = {
    {SDL_SCANCODE_R, SDL_SCANCODE_F, SDL_SCANCODE_Z, SDL_SCANCODE_X, SDL_SCANCODE_G,
     SDL_SCANCODE_D, SDL_SCANCODE_LSHIFT},
    {SDL_SCANCODE_UP, SDL_SCANCODE_DOWN, SDL_SCANCODE_SLASH, SDL_SCANCODE_PERIOD,
     SDL_SCANCODE_RIGHT, SDL_SCANCODE_LEFT, SDL_SCANCODE_RSHIFT}};
constexpr SDL_Scancode shadowScancode = SDL_SCANCODE_0;

// Keys pressed since the last tick took its keys: a press released again before the next tick
// still counts as down for that one tick.
KeyState pressedSinceTick;

void notePress(SDL_Scancode code) {
    for (int p = 0; p < 2; ++p)
        for (int i = 0; i < playerKeyCount; ++i)
            if (playerScancodes[p][i] == code)
                pressedSinceTick.player[p][i] = true;
    if (code == shadowScancode)
        pressedSinceTick.shadowToggle = true;
}
} // namespace

double nowMs() {
    return SDL_GetPerformanceCounter() * 1000.0 /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

void showError(const char* caption, const char* text) {
    showErrorBoxAndWait(caption, text, window);
}

bool createWindow(const char* title, int width, int height) {
    // Before SDL's video starts, so that SDL leaves the signals to us.
    installTerminationHandlers();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return false;
    }
    quitEvent = SDL_RegisterEvents(1);
    // The shadow pass is masked by the stencil; a machine that has none still gets a window.
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN;
    requestAttributes(8);
    window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (!window) {
        requestAttributes(0);
        window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    }
    if (!window) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return false;
    }
    SDL_RaiseWindow(window);
    return true;
}

bool initialiseGl(int width, int height) {
    context = SDL_GL_CreateContext(window);
    if (!context) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        showError("Error", "ChoosePixelFormat failed");
        std::fputs("ChoosePixelFormat failed\n", stderr);
        postQuit(0);
        return false;
    }
    if (SDL_GL_MakeCurrent(window, context) != 0) {
        showError("Error", "SetPixelFormat failed");
        std::fputs("SetPixelFormat failed\n", stderr);
        postQuit(0);
        return false;
    }
    SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencil);

    if (SDL_GL_SetSwapInterval(1) != 0)
        timerPacing = true;
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(window), &mode) == 0 &&
        mode.refresh_rate > 0)
        framePeriodMs = 1000.0 / mode.refresh_rate;

    setInitialGlState(width, height);
    return true;
}

void shutdownWindow() {
    if (context) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window && !windowGone) {
        SDL_DestroyWindow(window);
        windowGone = true;
        postQuit(0);
    }
}

EventKind takeEvent(int& quitCode) {
    // A signal ends the game the way closing the window does.
    if (terminationRequested() && window && !windowGone)
        shutdownWindow();
    SDL_Event e;
    if (!SDL_PollEvent(&e))
        return EventKind::none;
    lastLeftPress = e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT;
    pendingPress = pendingPress || lastLeftPress;
    if (e.type == quitEvent) {
        quitCode = e.user.code;
        return EventKind::quit;
    }
    switch (e.type) {
    case SDL_QUIT:
        shutdownWindow();
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE)
            shutdownWindow();
        else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && context)
            ::setProjection(e.window.data1, e.window.data2);
        break;
    case SDL_KEYDOWN:
        if (e.key.keysym.sym == SDLK_ESCAPE)
            shutdownWindow();
        else if (!e.key.repeat)
            notePress(e.key.keysym.scancode);
        break;
    default:
        break;
    }
    return EventKind::other;
}

bool lastEventWasLeftPress() {
    return lastLeftPress;
}

KeyState takeTickKeys() {
    const Uint8* k = SDL_GetKeyboardState(nullptr);
    KeyState s;
    for (int p = 0; p < 2; ++p)
        for (int i = 0; i < playerKeyCount; ++i)
            s.player[p][i] = k[playerScancodes[p][i]] != 0 || pressedSinceTick.player[p][i];
    s.shadowToggle = k[shadowScancode] != 0 || pressedSinceTick.shadowToggle;
    pressedSinceTick = KeyState{};
    return s;
}

void forgetKeyPresses() {
    pressedSinceTick = KeyState{};
}

MenuPointer menuPointer() {
    MenuPointer p{};
    if (!window || windowGone)
        return p;
    SDL_GetWindowSize(window, &p.clientWidth, &p.clientHeight);
    int gx = 0, gy = 0, wx = 0, wy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    SDL_GetWindowPosition(window, &wx, &wy);
    p.x = gx - wx;
    p.y = gy - wy;
    p.leftPress = lastLeftPress || pendingPress;
    pendingPress = false;
    return p;
}

void setCursorHidden(bool hidden) {
    SDL_ShowCursor(hidden ? SDL_DISABLE : SDL_ENABLE);
}

void swapBuffers() {
    if (!context)
        return;
    // A driver may accept vsync and still not wait; a quick look at the first frames tells.
    if (!timerPacing) {
        if (probeFrames == 0)
            probeStart = SDL_GetPerformanceCounter();
        if (++probeFrames == 30) {
            double elapsed = (SDL_GetPerformanceCounter() - probeStart) * 1000.0 /
                             static_cast<double>(SDL_GetPerformanceFrequency());
            if (elapsed < 29 * framePeriodMs * 0.8)
                timerPacing = true;
        }
    }
    if (timerPacing && lastSwap != 0) {
        const double due =
            lastSwap * 1000.0 / static_cast<double>(SDL_GetPerformanceFrequency()) + framePeriodMs;
        double wait = due - nowMs();
        if (wait > 1.5)
            SDL_Delay(static_cast<Uint32>(wait - 1.0));
        while (nowMs() < due) {
        }
    }
    lastSwap = SDL_GetPerformanceCounter();
    SDL_GL_SwapWindow(window);
}

int stencilBits() {
    return stencil;
}

} // namespace platform
