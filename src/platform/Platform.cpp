#include "platform/Platform.h"
#include "platform/ErrorBox.h"
#include "platform/Pads.h"
#include "platform/Termination.h"
#include "render/GlState.h"
#include "render/ViewLayout.h"
#include <SDL.h>
#include <SDL_syswm.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform {
namespace {
constexpr SDL_Scancode shadowScancode = SDL_SCANCODE_0;
// What one frame's typing may hold: far more than hands type, never an endless pile.
constexpr size_t mostTyped = 256;
// A stick counts as one press when it leans far past its dead zone, and again only after it
// came back near the middle.
constexpr int stickPress = 20000;

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

PadState padState(SDL_GameController* pad) {
    PadState s;
    s.stickX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    s.stickY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    s.dpadUp = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP);
    s.dpadDown = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    s.dpadLeft = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    s.dpadRight = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    s.a = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_A);
    s.x = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_X);
    s.y = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_Y);
    return s;
}

// Everything the window, the keys and the pads keep between calls, in one place. It is kept
// past the window's end: the window's last size, whether it was on the whole screen and the
// quit message still to be read outlive the window.
struct PlatformState {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    Uint32 quitEvent = 0;
    bool lastLeftPress = false;
    // A press taken while events were being drained: the next menu frame sees it even when the
    // release already followed, so a quick click is never lost.
    bool pendingPress = false;
    bool windowGone = false;
    int stencil = 0;
    // The window as last seen, kept past its end for the settings: its size when not on the
    // whole screen, and whether it was.
    int keptWidth = 0, keptHeight = 0;
    bool keptFullscreen = false;
    // Full screen is the desktop's own; where nothing carries that out (no window manager), the
    // window covers the screen by hand, without borders, and goes back to where it was after.
    bool coveringByHand = false;
    Uint64 fullscreenCheckAt = 0;
    int windowedX = 0, windowedY = 0, windowedWidth = 0, windowedHeight = 0;

    // Frame pacing: the refresh period and whether the timer has to hold frames back.
    double framePeriodMs = 1000.0 / 60.0;
    bool timerPacing = false;
    bool unpaced = false;
    Uint64 lastSwap = 0;
    int probeFrames = 0;
    Uint64 probeStart = 0;

    // The game's keys by position, so the layout of the keyboard does not move the controls.
    int playerScancodes[2][playerKeyCount] = {
        {SDL_SCANCODE_R, SDL_SCANCODE_F, SDL_SCANCODE_Z, SDL_SCANCODE_X, SDL_SCANCODE_G,
         SDL_SCANCODE_D, SDL_SCANCODE_LSHIFT},
        {SDL_SCANCODE_UP, SDL_SCANCODE_DOWN, SDL_SCANCODE_SLASH, SDL_SCANCODE_PERIOD,
         SDL_SCANCODE_RIGHT, SDL_SCANCODE_LEFT, SDL_SCANCODE_RSHIFT}};

    // Keys pressed since the last tick took its keys: a press released again before the next
    // tick still counts as down for that one tick.
    KeyState pressedSinceTick;
    Commands commands;
    std::vector<MenuKey> menuKeys;
    bool capturing = false;
    // Esc is a menu key (back) rather than the end of the game.
    bool escapeBack = false;
    std::string capturedKey;
    bool typingText = false;
    std::vector<Typed> typed;
    bool stickLeaning[2][2] = {};
    // The pads of the two players, by player; a pad plugged in takes the first free player.
    SDL_GameController* pads[2] = {nullptr, nullptr};

