#include "scene/Bitmap.h"
#include <bit>
#include <cstdint>
#include <cstdio>
#include <new>

// Nothing a file says is trusted: every offset, size, palette index and run is held against the
// file's length and the picture's bounds before it is used, and the picture's size is checked
// before its buffer is allocated.

namespace {

constexpr size_t fileHeaderSize = 14;
constexpr uint32_t coreHeaderSize = 12;
constexpr uint32_t infoHeaderSize = 40;

constexpr uint32_t plainPixels = 0;
constexpr uint32_t runLength8 = 1;
constexpr uint32_t runLength4 = 2;
constexpr uint32_t bitFields = 3;

struct DecodeFailure {
    const char* message;
};

[[noreturn]] void damaged() {
    throw DecodeFailure{bitmapConversionError};
}

class Bytes {
  public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t size() const { return size_; }
    const uint8_t* at(size_t offset, uint64_t count) const {
        if (offset > size_ || count > size_ - offset)
            damaged();
        return data_ + offset;
    }
    uint16_t u16(size_t offset) const {
        const uint8_t* p = at(offset, 2);
        return static_cast<uint16_t>(p[0] | p[1] << 8);
    }
    uint32_t u32(size_t offset) const {
        const uint8_t* p = at(offset, 4);
        return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
               static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    }

  private:
    const uint8_t* data_;
    size_t size_;
};

// One colour channel of a 16 or 32-bit pixel, widened to eight bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (m == 0)
            return;
        shift = std::countr_zero(m);
        uint32_t field = m >> shift;
        if ((field & (field + 1)) != 0)
            damaged(); // the mask's bits are not one run
        bits = std::popcount(field);
    }

    uint8_t operator()(uint32_t pixel) const {
        if (bits == 0)
            return 0;
        uint32_t value = (pixel & mask) >> shift;
        if (bits >= 8)
            return static_cast<uint8_t>(value >> (bits - 8));
        // Repeat the field's bits downward so that its largest value becomes 255.
        uint32_t wide = 0;
        int filled = 0;
        while (filled < 8) {
            wide = wide << bits | value;
            filled += bits;
        }
        return static_cast<uint8_t>(wide >> (filled - 8));
    }
};

struct Rgb {
    uint8_t r, g, b;
};

struct Layout {
    int32_t width = 0;
    int32_t height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    uint32_t compression = plainPixels;
    uint32_t masks[3] = {};
    std::vector<Rgb> palette;
    size_t pixelOffset = 0;
    size_t pixelBytes = 0;
};

bool isKnownDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

