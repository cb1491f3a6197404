#pragma once
#include "rules/KeyState.h"
#include "platform/Pointer.h"
#include "render/ViewLayout.h"
#include <string>
#include <vector>

// The window, its GL context and the event queue, over SDL2. Only this layer talks to SDL.
namespace platform {

// Opens the window with the given client size at screen position (0, 0), or on the whole
// desktop. False if it cannot.
bool createWindow(const char* title, int width, int height, bool fullscreen = false);
// Makes the GL context and sets the fixed pipeline state. Context failures are shown with the
// caption "Error" and post the quit message; the answer says whether a context exists.
bool initialiseGl(int width, int height);
// Releases the context and the window and posts the quit message with code 0. A second call
// does nothing.
void shutdownWindow();

enum class EventKind { none, quit, other };
// Takes one waiting event without blocking and handles it (Esc, close, resize).
EventKind takeEvent(int& quitCode);
bool lastEventWasLeftPress();

// The keys of one tick: those held now and those pressed since the last tick took its keys.
KeyState takeTickKeys();
// Forgets presses not yet taken by a tick (those made on the title menu, say).
void forgetKeyPresses();
// A steady real-time clock in milliseconds.
double nowMs();
MenuPointer menuPointer();

// What the keys and pads asked of the game since the last call: P or a pad's Start to pause or
// go on; Space, Return or a pad's A to play again.
struct Commands {
    bool pause = false;
    bool playAgain = false;
};
Commands takeCommands();

// A menu's keys, from the keyboard (arrows, Tab and Shift+Tab, Return or Space, Backspace) and
// the pads (d-pad or stick, A, B).
enum class MenuKey { up, down, left, right, next, previous, press, back };
// The menu keys pressed since the last call, in order.
std::vector<MenuKey> takeMenuKeys();
// While on (a menu of the game's own is shown: the options, the pause menu, the online
// screens), Esc goes back one step as a menu key instead of ending the game.
void escapeGoesBack(bool on);
// While on, the next key pressed is kept by its name for takeCapturedKey; Esc then cancels
// instead of ending the game (it is taken as "Escape"), and no key acts otherwise.
void captureKey(bool on);
std::string takeCapturedKey();
// While on (a code to type), what is typed comes as text, in the symbols the keyboard layout
// gives, Ctrl+V (or Shift+Insert) pastes what the clipboard holds, and the keys that edit come
// by their name: Escape, Return, Keypad Enter, Tab, Backspace, Delete, Home, End and the arrows.
// No key acts otherwise; Esc is taken as "Escape" instead of ending the game.
struct Typed {
    std::string text; // or
    std::string key;
};
void typeText(bool on);
// Everything typed since the last call, in order: a frame keeps every key of it.
std::vector<Typed> takeTyped();
// A key's scancode by its SDL name ("R", "Up", "Left Shift"); 0 for no such key.
int scancodeOf(const std::string& name);
bool isKeyName(const std::string& name);
// Waits about one display refresh: what a frame would take when there is nothing to draw.
void waitForNextFrame();
// The players' keys by SDL scancode, in the order of PlayerKey.
void setPlayerKeys(const int scancodes[2][playerKeyCount]);
// Desktop full screen; F11 and Alt+Return toggle it.
void setFullscreen(bool on);
// Also after the window is gone: as it was last.
bool isFullscreen();
// Where the frame lies in the window's drawable (empty while minimised).
FrameRect frame();
// The window's last size when it was not on the whole screen; it outlives the window.
void windowSize(int& width, int& height);
void setCursorHidden(bool hidden);
// Shows the frame, holding the frame rate to the display's refresh rate when vsync is refused.
// Answers how long showing it took beyond that hold: the renderer finishing the frame and
// copying it out. Where the driver itself waits for the display, that wait cannot be told from
// the work, and the answer is 0 (see swapWaitsForDisplay).
double swapBuffers();
// Whether the driver's swap waits for the display's refresh (vsync kept): a frame's cost is
// then measured by waiting for the renderer before the swap.
bool swapWaitsForDisplay();
// The display's refresh period in milliseconds (60 Hz when the display does not say).
double refreshPeriodMs();

void showError(const char* caption, const char* text);
int stencilBits();

} // namespace platform