    // The window's size as the X server has it: SDL reports the size it asked for at once, before
    // (and whether or not) anything on the desktop carried it out.
    void actualWindowSize(int& width, int& height) {
        SDL_GetWindowSize(window, &width, &height);
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
            return;
        XWindowAttributes attributes;
        if (XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes)) {
            width = attributes.width;
            height = attributes.height;
        }
    }

    void checkFullscreen() {
        if (!keptFullscreen || coveringByHand || fullscreenCheckAt == 0 ||
            SDL_GetTicks64() < fullscreenCheckAt)
            return;
        fullscreenCheckAt = 0;
        SDL_Rect screen;
        if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &screen) != 0)
            return;
        int width = 0, height = 0;
        actualWindowSize(width, height);
        if (width == screen.w && height == screen.h)
            return;
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowBordered(window, SDL_FALSE);
        SDL_SetWindowPosition(window, screen.x, screen.y);
        SDL_SetWindowSize(window, screen.w, screen.h);
        coveringByHand = true;
    }

    void postQuit(int code) {
        SDL_Event e{};
        e.type = quitEvent;
        e.user.code = code;
        SDL_PushEvent(&e);
    }

    void notePress(SDL_Scancode code) {
        for (int p = 0; p < 2; ++p)
            for (int i = 0; i < playerKeyCount; ++i)
                if (playerScancodes[p][i] == code)
                    pressedSinceTick.player[p][i] = true;
        if (code == shadowScancode)
            pressedSinceTick.shadowToggle = true;
    }

    void padAdded(int deviceIndex) {
        for (SDL_GameController*& pad : pads)
            if (!pad) {
                pad = SDL_GameControllerOpen(deviceIndex);
                return;
            }
    }

    int padPlayer(SDL_JoystickID id) {
        for (int p = 0; p < 2; ++p)
            if (pads[p] && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pads[p])) == id)
                return p;
        return -1;
    }

    void padRemoved(SDL_JoystickID id) {
        const int p = padPlayer(id);
        if (p < 0)
            return;
        SDL_GameControllerClose(pads[p]);
        pads[p] = nullptr;
    }

    void padPressed(SDL_JoystickID id, Uint8 button) {
        const int p = padPlayer(id);
        if (p < 0)
            return;
        bool* keys = pressedSinceTick.player[p];
        switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
            keys[keyBomb] = true;
            menuKeys.push_back(MenuKey::press);
            break;
        case SDL_CONTROLLER_BUTTON_B:
            menuKeys.push_back(MenuKey::back);
            break;
        case SDL_CONTROLLER_BUTTON_X:
            keys[keyWall] = true;
            break;
        case SDL_CONTROLLER_BUTTON_Y:
            keys[keyTrap] = true;
            break;
        case SDL_CONTROLLER_BUTTON_START:
            commands.pause = true;
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            menuKeys.push_back(MenuKey::up);
            keys[keyForward] = true;
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            menuKeys.push_back(MenuKey::down);
            keys[keyBack] = true;
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            menuKeys.push_back(MenuKey::left);
            keys[keyLeft] = true;
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            menuKeys.push_back(MenuKey::right);
            keys[keyRight] = true;
            break;
        default:
            break;
        }
    }

    void padLeaned(SDL_JoystickID id, Uint8 axis, Sint16 value) {
        const int p = padPlayer(id);
        if (p < 0 || (axis != SDL_CONTROLLER_AXIS_LEFTX && axis != SDL_CONTROLLER_AXIS_LEFTY))
            return;
        const bool across = axis == SDL_CONTROLLER_AXIS_LEFTX;
        bool& leaning = stickLeaning[p][across ? 0 : 1];
        if (std::abs(value) < stickDeadZone) {
            leaning = false;
        } else if (!leaning && std::abs(value) > stickPress) {
            leaning = true;
            // SDL's stick y grows downward.
            menuKeys.push_back(across ? (value < 0 ? MenuKey::left : MenuKey::right)
                                      : (value < 0 ? MenuKey::up : MenuKey::down));
        }
    }

    void noteMenuKey(const SDL_KeyboardEvent& key) {
        switch (key.keysym.sym) {
        case SDLK_UP:
            menuKeys.push_back(MenuKey::up);
            break;
        case SDLK_DOWN:
            menuKeys.push_back(MenuKey::down);
            break;
        case SDLK_LEFT:
            menuKeys.push_back(MenuKey::left);
            break;
        case SDLK_RIGHT:
            menuKeys.push_back(MenuKey::right);
            break;
        case SDLK_TAB:
            menuKeys.push_back(key.keysym.mod & KMOD_SHIFT ? MenuKey::previous : MenuKey::next);
            break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
        case SDLK_SPACE:
            if (!key.repeat && !(key.keysym.mod & KMOD_ALT))
                menuKeys.push_back(MenuKey::press);
            break;
        case SDLK_BACKSPACE:
            if (!key.repeat)
                menuKeys.push_back(MenuKey::back);
            break;
        default:
            break;
        }
    }

    void keyTyped(const SDL_KeyboardEvent& key) {
        const SDL_Keycode sym = key.keysym.sym;
        const bool control = (key.keysym.mod & KMOD_CTRL) != 0;
        const bool paste =
            (control && sym == SDLK_v) || ((key.keysym.mod & KMOD_SHIFT) && sym == SDLK_INSERT);
        if (typed.size() >= mostTyped)
            return;
        if (paste && !key.repeat) {
            if (char* clip = SDL_GetClipboardText()) {
                typed.push_back({std::string(clip).substr(0, 64), {}});
                SDL_free(clip);
            }
            return;
        }
        // Keys held down repeat where that edits; the ones that act once do not.
        const bool repeats = sym == SDLK_BACKSPACE || sym == SDLK_DELETE || sym == SDLK_LEFT ||
                             sym == SDLK_RIGHT || sym == SDLK_UP || sym == SDLK_DOWN;
        const bool editing = repeats || sym == SDLK_ESCAPE || sym == SDLK_RETURN ||
                             sym == SDLK_KP_ENTER || sym == SDLK_TAB || sym == SDLK_HOME ||
                             sym == SDLK_END;
        if (editing && (repeats || !key.repeat))
            typed.push_back({{}, SDL_GetKeyName(sym)});
    }

    void keyPressed(const SDL_KeyboardEvent& key) {
        if (typingText) {
            keyTyped(key);
            return;
        }
        if (capturing) {
            if (!key.repeat && capturedKey.empty())
                capturedKey = SDL_GetScancodeName(key.keysym.scancode);
            return;
        }
        noteMenuKey(key);
        if (key.repeat)
            return;
        const SDL_Keycode sym = key.keysym.sym;
        if (sym == SDLK_F11 || (sym == SDLK_RETURN && (key.keysym.mod & KMOD_ALT))) {
            setFullscreen(!isFullscreen());
            return;
        }
        if (sym == SDLK_p)
            commands.pause = true;
        else if (sym == SDLK_SPACE)
            commands.playAgain = true;
        notePress(key.keysym.scancode);
    }
};

