#pragma once
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// Writes small Windows bitmaps byte by byte for the decoder's tests. Every field is set by the
// test, so a test can also write a damaged file.
struct BitmapFileBuilder {
    struct Colour {
        uint8_t r, g, b;
    };

    bool fileHeader = true;
    uint32_t headerSize = 40; // 12 is the core header
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bitsPerPixel = 24;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    uint32_t coloursUsed = 0;
    std::vector<uint32_t> masks; // written after the header when not empty
    std::vector<Colour> palette; // written blue-green-red, plus a zero byte unless core
    std::vector<uint8_t> pixels; // the pixel data exactly as stored
    int64_t pixelOffset = -1;    // -1: right after the colour table
    std::optional<uint32_t> declaredHeaderSize; // when the header lies about its size

    std::vector<uint8_t> bytes() const {
        std::vector<uint8_t> out;
        if (fileHeader) {
            out = {'B', 'M'};
            put32(out, 0); // file size, patched below
            put32(out, 0);
            put32(out, 0); // pixel offset, patched below
        }
        put32(out, declaredHeaderSize.value_or(headerSize));
        if (headerSize == 12) {
            put16(out, static_cast<uint16_t>(width));
            put16(out, static_cast<uint16_t>(height));
            put16(out, 1);
            put16(out, bitsPerPixel);
        } else {
            put32(out, static_cast<uint32_t>(width));
            put32(out, static_cast<uint32_t>(height));
            put16(out, 1);
            put16(out, bitsPerPixel);
            put32(out, compression);
            put32(out, imageSize);
            put32(out, 2835);
            put32(out, 2835);
            put32(out, coloursUsed);
            put32(out, 0);
            while (out.size() < (fileHeader ? 14u : 0u) + headerSize)
                out.push_back(0);
        }
        for (uint32_t m : masks)
            put32(out, m);
        for (const Colour& c : palette) {
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
            if (headerSize != 12)
                out.push_back(0);
        }
        const uint32_t offset = pixelOffset >= 0 ? static_cast<uint32_t>(pixelOffset)
                                                 : static_cast<uint32_t>(out.size());
        while (out.size() < offset)
            out.push_back(0);
        out.insert(out.end(), pixels.begin(), pixels.end());
        if (fileHeader) {
            patch32(out, 2, static_cast<uint32_t>(out.size()));
            patch32(out, 10, offset);
        }
        return out;
    }

    static void put16(std::vector<uint8_t>& out, uint16_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    }
    static void put32(std::vector<uint8_t>& out, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    static void patch32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
};

inline bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
