#pragma once
// Readers for the generated pictures and sounds, written against the file formats rather than
// the generator, so the tests see what the game's loaders will see.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace generated {

inline std::string buildDir() {
    return TUVO_BUILD_DIR;
}

inline std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
inline std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

struct Rgb {
    int r, g, b;
};

// A decoded 24-bit bitmap; `valid` is false when the file is not an uncompressed 24-bit
// bitmap with the 40-byte header and a pixel array of the size its header promises.
struct Bitmap {
    bool valid = false;
    int width = 0, height = 0;
    std::vector<std::uint8_t> bytes;
    std::uint32_t offset = 0, rowBytes = 0;

    // (x, y) with y = 0 the top row of the picture.
    Rgb at(int x, int y) const {
        const std::size_t p = offset + static_cast<std::size_t>(height - 1 - y) * rowBytes + x * 3;
        return {bytes[p + 2], bytes[p + 1], bytes[p]};
    }
};

inline Bitmap readBitmap(const std::string& path) {
    Bitmap bmp;
    bmp.bytes = readBytes(path);
    const auto& b = bmp.bytes;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || u32(b, 14) != 40) {
        return bmp;
    }
    bmp.offset = u32(b, 10);
    bmp.width = static_cast<int>(u32(b, 18));
    bmp.height = static_cast<int>(u32(b, 22));
    const bool plain = u16(b, 26) == 1 && u16(b, 28) == 24 && u32(b, 30) == 0;
    bmp.rowBytes = (static_cast<std::uint32_t>(bmp.width) * 3 + 3) & ~3u;
    const std::size_t need = bmp.offset + static_cast<std::size_t>(bmp.rowBytes) * bmp.height;
    bmp.valid =
        plain && bmp.width > 0 && bmp.height > 0 && b.size() >= need && u32(b, 2) == b.size();
    return bmp;
}

struct Wave {
    bool valid = false;
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<std::int16_t> samples;
    double seconds() const { return rate ? static_cast<double>(samples.size()) / rate : 0; }
};

// Reads a RIFF WAVE file chunk by chunk.
inline Wave readWave(const std::string& path) {
    Wave w;
    const auto b = readBytes(path);
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE" || u32(b, 4) + 8 != b.size()) {
        return w;
    }
    bool haveFormat = false, haveData = false;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::string id(b.begin() + static_cast<long>(at),
                             b.begin() + static_cast<long>(at) + 4);
        const std::uint32_t size = u32(b, at + 4);
        if (at + 8 + size > b.size()) {
            return w;
        }
        if (id == "fmt " && size >= 16) {
            w.format = u16(b, at + 8);
            w.channels = u16(b, at + 10);
            w.rate = static_cast<int>(u32(b, at + 12));
            w.bits = u16(b, at + 22);
            haveFormat = true;
        } else if (id == "data") {
            for (std::uint32_t k = 0; k + 1 < size; k += 2) {
                w.samples.push_back(static_cast<std::int16_t>(u16(b, at + 8 + k)));
            }
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    w.valid = haveFormat && haveData;
    return w;
}

} // namespace generated
