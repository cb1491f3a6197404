#pragma once
#include "render/ViewLayout.h"
#include <string>
#include <vector>

// A list of entries drawn over the title or the round (OPTIONS, the pause menu), one of them
// highlighted. Positions are the frame's own pixels (1024 by 735, y down from the top), so the
// menu that reads the pointer and the drawing agree on where each row lies.
struct MenuPanel {
    struct Row {
        std::string label, value; // the value is written in its own column; empty: none
        bool dimmed = false;
        bool adjustable = false; // left and right change the value: "<" and ">" show beside it
    };
    std::string title;
    std::vector<Row> rows;
    int focus = 0;      // the highlighted row; -1: none
    std::string notice; // a line under the rows (a key refused, what to press); empty: none
    int left = 232, right = 792;
    int top = 96;       // the title's line; the first row follows one row further down
    int rowHeight = 24; // the rows: from top + rowHeight * (n + 1) to one row further
    bool withValues = true;

    int rowTop(int n) const { return top + rowHeight * (n + 1); }
    int bottom() const { return rowTop(static_cast<int>(rows.size())) + 2 * rowHeight; }
    // The row under a point of the frame; -1: none.
    int rowAt(int x, int y) const {
        if (x <= left || x >= right || y < rowTop(0))
            return -1;
        const int n = (y - rowTop(0)) / rowHeight;
        return n < static_cast<int>(rows.size()) ? n : -1;
    }
    // Where a value's "<" ends and its ">" begins: a click left of the middle lowers it.
    int valueMiddle() const { return right - 110; }
};

// The panel over whatever the frame already shows (needs GL).
void drawMenuPanel(const FrameRect& frame, const MenuPanel& panel);

// Drawing in frame pixels (1024 by 735, y down) over the frame's place in the window, flat, unlit
// and unblended, until endFramePixels puts back what was there.
void beginFramePixels(const FrameRect& frame);
void endFramePixels();
