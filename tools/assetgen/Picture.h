#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// A 24-bit picture, red-green-blue bytes, top row first, rows packed without padding.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    Picture() = default;
    Picture(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3, 0) {}
    std::uint8_t* at(int x, int y) { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
    const std::uint8_t* at(int x, int y) const {
        return &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    }
};

// The season blend step `step` of 5 between two pictures of the same size: each byte is
// round(a * (1 - step / 5) + b * step / 5), in integers so that no rounding differs by platform.
Picture blendPictures(const Picture& from, const Picture& to, int step);

// The picture turned a quarter turn clockwise (what was the top row becomes the right column).
Picture turnQuarter(const Picture& picture);

// Uncompressed 24-bit Windows bitmap: file header, 40-byte info header, bottom row first, each
// row padded to a multiple of four bytes.
std::vector<std::uint8_t> encodeBmp(const Picture& picture);

// Writes the bytes to the path; throws std::runtime_error when the file cannot be written.
void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace assetgen
