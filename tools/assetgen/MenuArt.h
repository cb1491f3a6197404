#pragma once
#include "MenuButtons.h"
#include "Paint.h"

namespace assetgen {

// Sets the context to draw in menu-plane units with y flipped to run downwards, so that a
// menu point (x, y) is drawn at (x, -y) and circles stay round on the screen.
void enterMenuSpace(cairo_t* cr, const menuart::PictureExtent& extent);

// A rounded button whose face, outline and shadow all lie inside `button`.
void drawMenuButton(cairo_t* cr, const menuart::MenuRect& button, menuart::ButtonColour face,
                    const char* label);

// A soft pale panel to carry text, in menu units (y up).
void drawPanel(cairo_t* cr, const menuart::MenuRect& panel, Colour tint);

} // namespace assetgen
