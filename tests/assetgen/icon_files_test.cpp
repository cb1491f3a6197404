#include "GeneratedFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const int sizes[] = {256, 128, 64, 48};

std::string iconPath(const std::string& root, int size) {
    const std::string side = std::to_string(size);
    return root + "/icons/hicolor/" + side + "x" + side + "/apps/tuvo.png";
}

std::uint32_t bigEndian32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (static_cast<std::uint32_t>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) |
           b[at + 3];
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t length) {
    std::uint32_t crc = 0xffffffffu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

struct Png {
    bool wellFormed = false;
    std::uint32_t width = 0, height = 0;
    int bitDepth = 0, colourType = 0, interlace = 0;
};

// Walks the chunks: signature, IHDR first, every CRC right, IEND last with nothing after it.
Png readPngHeader(const std::vector<std::uint8_t>& b) {
    Png png;
    const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (b.size() < 8 || !std::equal(signature, signature + 8, b.begin()))
        return png;
    std::size_t at = 8;
    bool first = true;
    while (at + 12 <= b.size()) {
        const std::uint32_t length = bigEndian32(b, at);
        if (at + 12 + length > b.size())
            return png;
        const std::string type(b.begin() + static_cast<long>(at) + 4,
                               b.begin() + static_cast<long>(at) + 8);
        if (crc32(&b[at + 4], length + 4) != bigEndian32(b, at + 8 + length))
            return png;
        if (first != (type == "IHDR"))
            return png;
        if (type == "IHDR") {
            png.width = bigEndian32(b, at + 8);
            png.height = bigEndian32(b, at + 12);
            png.bitDepth = b[at + 16];
            png.colourType = b[at + 17];
            png.interlace = b[at + 20];
        }
        first = false;
        at += 12 + length;
        if (type == "IEND") {
            png.wellFormed = at == b.size();
            return png;
        }
    }
    return png;
}

using Rgba = std::array<int, 4>;

// The icon's pixels as straight (not premultiplied) RGBA bytes, decoded by ImageMagick.
class IconPixels {
  public:
    IconPixels(const std::string& png, int size) : size_(size) {
        const fs::path raw =
            fs::temp_directory_path() / ("tuvo-icon-" + std::to_string(getpid()) + ".rgba");
        const std::string command = "convert '" + png + "' -depth 8 RGBA:'" + raw.string() + "'";
        if (std::system(command.c_str()) == 0)
            bytes_ = generated::readBytes(raw.string());
        fs::remove(raw);
    }
    bool complete() const { return bytes_.size() == static_cast<std::size_t>(size_) * size_ * 4; }
    Rgba at(int x, int y) const {
        const std::size_t p = (static_cast<std::size_t>(y) * size_ + x) * 4;
        return {bytes_[p], bytes_[p + 1], bytes_[p + 2], bytes_[p + 3]};
    }
    // The colour over black (premultiplied by alpha), averaged over a square of `side` pixels.
    std::array<double, 3> averageOverBlack(int x0, int y0, int side) const {
        std::array<double, 3> sum{0, 0, 0};
        for (int y = y0; y < y0 + side; ++y)
            for (int x = x0; x < x0 + side; ++x) {
                const Rgba p = at(x, y);
                for (int c = 0; c < 3; ++c)
                    sum[c] += p[c] * p[3] / 255.0;
            }
        for (double& s : sum)
            s /= side * side;
        return sum;
    }

  private:
    int size_;
    std::vector<std::uint8_t> bytes_;
};

TEST(DesktopIcon, EverySizeIsAWellFormedSquareRgbaPng) {
    for (int size : sizes) {
        SCOPED_TRACE(size);
        const auto bytes = generated::readBytes(iconPath(generated::buildDir(), size));
        const Png png = readPngHeader(bytes);
        ASSERT_TRUE(png.wellFormed);
        EXPECT_EQ(png.width, static_cast<std::uint32_t>(size));
        EXPECT_EQ(png.height, static_cast<std::uint32_t>(size));
        EXPECT_EQ(png.bitDepth, 8);
        EXPECT_EQ(png.colourType, 6); // truecolour with alpha
        EXPECT_EQ(png.interlace, 0);
    }
}

// A rounded tile: clear in the corners, opaque across the middle and along the edges' centres;
// the red player's head shows in the upper half.
TEST(DesktopIcon, ShowsTheRedPlayerOnARoundedTile) {
    const IconPixels icon(iconPath(generated::buildDir(), 256), 256);
    ASSERT_TRUE(icon.complete());
    for (auto [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}, {6, 6}, {249, 249}})
        EXPECT_EQ(icon.at(x, y)[3], 0) << "corner pixel " << x << "," << y;
    for (auto [x, y] : {std::pair{128, 128}, {128, 12}, {12, 128}, {243, 128}, {128, 243}})
        EXPECT_EQ(icon.at(x, y)[3], 255) << "tile pixel " << x << "," << y;
    int red = 0, white = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x) {
            const Rgba p = icon.at(x, y);
            red += p[0] > 160 && p[1] < 110 && p[2] < 120;
        }
    for (int y = 128; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const Rgba p = icon.at(x, y);
            white += p[0] > 200 && p[1] > 200 && p[2] > 200;
        }
    // The head and ears cover a good fifth of the upper half; the white body much of the lower.
    EXPECT_GT(red, 256 * 128 / 8);
    EXPECT_GT(white, 256 * 128 / 8);
}

// Each smaller icon is the same drawing: it matches the large one averaged down to its size.
TEST(DesktopIcon, SmallerSizesAreTheSameDrawing) {
    const IconPixels large(iconPath(generated::buildDir(), 256), 256);
    ASSERT_TRUE(large.complete());
    for (int size : {128, 64}) {
        SCOPED_TRACE(size);
        const IconPixels small(iconPath(generated::buildDir(), size), size);
        ASSERT_TRUE(small.complete());
        const int block = 256 / size;
        double difference = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const auto want = large.averageOverBlack(x * block, y * block, block);
                const auto got = small.averageOverBlack(x, y, 1);
                for (int c = 0; c < 3; ++c)
                    difference += std::abs(want[c] - got[c]);
            }
        EXPECT_LT(difference / (size * size * 3), 8.0);
    }
}

TEST(DesktopIcon, TheGeneratorWritesTheSameIconBytesEveryRun) {
    const fs::path dir = fs::temp_directory_path() / ("tuvo-icons-" + std::to_string(getpid()));
    fs::remove_all(dir);
    const std::string command =
        generated::buildDir() + "/tools/assetgen/assetgen '" + dir.string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (int size : sizes) {
        SCOPED_TRACE(size);
        const auto fresh = generated::readBytes(iconPath(dir.string(), size));
        EXPECT_FALSE(fresh.empty());
        EXPECT_EQ(fresh, generated::readBytes(iconPath(generated::buildDir(), size)));
    }
    fs::remove_all(dir);
}

} // namespace
