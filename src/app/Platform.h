#pragma once
#include "app/KeyState.h"
#include "app/Menu.h"

// The window, its GL context and the event queue, over SDL2. Only this layer talks to SDL.
namespace platform {

// Opens the window with the given client size at screen position (0, 0). False if it cannot.
bool createWindow(const char* title, int width, int height);
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
void setCursorHidden(bool hidden);
// Shows the frame, holding the frame rate to the display's refresh rate when vsync is refused.
void swapBuffers();

void showError(const char* caption, const char* text);
int stencilBits();

} // namespace platform