// The one state of the platform, reached through this pointer only.
std::unique_ptr<PlatformState> current;

PlatformState& the() {
    // Made with the window; the tests also drive the keys and events without one.
    if (!current)
        current = std::make_unique<PlatformState>();
    return *current;
}
} // namespace

double nowMs() {
    return SDL_GetPerformanceCounter() * 1000.0 /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

void showError(const char* caption, const char* text) {
    PlatformState& state = the();
    showErrorBoxAndWait(caption, text, state.window);
}

bool createWindow(const char* title, int width, int height, bool fullscreen) {
    PlatformState& state = the();
    // Before SDL's video starts, so that SDL leaves the signals to us.
    installTerminationHandlers();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return false;
    }
    state.quitEvent = SDL_RegisterEvents(1);
    // Pads are welcome, not needed: without the subsystem the keyboard plays alone.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "SDL: no game pads: %s\n", SDL_GetError());
    // The shadow pass is masked by the stencil; a machine that has none still gets a window.
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN |
                         SDL_WINDOW_ALLOW_HIGHDPI |
                         (fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    requestAttributes(8);
    state.window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (!state.window) {
        requestAttributes(0);
        state.window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    }
    if (!state.window) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return false;
    }
    SDL_RaiseWindow(state.window);
    state.keptWidth = width;
    state.keptHeight = height;
    state.keptFullscreen = fullscreen;
    // Asked for at the start just as by F11 later: where nothing carries it out, the window is
    // made to cover the screen by hand.
    if (fullscreen)
        state.fullscreenCheckAt = SDL_GetTicks64() + 500;
    return true;
}

bool initialiseGl(int width, int height) {
    PlatformState& state = the();
    state.context = SDL_GL_CreateContext(state.window);
    if (!state.context) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        showError("Error", "ChoosePixelFormat failed");
        std::fputs("ChoosePixelFormat failed\n", stderr);
        state.postQuit(0);
        return false;
    }
    if (SDL_GL_MakeCurrent(state.window, state.context) != 0) {
        showError("Error", "SetPixelFormat failed");
        std::fputs("SetPixelFormat failed\n", stderr);
        state.postQuit(0);
        return false;
    }
    SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &state.stencil);

    // TUVO_UNPACED=1 draws each frame as soon as the last is shown, for measuring how many
    // frames a second the machine could draw; the round's tick keeps its pace either way.
    const char* unpacedText = std::getenv("TUVO_UNPACED");
    state.unpaced = unpacedText != nullptr && std::strcmp(unpacedText, "1") == 0;
    if (state.unpaced)
        SDL_GL_SetSwapInterval(0);
    else if (SDL_GL_SetSwapInterval(1) != 0)
        state.timerPacing = true;
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(state.window), &mode) == 0 &&
        mode.refresh_rate > 0)
        state.framePeriodMs = 1000.0 / mode.refresh_rate;

    setInitialGlState(width, height);
    return true;
}

void shutdownWindow() {
    PlatformState& state = the();
    if (state.context) {
        SDL_GL_MakeCurrent(state.window, nullptr);
        SDL_GL_DeleteContext(state.context);
        state.context = nullptr;
    }
    if (state.window && !state.windowGone) {
        SDL_DestroyWindow(state.window);
        state.windowGone = true;
        state.postQuit(0);
    }
}

