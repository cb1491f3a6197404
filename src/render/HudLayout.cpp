#include "render/HudLayout.h"
#include "render/ViewLayout.h"
#include <algorithm>

namespace {
// The overview's height in frame pixels.
constexpr float overviewHeight = windowHeight - splitHeight;
// Letter cells of the two bitmap fonts in drawable pixels: width, rows above and below the
// baseline, each with the one-pixel rim.
constexpr float smallCell[3] = {8, 12, 3};
constexpr float largeCell[3] = {9, 13, 4};
// The share of the overview's area the two columns of seven lines may cover; past it they
// shrink to the points alone.
constexpr float mostColumnCover = 0.2f;
} // namespace

int BandLine::letters() const {
    return numbers ? static_cast<int>(text.size()) + 10 : static_cast<int>(text.size());
}

HudBox HudLayout::box(float x, float y, int letters, bool large) const {
    const float width = (large ? bigLetterWidth : letterWidth) * static_cast<float>(letters);
    return {x - 1, y - (large ? bigAscent : ascent), x + width + 1,
            y + (large ? bigDescent : descent)};
}

HudLayout hudLayout(double scale, const std::vector<BandLine>& bandLines, bool computerLines) {
    const float s = static_cast<float>(scale > 0 ? scale : 1);
    HudLayout l{};
    l.largeLetters = scale >= 1.15;
    const float* cell = l.largeLetters ? largeCell : smallCell;
    // Drawable pixels to frame pixels.
    l.letterWidth = cell[0] / s;
    l.ascent = cell[1] / s;
    l.descent = cell[2] / s;
    l.bigLetterWidth = largeCell[0] / s;
    l.bigAscent = largeCell[1] / s;
    l.bigDescent = largeCell[2] / s;
    // 15 frame pixels a line at the frame's own size; never closer than the letters allow.
    l.lineStep = std::max(15.0f, (l.ascent + l.descent) + 1 / s);
    const float margin = std::max(30.0f, 4 / s);
    const float top = std::max(30.0f, l.bigAscent + 3 / s);
    const float columnWidth = l.letterWidth * hudColumnLetters;
    // The line under a column saying which computer plays the side is wider than the column:
    // toward the middle the column's texts reach that far.
    const float columnReach =
        l.letterWidth * (computerLines ? hudComputerLetters : hudColumnLetters);

    l.clockY = top;
    l.clockX = windowWidth / 2.0f - l.letterWidth * hudClockLetters / 2;
    l.columnX[0] = margin;
    l.columnX[1] = windowWidth - margin - columnWidth;
    const float gap = 6 / s;
    l.columns = l.columnX[0] + columnReach + gap <= l.clockX &&
                l.clockX + l.letterWidth * hudClockLetters + gap <=
                    l.columnX[1] + columnWidth - columnReach;

    // Down the column: the header, seven lines, the line saying which computer plays the side,
    // and the room the rising line needs under them.
    const float headerRoom = std::max(l.lineStep, l.bigDescent + l.ascent + 2 / s);
    const float fullBottom =
        top + headerRoom + l.lineStep * static_cast<float>(6 + (computerLines ? 1 : 0)) + l.descent;
    const float cover = 2 * columnReach * (fullBottom - top) / (windowWidth * overviewHeight);
    l.columnLines = cover > mostColumnCover ? 1 : 7;
    auto columnBottom = [&](bool headers, bool rising) {
        const int rows = l.columnLines + (computerLines ? 1 : 0) + (rising ? 2 : 0);
        return top + (headers ? headerRoom : 0) + l.lineStep * static_cast<float>(rows - 1) +
               l.descent;
    };
    l.headers = l.columns && columnBottom(true, true) <= overviewHeight;
    l.risingLines = l.columns && columnBottom(l.headers, true) <= overviewHeight;
    l.columns = l.columns && columnBottom(false, false) <= overviewHeight;
    l.headerY = top;
    // The header is in the larger letters, its lines follow where those end.
    l.firstLineY = l.headers ? top + std::max(l.lineStep, l.bigDescent + l.ascent + 2 / s) : top;
    const float lastLineY = l.firstLineY + static_cast<float>(l.columnLines - 1) * l.lineStep;
    l.computerY = lastLineY + l.lineStep;
    const float underLines = computerLines ? l.computerY : lastLineY;
    l.riseFromY = underLines + 2 * l.lineStep;
    l.riseToY = underLines + l.lineStep;

    l.band = !bandLines.empty();
    if (!l.band)
        return l;
    float widest = 0, height = 0;
    for (const BandLine& b : bandLines) {
        widest = std::max(widest, static_cast<float>(b.letters()) *
                                      (b.large ? l.bigLetterWidth : l.letterWidth));
        height += b.large ? l.bigAscent + l.bigDescent + 4 / s : l.lineStep;
    }
    const float pad = 8 / s;
    // Between the columns when it fits there; else the columns give way.
    const float inner0 = l.columnX[0] + columnReach + gap;
    const float inner1 = l.columnX[1] + columnWidth - columnReach - gap;
    if (l.columns && widest + 2 * pad > inner1 - inner0) {
        l.columns = l.headers = l.risingLines = false;
    }
    const float x0 = l.columns ? inner0 : 0, x1 = l.columns ? inner1 : windowWidth;
    // Centred on the frame pixel 250 where there is room, never over the clock or off the view.
    const float clockBottom = l.clockY + l.descent + gap;
    float y0 = 250 - height / 2 - pad;
    y0 = std::min(y0, overviewHeight - height - 2 * pad);
    y0 = std::max(y0, clockBottom);
    l.bandBox = {x0, y0, x1, std::min(overviewHeight, y0 + height + 2 * pad)};
    float y = y0 + pad;
    for (const BandLine& b : bandLines) {
        const float w =
            static_cast<float>(b.letters()) * (b.large ? l.bigLetterWidth : l.letterWidth);
        if (b.large) {
            l.bandY.push_back(y + l.bigAscent + 2 / s);
            y += l.bigAscent + l.bigDescent + 4 / s;
        } else {
            l.bandY.push_back(y + l.ascent);
            y += l.lineStep;
        }
        l.bandX.push_back(windowWidth / 2.0f - w / 2);
    }
    return l;
}

float HudLayout::lineX(int column, int letters) const {
    if (column == 0)
        return columnX[0];
    return std::min(columnX[1],
                    columnX[1] + letterWidth * static_cast<float>(hudColumnLetters - letters));
}
