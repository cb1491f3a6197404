#pragma once
#include <string>

namespace assetgen {

// Paints and synthesizes every file the game loads, into <outDir>/textures and
// <outDir>/sounds (created when missing), and the desktop icons into <outDir>/icons. Throws
// std::runtime_error on a write failure.
void writeAllAssets(const std::string& outDir);

} // namespace assetgen
