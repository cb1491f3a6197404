#pragma once
#include "render/ViewLayout.h"
#include <string>

// What the online screens draw in the frame's pixels.

// Big block letters of the code's symbols (and A to Z), drawn as squares of `size` frame pixels
// from the top left corner (x, y) of the first; frame pixels as MenuPanel has them.
void drawBigText(const FrameRect& frame, const std::string& text, int x, int y, int size);
// A filled rectangle of the frame, in the current colour.
void drawFrameBox(const FrameRect& frame, int left, int top, int right, int bottom);
// A line of the 9 by 15 font from (x, baseline), in the current colour.
void drawFrameText(const FrameRect& frame, const std::string& text, int x, int baseline);
