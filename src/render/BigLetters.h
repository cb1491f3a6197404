#pragma once
#include "render/ViewLayout.h"
#include <string>

// What the online screens draw in the frame's pixels, each in the colour given (blended when
// its alpha is below 1).

struct FrameColour {
    float r, g, b, a = 1.0f;
};

// Big block letters of the code's symbols (and A to Z), drawn as squares of `size` frame pixels
// from the top left corner (x, y) of the first; frame pixels as MenuPanel has them.
void drawBigText(const FrameRect& frame, const std::string& text, int x, int y, int size,
                 FrameColour colour);
// A filled rectangle of the frame.
void drawFrameBox(const FrameRect& frame, int left, int top, int right, int bottom,
                  FrameColour colour);
// A button: a filled rectangle with `text` centred on it in the game's letters (white on a dark
// rim), as large as the rectangle's height allows.
void drawFrameLabel(const FrameRect& frame, const std::string& text, int left, int top, int right,
                    int bottom, FrameColour box);