void escapeGoesBack(bool on) {
    PlatformState& state = the();
    state.escapeBack = on;
}

EventKind takeEvent(int& quitCode) {
    PlatformState& state = the();
    // A signal ends the game the way closing the window does.
    if (terminationRequested() && state.window && !state.windowGone)
        shutdownWindow();
    if (state.window && !state.windowGone)
        state.checkFullscreen();
    SDL_Event e;
    if (!SDL_PollEvent(&e))
        return EventKind::none;
    state.lastLeftPress = e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT;
    state.pendingPress = state.pendingPress || state.lastLeftPress;
    if (e.type == state.quitEvent) {
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
        else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && state.context)
            ::setProjection(e.window.data1, e.window.data2);
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && !isFullscreen()) {
            state.keptWidth = e.window.data1;
            state.keptHeight = e.window.data2;
        }
        break;
    case SDL_KEYDOWN:
        if (e.key.keysym.sym == SDLK_ESCAPE && !state.capturing && !state.typingText &&
            state.escapeBack) {
            if (!e.key.repeat)
                state.menuKeys.push_back(MenuKey::back);
        } else if (e.key.keysym.sym == SDLK_ESCAPE && !state.capturing && !state.typingText) {
            shutdownWindow();
        } else
            state.keyPressed(e.key);
        break;
    case SDL_TEXTINPUT:
        if (state.typingText && state.typed.size() < mostTyped)
            state.typed.push_back({e.text.text, {}});
        break;
    case SDL_CONTROLLERDEVICEADDED:
        state.padAdded(e.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        state.padRemoved(e.cdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        state.padPressed(e.cbutton.which, e.cbutton.button);
        break;
    case SDL_CONTROLLERAXISMOTION:
        state.padLeaned(e.caxis.which, e.caxis.axis, e.caxis.value);
        break;
    default:
        break;
    }
    return EventKind::other;
}

bool lastEventWasLeftPress() {
    PlatformState& state = the();
    return state.lastLeftPress;
}

KeyState takeTickKeys() {
    PlatformState& state = the();
    const Uint8* k = SDL_GetKeyboardState(nullptr);
    KeyState s;
    for (int p = 0; p < 2; ++p)
        for (int i = 0; i < playerKeyCount; ++i)
            s.player[p][i] =
                k[state.playerScancodes[p][i]] != 0 || state.pressedSinceTick.player[p][i];
    s.shadowToggle = k[shadowScancode] != 0 || state.pressedSinceTick.shadowToggle;
    for (int p = 0; p < 2; ++p)
        if (state.pads[p])
            addPadKeys(padState(state.pads[p]), s.player[p]);
    state.pressedSinceTick = KeyState{};
    return s;
}

void forgetKeyPresses() {
    PlatformState& state = the();
    state.pressedSinceTick = KeyState{};
    state.commands = Commands{};
    state.menuKeys.clear();
}

std::vector<MenuKey> takeMenuKeys() {
    PlatformState& state = the();
    std::vector<MenuKey> taken;
    taken.swap(state.menuKeys);
    return taken;
}

void captureKey(bool on) {
    PlatformState& state = the();
    state.capturing = on;
    state.capturedKey.clear();
}

void typeText(bool on) {
    PlatformState& state = the();
    if (on == state.typingText)
        return;
    state.typingText = on;
    state.typed.clear();
    if (on)
        SDL_StartTextInput();
    else
        SDL_StopTextInput();
}

std::vector<Typed> takeTyped() {
    PlatformState& state = the();
    std::vector<Typed> taken;
    taken.swap(state.typed);
    return taken;
}

std::string takeCapturedKey() {
    PlatformState& state = the();
    std::string taken;
    taken.swap(state.capturedKey);
    return taken;
}

MenuPointer menuPointer() {
    PlatformState& state = the();
    if (!state.window || state.windowGone)
        return MenuPointer{};
    int width = 0, height = 0, gx = 0, gy = 0, wx = 0, wy = 0;
    SDL_GetWindowSize(state.window, &width, &height);
    SDL_GetGlobalMouseState(&gx, &gy);
    SDL_GetWindowPosition(state.window, &wx, &wy);
    const MenuPointer p =
        framePointer(width, height, gx - wx, gy - wy, state.lastLeftPress || state.pendingPress);
    state.pendingPress = false;
    return p;
}

int scancodeOf(const std::string& name) {
    return SDL_GetScancodeFromName(name.c_str());
}

bool isKeyName(const std::string& name) {
    return scancodeOf(name) != SDL_SCANCODE_UNKNOWN;
}