Layout readLayout(const Bytes& file, int32_t maxSide) {
    Layout layout;
    const bool hasFileHeader = file.size() >= 2 && *file.at(0, 1) == 'B' && *file.at(1, 1) == 'M';
    const size_t infoAt = hasFileHeader ? fileHeaderSize : 0;
    const uint32_t headerSize = file.u32(infoAt);
    if (headerSize != coreHeaderSize && headerSize != infoHeaderSize)
        throw DecodeFailure{bitmapUnknownFormat};
    file.at(infoAt, headerSize);

    int64_t width, height;
    uint32_t coloursUsed = 0;
    uint32_t imageSize = 0;
    size_t paletteEntrySize;
    if (headerSize == coreHeaderSize) {
        width = file.u16(infoAt + 4);
        height = file.u16(infoAt + 6);
        layout.bitsPerPixel = file.u16(infoAt + 10);
        paletteEntrySize = 3;
    } else {
        width = static_cast<int32_t>(file.u32(infoAt + 4));
        height = static_cast<int32_t>(file.u32(infoAt + 8));
        layout.bitsPerPixel = file.u16(infoAt + 14);
        layout.compression = file.u32(infoAt + 16);
        imageSize = file.u32(infoAt + 20);
        coloursUsed = file.u32(infoAt + 32);
        paletteEntrySize = 4;
    }

    layout.topDown = height < 0;
    if (height < 0)
        height = -height;
    if (width <= 0 || height == 0 || width > maxSide || height > maxSide)
        damaged();
    if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 3 > SIZE_MAX)
        damaged();
    layout.width = static_cast<int32_t>(width);
    layout.height = static_cast<int32_t>(height);

    const int bpp = layout.bitsPerPixel;
    if (!isKnownDepth(bpp))
        damaged();
    switch (layout.compression) {
    case plainPixels:
        break;
    case runLength8:
    case runLength4:
        // Runs are only defined for 8 and 4-bit pictures stored bottom-up.
        if (bpp != (layout.compression == runLength8 ? 8 : 4) || layout.topDown)
            damaged();
        break;
    case bitFields:
        if (bpp != 16 && bpp != 32)
            damaged();
        break;
    default:
        damaged();
    }

    size_t cursor = infoAt + headerSize;
    if (layout.compression == bitFields) {
        for (int i = 0; i < 3; ++i)
            layout.masks[i] = file.u32(cursor + 4 * i);
        cursor += 12;
    } else if (bpp == 16) {
        layout.masks[0] = 0x7c00;
        layout.masks[1] = 0x03e0;
        layout.masks[2] = 0x001f;
    } else if (bpp == 32) {
        layout.masks[0] = 0xff0000;
        layout.masks[1] = 0x00ff00;
        layout.masks[2] = 0x0000ff;
    }

    // The colour table: a full one for its depth unless the header names fewer colours. Pictures
    // of more than 8 bits may carry a table they do not use; it matters only to find the pixels
    // of a file without the "BM" header, which has no pixel offset.
    uint64_t tableEntries = coloursUsed;
    if (bpp <= 8) {
        const uint32_t depthColours = 1u << bpp;
        if (tableEntries == 0 || tableEntries > depthColours)
            tableEntries = depthColours;
    } else if (hasFileHeader) {
        tableEntries = 0;
    }
    const uint64_t tableBytes = tableEntries * paletteEntrySize;
    const uint8_t* table = file.at(cursor, tableBytes);
    if (bpp <= 8) {
        layout.palette.resize(tableEntries);
        for (size_t i = 0; i < tableEntries; ++i) {
            const uint8_t* entry = table + i * paletteEntrySize;
            layout.palette[i] = Rgb{entry[2], entry[1], entry[0]};
        }
    }
    const size_t tableEnd = cursor + tableBytes;

    if (hasFileHeader) {
        const uint32_t offset = file.u32(10);
        if (offset < tableEnd || offset > file.size())
            damaged();
        layout.pixelOffset = offset;
    } else {
        layout.pixelOffset = tableEnd;
    }
    layout.pixelBytes = file.size() - layout.pixelOffset;

    if (layout.compression == runLength8 || layout.compression == runLength4) {
        if (imageSize != 0) {
            if (imageSize > layout.pixelBytes)
                damaged();
            layout.pixelBytes = imageSize;
        }
        // Two bytes of runs paint at most 255 pixels, so a picture larger than its runs can
        // paint is refused before its buffer exists. Pictures that leave most pixels unwritten
        // by moves or an early end fall under this too: they are the way a tiny file asks for
        // gigabytes, not a way anyone stores a real picture.
        const uint64_t paintable = layout.pixelBytes / 2 * 255;
        if (static_cast<uint64_t>(layout.width) * static_cast<uint64_t>(layout.height) > paintable)
            damaged();
    } else {
        const uint64_t stride = (static_cast<uint64_t>(layout.width) * bpp + 31) / 32 * 4;
        const uint64_t rowBytes = (static_cast<uint64_t>(layout.width) * bpp + 7) / 8;
        // The last row's padding may be left off.
        const uint64_t needed = stride * (layout.height - 1) + rowBytes;
        if (needed > layout.pixelBytes)
            damaged();
    }
    return layout;
}

// Palette pictures name colours by index; an index past the end of a short colour table is
// treated as damage rather than guessed at.
const Rgb& paletteColour(const Layout& layout, uint32_t index) {
    if (index >= layout.palette.size())
        damaged();
    return layout.palette[index];
}

void put(uint8_t* out, const Rgb& c) {
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
}

void decodePlainPixels(const Bytes& file, const Layout& layout, uint8_t* out) {
    const int bpp = layout.bitsPerPixel;
    const size_t width = static_cast<size_t>(layout.width);
    const size_t stride = (width * bpp + 31) / 32 * 4;
    const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
    for (int32_t fileRow = 0; fileRow < layout.height; ++fileRow) {
        const int32_t row = layout.topDown ? layout.height - 1 - fileRow : fileRow;
        const uint8_t* src = file.at(layout.pixelOffset + fileRow * stride, (width * bpp + 7) / 8);
        uint8_t* dst = out + row * width * 3;
        for (size_t x = 0; x < width; ++x, dst += 3) {
            switch (bpp) {
            case 1:
                put(dst, paletteColour(layout, src[x / 8] >> (7 - x % 8) & 1));
                break;
            case 4:
                put(dst, paletteColour(layout, x % 2 == 0 ? src[x / 2] >> 4 : src[x / 2] & 15));
                break;
            case 8:
                put(dst, paletteColour(layout, src[x]));
                break;
            case 16: {
                const uint32_t v = src[2 * x] | src[2 * x + 1] << 8;
                put(dst, Rgb{red(v), green(v), blue(v)});
                break;
            }
            case 24:
                put(dst, Rgb{src[3 * x + 2], src[3 * x + 1], src[3 * x]});
                break;
            default: {
                const uint8_t* p = src + 4 * x;
                const uint32_t v = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                   static_cast<uint32_t>(p[2]) << 16 |
                                   static_cast<uint32_t>(p[3]) << 24;
                put(dst, Rgb{red(v), green(v), blue(v)});
            }
            }
        }
    }
}

