#pragma once

// Shows a start-up failure to the user: a message box with the caption "Error" where the
// platform can show one, and always the text on standard error. The platform layer installs
// the message box; without it only standard error is written.
void reportError(const char* text);
using ErrorBoxFunction = void (*)(const char* caption, const char* text);
void setErrorBox(ErrorBoxFunction box);
