#include "render/BigLetters.h"
#include "render/MenuPanel.h"
#include "render/TextFont.h"
#include <GL/gl.h>
#include <cstring>

namespace {
// Five by seven blocks a symbol, rows from the top, '#' a block: a room code read across a room
// needs letters larger than any of the fonts at hand.
struct Glyph {
    char symbol;
    const char* rows[7];
};
constexpr Glyph glyphs[] = {
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'J', {"  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "}},
    {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "#   #", "##  #", "# # #", "#  ##", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
    {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "# # #", " # # "}},
    {'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
    {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'Z', {"#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"}},
    {'?', {" ### ", "#   #", "    #", "   # ", "  #  ", "     ", "  #  "}},
};

const Glyph* glyphOf(char c) {
    for (const Glyph& g : glyphs)
        if (g.symbol == c)
            return &g;
    return nullptr;
}

// Frame pixels in one colour.
void beginFramePixels(const FrameRect& frame, FrameColour colour) {
    beginFramePixels(frame);
    if (colour.a < 1.0f) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glColor4f(colour.r, colour.g, colour.b, colour.a);
}
} // namespace

void drawFrameBox(const FrameRect& frame, int left, int top, int right, int bottom,
                  FrameColour colour) {
    beginFramePixels(frame, colour);
    glRecti(left, top, right, bottom);
    endFramePixels();
}

void drawFrameLabel(const FrameRect& frame, const std::string& text, int left, int top, int right,
                    int bottom, FrameColour box) {
    beginFramePixels(frame, box);
    glRecti(left, top, right, bottom);
    const float height = static_cast<float>(bottom - top);
    float size = height * 0.6f;
    const float room = static_cast<float>(right - left) * 0.9f;
    if (textWidth(text, size) > room)
        size *= room / textWidth(text, size);
    const float white[] = {1, 1, 1, 1}, rim[] = {0.05f, 0.08f, 0.2f, 1};
    drawText((static_cast<float>(left + right) - textWidth(text, size)) / 2,
             static_cast<float>(top) + height / 2 + size * 0.35f, size, text, white, rim);
    endFramePixels();
}

void drawBigText(const FrameRect& frame, const std::string& text, int x, int y, int size,
                 FrameColour colour) {
    beginFramePixels(frame, colour);
    glBegin(GL_QUADS);
    for (size_t n = 0; n < text.size(); ++n) {
        const Glyph* g = glyphOf(text[n]);
        if (!g)
            continue;
        const int left = x + static_cast<int>(n) * 6 * size;
        for (int row = 0; row < 7; ++row)
            for (int column = 0; column < 5; ++column) {
                if (g->rows[row][column] != '#')
                    continue;
                const int l = left + column * size, t = y + row * size;
                glVertex2i(l, t);
                glVertex2i(l + size, t);
                glVertex2i(l + size, t + size);
                glVertex2i(l, t + size);
            }
    }
    glEnd();
    endFramePixels();
}