// Run-length pictures: pairs of (count, colour) bytes, or an escape (0, code). Code 0 ends the
// row, 1 ends the picture, 2 moves right and up by the next two bytes, and 3 or more starts that
// many literal pixels padded to a whole 16-bit word. Pixels never written stay black.
void decodeRuns(const Bytes& file, const Layout& layout, uint8_t* out) {
    const bool fourBit = layout.compression == runLength4;
    const int64_t width = layout.width;
    const int64_t height = layout.height;
    size_t p = layout.pixelOffset;
    const size_t end = layout.pixelOffset + layout.pixelBytes;
    int64_t x = 0, y = 0;

    auto startRun = [&](int64_t count) -> uint8_t* {
        if (y >= height || x + count > width)
            damaged();
        uint8_t* dst = out + (y * width + x) * 3;
        x += count;
        return dst;
    };
    auto take = [&](size_t count) -> const uint8_t* {
        if (count > end - p)
            damaged();
        const uint8_t* bytes = file.at(p, count);
        p += count;
        return bytes;
    };

    for (;;) {
        const uint8_t* pair = take(2);
        const uint8_t count = pair[0], code = pair[1];
        if (count > 0) {
            uint8_t* dst = startRun(count);
            for (int i = 0; i < count; ++i, dst += 3) {
                const uint32_t index = !fourBit ? code : i % 2 == 0 ? code >> 4 : code & 15;
                put(dst, paletteColour(layout, index));
            }
        } else if (code == 0) {
            x = 0;
            ++y;
        } else if (code == 1) {
            return;
        } else if (code == 2) {
            const uint8_t* delta = take(2);
            if (x + delta[0] > width || y + delta[1] > height)
                damaged();
            x += delta[0];
            y += delta[1];
        } else {
            const size_t bytes = fourBit ? (code + 1) / 2 : code;
            const uint8_t* literal = take(bytes + bytes % 2);
            uint8_t* dst = startRun(code);
            for (int i = 0; i < code; ++i, dst += 3) {
                const uint32_t index = !fourBit     ? literal[i]
                                       : i % 2 == 0 ? literal[i / 2] >> 4
                                                    : literal[i / 2] & 15;
                put(dst, paletteColour(layout, index));
            }
        }
    }
}

} // namespace

std::string bitmapOpenError(const char* fileName) {
    return std::string("Failed to open DIB file ") + (fileName ? fileName : "") + ".\n";
}

std::string bitmapFileError(const char* fileName, const std::string& message) {
    return std::string(fileName ? fileName : "") + ": " + message;
}

bool decodeBitmap(const uint8_t* data, size_t size, Bitmap& image, std::string& error,
                  int32_t maxSide) {
    image = Bitmap{};
    try {
        const Bytes file(data, size);
        const Layout layout = readLayout(file, maxSide);
        Bitmap decoded;
        decoded.width = layout.width;
        decoded.height = layout.height;
        decoded.pixels.assign(static_cast<size_t>(layout.width) * layout.height * 3, 0);
        if (layout.compression == runLength8 || layout.compression == runLength4)
            decodeRuns(file, layout, decoded.pixels.data());
        else
            decodePlainPixels(file, layout, decoded.pixels.data());
        image = std::move(decoded);
        return true;
    } catch (const DecodeFailure& failure) {
        error = failure.message;
    } catch (const std::bad_alloc&) {
        error = bitmapOutOfMemory;
    }
    return false;
}

bool loadBitmap(const char* fileName, Bitmap& image, std::string& error) {
    image = Bitmap{};
    std::FILE* f = fileName ? std::fopen(fileName, "rb") : nullptr;
    if (!f) {
        error = bitmapOpenError(fileName);
        return false;
    }
    std::vector<uint8_t> bytes;
    try {
        uint8_t chunk[65536];
        size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
            bytes.insert(bytes.end(), chunk, chunk + got);
    } catch (const std::bad_alloc&) {
        std::fclose(f);
        error = bitmapFileError(fileName, bitmapOutOfMemory);
        return false;
    }
    const bool readFailed = std::ferror(f) != 0;
    std::fclose(f);
    if (readFailed) {
        error = bitmapOpenError(fileName);
        return false;
    }
    if (!decodeBitmap(bytes.data(), bytes.size(), image, error)) {
        error = bitmapFileError(fileName, error);
        return false;
    }
    return true;
}
