#include "Picture.h"

#include <fstream>
#include <stdexcept>

namespace assetgen {
namespace {

void putU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xff));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xff));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    putU16(out, value & 0xffff);
    putU16(out, value >> 16);
}

} // namespace

Picture blendPictures(const Picture& from, const Picture& to, int step) {
    if (from.width != to.width || from.height != to.height) {
        throw std::invalid_argument("season pictures differ in size");
    }
    Picture out(from.width, from.height);
    for (std::size_t i = 0; i < out.rgb.size(); ++i) {
        // (a * (5 - k) + b * k) / 5 never ends in exactly one half, so + 2 rounds to nearest.
        int sum = from.rgb[i] * (5 - step) + to.rgb[i] * step;
        out.rgb[i] = static_cast<std::uint8_t>((sum + 2) / 5);
    }
    return out;
}

Picture turnQuarter(const Picture& picture) {
    Picture out(picture.height, picture.width);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* src = picture.at(x, y);
            std::uint8_t* dst = out.at(picture.height - 1 - y, x);
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
    }
    return out;
}

std::vector<std::uint8_t> encodeBmp(const Picture& picture) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(picture.width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(picture.height);
    const std::uint32_t offset = 14 + 40;
    std::vector<std::uint8_t> out;
    out.reserve(offset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    putU32(out, offset + pixelBytes);
    putU32(out, 0); // two reserved words
    putU32(out, offset);
    putU32(out, 40);
    putU32(out, static_cast<std::uint32_t>(picture.width));
    putU32(out, static_cast<std::uint32_t>(picture.height)); // positive: bottom row first
    putU16(out, 1);                                          // planes
    putU16(out, 24);                                         // bits per pixel
    putU32(out, 0);                                          // no compression
    putU32(out, pixelBytes);
    putU32(out, 2835); // 72 dots per inch, in pixels per metre
    putU32(out, 2835);
    putU32(out, 0); // no palette
    putU32(out, 0);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = picture.at(x, y);
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(picture.width) * 3; pad < rowBytes;
             ++pad) {
            out.push_back(0);
        }
    }
    return out;
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        throw std::runtime_error("cannot open " + path + " for writing");
    }
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace assetgen
