#pragma once
#include <string>

namespace assetgen {

// The sides, in pixels, of the desktop icons the generator writes.
inline constexpr int iconSizes[] = {256, 128, 64, 48};

// Writes the game's desktop icon at every size into <outDir>/icons/hicolor/<n>x<n>/apps/tuvo.png
// (the icon theme's layout): the red player's figure with a cheese wedge on a rounded tile of sky
// and meadow, the same drawing at every size. Transparent outside the tile. Throws
// std::runtime_error on a write failure.
void writeIcons(const std::string& outDir);

} // namespace assetgen
