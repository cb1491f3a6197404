#pragma once
#include <string>
#include <vector>

// A box of the overview's letters, in frame pixels from the overview's top left (y down).
struct HudBox {
    float x0, y0, x1, y1;
    bool overlaps(const HudBox& o) const {
        return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1;
    }
};

// A line on the dimmed band over the overview: "PAUSED", a waiting line, the result and the
// round's numbers under it. A row of numbers has a label and each player's number.
struct BandLine {
    std::string text; // a row of numbers: its label
    bool large = false;
    bool numbers = false;
    int values[2] = {0, 0};

    // Letters the line takes: a row of numbers is its label and two numbers in five places each.
    int letters() const;
};

// Where the overview's texts stand at a frame's scale (drawable pixels per frame pixel), in
// frame pixels from the overview's top left, y down to the letters' baseline. The letters keep
// their size in pixels, so in a small frame they take more of it: there the columns' headers go
// first, then the lines rising under the columns, then the columns themselves, before any two
// texts meet. The columns give way to a band line too wide to stand between them.
struct HudLayout {
    bool largeLetters; // the columns and the clock in the 9 by 15 letters, else 8 by 13
    float letterWidth, bigLetterWidth;
    float ascent, descent, bigAscent, bigDescent;
    float lineStep;
    bool columns, headers, risingLines;
    // Lines down a column: all seven, or in a small frame, where seven would cover much of the
    // overview, the points alone.
    int columnLines;
    // The first of the seven lines a column shows.
    int firstColumnLine() const { return 7 - columnLines; }
    float columnX[2];
    float headerY; // the header's baseline; the lines follow it one step apart
    float firstLineY;
    float computerY; // under the lines: which computer plays the side, if one does
    float clockX, clockY;
    float riseFromY, riseToY; // the line under a column rises from one baseline to the other
    bool band;
    HudBox bandBox;           // the dimmed band
    std::vector<float> bandY; // each band line's baseline
    std::vector<float> bandX; // each band line's start

    // The box a line of `letters` letters at (x, baseline y) takes, its rim included.
    HudBox box(float x, float y, int letters, bool large) const;
    // Where a line of `letters` letters of column 0 or 1 starts: a line wider than the column
    // (which computer plays it) ends where the right column ends, not beyond the view.
    float lineX(int column, int letters) const;
};

constexpr int hudColumnLetters = 11;   // the widest column line, "Points: 100"
constexpr int hudClockLetters = 10;    // "TIME: 5:59"
constexpr int hudComputerLetters = 15; // the widest line under a column, "COMPUTER NORMAL"

// `computerLines`: a computer plays a side, and its column says which under its lines.
HudLayout hudLayout(double scale, const std::vector<BandLine>& bandLines,
                    bool computerLines = false);