void waitForNextFrame() {
    PlatformState& state = the();
    SDL_Delay(static_cast<Uint32>(state.framePeriodMs));
}

Commands takeCommands() {
    PlatformState& state = the();
    const Commands c = state.commands;
    state.commands = Commands{};
    return c;
}

void setPlayerKeys(const int scancodes[2][playerKeyCount]) {
    PlatformState& state = the();
    for (int p = 0; p < 2; ++p)
        for (int i = 0; i < playerKeyCount; ++i)
            state.playerScancodes[p][i] = scancodes[p][i];
}

void setFullscreen(bool on) {
    PlatformState& state = the();
    if (!state.window || state.windowGone || on == state.keptFullscreen)
        return;
    state.keptFullscreen = on;
    if (on) {
        SDL_GetWindowPosition(state.window, &state.windowedX, &state.windowedY);
        SDL_GetWindowSize(state.window, &state.windowedWidth, &state.windowedHeight);
        SDL_SetWindowFullscreen(state.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        state.fullscreenCheckAt = SDL_GetTicks64() + 500;
    } else if (state.coveringByHand) {
        state.coveringByHand = false;
        SDL_SetWindowBordered(state.window, SDL_TRUE);
        SDL_SetWindowSize(state.window, state.windowedWidth, state.windowedHeight);
        SDL_SetWindowPosition(state.window, state.windowedX, state.windowedY);
    } else {
        SDL_SetWindowFullscreen(state.window, 0);
    }
}

bool isFullscreen() {
    PlatformState& state = the();
    return state.keptFullscreen;
}

FrameRect frame() {
    PlatformState& state = the();
    if (!state.window || state.windowGone ||
        (SDL_GetWindowFlags(state.window) & SDL_WINDOW_MINIMIZED))
        return frameRect(0, 0);
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(state.window, &width, &height);
    // SDL takes full screen as done the moment it asks for it; until the desktop (or the game
    // itself, where there is none) has carried it out, the frame fits the window as it is.
    if (state.keptFullscreen && !state.coveringByHand) {
        int realWidth = 0, realHeight = 0, sdlWidth = 0, sdlHeight = 0;
        state.actualWindowSize(realWidth, realHeight);
        SDL_GetWindowSize(state.window, &sdlWidth, &sdlHeight);
        if (sdlWidth > 0 && sdlHeight > 0 && (realWidth != sdlWidth || realHeight != sdlHeight)) {
            width = width * realWidth / sdlWidth;
            height = height * realHeight / sdlHeight;
        }
    }
    return frameRect(width, height);
}

void windowSize(int& width, int& height) {
    PlatformState& state = the();
    width = state.keptWidth;
    height = state.keptHeight;
}

void setCursorHidden(bool hidden) {
    SDL_ShowCursor(hidden ? SDL_DISABLE : SDL_ENABLE);
}

double swapBuffers() {
    PlatformState& state = the();
    if (!state.context)
        return 0;
    // A driver may accept vsync and still not wait; a quick look at the first frames tells.
    if (!state.timerPacing && !state.unpaced) {
        if (state.probeFrames == 0)
            state.probeStart = SDL_GetPerformanceCounter();
        if (++state.probeFrames == 30) {
            double elapsed = (SDL_GetPerformanceCounter() - state.probeStart) * 1000.0 /
                             static_cast<double>(SDL_GetPerformanceFrequency());
            if (elapsed < 29 * state.framePeriodMs * 0.8)
                state.timerPacing = true;
        }
    }
    if (state.timerPacing && state.lastSwap != 0) {
        const double due =
            state.lastSwap * 1000.0 / static_cast<double>(SDL_GetPerformanceFrequency()) +
            state.framePeriodMs;
        double wait = due - nowMs();
        if (wait > 1.5)
            SDL_Delay(static_cast<Uint32>(wait - 1.0));
        while (nowMs() < due) {
        }
    }
    state.lastSwap = SDL_GetPerformanceCounter();
    SDL_GL_SwapWindow(state.window);
    if (swapWaitsForDisplay())
        return 0;
    return static_cast<double>(SDL_GetPerformanceCounter() - state.lastSwap) * 1000.0 /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

bool swapWaitsForDisplay() {
    PlatformState& state = the();
    // Until the first frames tell, a driver that accepted vsync is taken at its word.
    return state.context != nullptr && !state.timerPacing && !state.unpaced;
}

double refreshPeriodMs() {
    PlatformState& state = the();
    return state.framePeriodMs;
}

int stencilBits() {
    PlatformState& state = the();
    return state.stencil;
}

} // namespace platform
