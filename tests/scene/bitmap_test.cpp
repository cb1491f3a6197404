#include "scene/Bitmap.h"
#include "scene/BitmapFileBuilder.h"
#include <climits>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using Colour = BitmapFileBuilder::Colour;
using Pixels = std::vector<uint8_t>;

Bitmap decodeGood(const std::vector<uint8_t>& bytes) {
    Bitmap image;
    std::string error;
    EXPECT_TRUE(decodeBitmap(bytes.data(), bytes.size(), image, error)) << error;
    return image;
}

std::string decodeError(const std::vector<uint8_t>& bytes) {
    Bitmap image;
    std::string error;
    EXPECT_FALSE(decodeBitmap(bytes.data(), bytes.size(), image, error));
    EXPECT_TRUE(image.pixels.empty());
    return error;
}

Pixels colours(std::initializer_list<Colour> list) {
    Pixels out;
    for (const Colour& c : list)
        out.insert(out.end(), {c.r, c.g, c.b});
    return out;
}

// A 3 by 2 true-colour picture: each stored row is 9 bytes of blue-green-red plus 3 of padding.
BitmapFileBuilder trueColourThreeByTwo() {
    BitmapFileBuilder b;
    b.width = 3;
    b.height = 2;
    b.pixels = {30, 20, 10, 60, 50, 40, 90, 80, 70, 0, 0, 0, // bottom row
                3,  2,  1,  6,  5,  4,  9,  8,  7,  0, 0, 0};
    return b;
}
const Pixels trueColourThreeByTwoRgb = {10, 20, 30, 40, 50, 60, 70, 80, 90,
                                        1,  2,  3,  4,  5,  6,  7,  8,  9};

const std::string conversionError = "Image file conversion error.";

} // namespace

TEST(BitmapDecoder, TrueColourRowsArePackedRedGreenBlueBottomRowFirst) {
    const Bitmap image = decodeGood(trueColourThreeByTwo().bytes());
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    ASSERT_EQ(image.pixels.size(), 3u * 3 * 2) << "no row padding in the decoded buffer";
    EXPECT_EQ(image.pixels, trueColourThreeByTwoRgb);

    BitmapFileBuilder bare = trueColourThreeByTwo();
    bare.fileHeader = false;
    EXPECT_EQ(decodeGood(bare.bytes()).pixels, trueColourThreeByTwoRgb) << "without \"BM\"";

    BitmapFileBuilder gap = trueColourThreeByTwo();
    gap.pixelOffset = 80;
    EXPECT_EQ(decodeGood(gap.bytes()).pixels, trueColourThreeByTwoRgb) << "offset is followed";

    // Stored top row first: the decoder still hands out the bottom row first.
    BitmapFileBuilder topDown = trueColourThreeByTwo();
    topDown.height = -2;
    topDown.pixels = {3,  2,  1,  6,  5,  4,  9,  8,  7,  0, 0, 0,
                      30, 20, 10, 60, 50, 40, 90, 80, 70, 0, 0, 0};
    const Bitmap turned = decodeGood(topDown.bytes());
    EXPECT_EQ(turned.height, 2);
    EXPECT_EQ(turned.pixels, trueColourThreeByTwoRgb);

    // A true-colour picture's colour table is unused: skipped when there is no pixel offset,
    // ignored (whatever its declared size) when there is one.
    BitmapFileBuilder bareWithTable = bare;
    bareWithTable.coloursUsed = 2;
    bareWithTable.palette = {Colour{1, 1, 1}, Colour{2, 2, 2}};
    EXPECT_EQ(decodeGood(bareWithTable.bytes()).pixels, trueColourThreeByTwoRgb);
    BitmapFileBuilder hugeTable = trueColourThreeByTwo();
    hugeTable.coloursUsed = 0xffffffffu;
    EXPECT_EQ(decodeGood(hugeTable.bytes()).pixels, trueColourThreeByTwoRgb);

    // The last row's padding may be missing from the file.
    BitmapFileBuilder short_ = trueColourThreeByTwo();
    short_.pixels.resize(21);
    EXPECT_EQ(decodeGood(short_.bytes()).pixels, trueColourThreeByTwoRgb);
}

TEST(BitmapDecoder, PaletteDepthsLookUpTheirColours) {
    const Colour red{200, 0, 0}, blue{0, 0, 200};

    BitmapFileBuilder mono;
    mono.bitsPerPixel = 1;
    mono.width = 10;
    mono.palette = {red, blue};
    mono.pixels = {0xb3, 0x80, 0, 0}; // 1011001110, most significant bit first
    EXPECT_EQ(decodeGood(mono.bytes()).pixels,
              colours({blue, red, blue, blue, red, red, blue, blue, blue, red}));

    BitmapFileBuilder nibbles;
    nibbles.bitsPerPixel = 4;
    nibbles.width = 3;
    nibbles.height = 2;
    for (int i = 0; i < 16; ++i)
        nibbles.palette.push_back(Colour{uint8_t(i * 10), uint8_t(i * 5), uint8_t(255 - i)});
    nibbles.pixels = {0x12, 0x30, 0, 0, 0xf0, 0xa0, 0, 0};
    const auto& p = nibbles.palette;
    EXPECT_EQ(decodeGood(nibbles.bytes()).pixels, colours({p[1], p[2], p[3], p[15], p[0], p[10]}));

    // A short colour table: the header names three colours.
    BitmapFileBuilder bytes;
    bytes.bitsPerPixel = 8;
    bytes.width = 2;
    bytes.coloursUsed = 3;
    bytes.palette = {red, Colour{1, 2, 3}, blue};
    bytes.pixels = {2, 0, 0, 0};
    EXPECT_EQ(decodeGood(bytes.bytes()).pixels, colours({blue, red}));
}

TEST(BitmapDecoder, CoreHeaderHasThreeBytePaletteEntries) {
    BitmapFileBuilder core;
    core.headerSize = 12;
    core.bitsPerPixel = 1;
    core.width = 2;
    core.palette = {Colour{1, 2, 3}, Colour{4, 5, 6}};
    core.pixels = {0x40, 0, 0, 0};
    EXPECT_EQ(decodeGood(core.bytes()).pixels, Pixels({1, 2, 3, 4, 5, 6}));

    BitmapFileBuilder trueColour = trueColourThreeByTwo();
    trueColour.headerSize = 12;
    trueColour.fileHeader = false;
    EXPECT_EQ(decodeGood(trueColour.bytes()).pixels, trueColourThreeByTwoRgb);
}

TEST(BitmapDecoder, SixteenBitPixelsWidenEachFieldToEightBits) {
    // Default layout: five bits each of red, green and blue, the top bit unused.
    BitmapFileBuilder fiveFiveFive;
    fiveFiveFive.bitsPerPixel = 16;
    fiveFiveFive.width = 4;
    fiveFiveFive.pixels = {0x00, 0x7c, 0xe0, 0x03, 0x1f, 0x80, 0x10, 0x42};
    // 16 of 31 widens to 132 (its five bits repeated: 10000 100).
    EXPECT_EQ(decodeGood(fiveFiveFive.bytes()).pixels,
              Pixels({255, 0, 0, 0, 255, 0, 0, 0, 255, 132, 132, 132}));

    BitmapFileBuilder fiveSixFive = fiveFiveFive;
    fiveSixFive.compression = 3;
    fiveSixFive.masks = {0xf800, 0x07e0, 0x001f};
    // 0x0400: green 32 of 63 widens to 130; 0x0841: each field 1 (or 2 of 63) gives 8.
    fiveSixFive.pixels = {0x00, 0xf8, 0xe0, 0x07, 0x00, 0x04, 0x41, 0x08};
    EXPECT_EQ(decodeGood(fiveSixFive.bytes()).pixels,
              Pixels({255, 0, 0, 0, 255, 0, 0, 130, 0, 8, 8, 8}));
}

TEST(BitmapDecoder, ThirtyTwoBitPixelsDefaultAndBitFields) {
    BitmapFileBuilder plain;
    plain.bitsPerPixel = 32;
    plain.width = 2;
    plain.pixels = {30, 20, 10, 99, 0, 0, 255, 0};
    EXPECT_EQ(decodeGood(plain.bytes()).pixels, Pixels({10, 20, 30, 255, 0, 0}));

    BitmapFileBuilder redFirst = plain;
    redFirst.compression = 3;
    redFirst.masks = {0x000000ff, 0x0000ff00, 0x00ff0000};
    EXPECT_EQ(decodeGood(redFirst.bytes()).pixels, Pixels({30, 20, 10, 0, 0, 255}));

    // Ten bits a channel keeps the top eight: 1023 -> 255, 512 -> 128.
    BitmapFileBuilder tenBit = plain;
    tenBit.compression = 3;
    tenBit.masks = {0x3ff00000, 0x000ffc00, 0x000003ff};
    tenBit.width = 1;
    const uint32_t v = 1023u << 20 | 512u << 10;
    tenBit.pixels = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    EXPECT_EQ(decodeGood(tenBit.bytes()).pixels, Pixels({255, 128, 0}));
}

TEST(BitmapDecoder, EightBitRunsWithLiteralRunsDeltaAndEndOfLine) {
    const Colour grey{9, 9, 9}, red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255};
    const Colour none{0, 0, 0};
    BitmapFileBuilder b;
    b.bitsPerPixel = 8;
    b.compression = 1;
    b.width = 6;
    b.height = 3;
    b.coloursUsed = 4;
    b.palette = {grey, red, green, blue};
    b.pixels = {3, 1,             // three red
                0, 3, 2, 3, 1, 0, // literal green, blue, red, one byte of padding
                0, 0,             // next row
                2, 2,             // two green
                0, 2, 2, 1,       // move 2 right, 1 up
                2, 3,             // two blue
                0, 1};
    const Pixels expected = colours({red, red, red, green, blue, red,      //
                                     green, green, none, none, none, none, //
                                     none, none, none, none, blue, blue});
    EXPECT_EQ(decodeGood(b.bytes()).pixels, expected) << "skipped pixels stay black";

    b.imageSize = static_cast<uint32_t>(b.pixels.size());
    EXPECT_EQ(decodeGood(b.bytes()).pixels, expected);
    b.fileHeader = false;
    EXPECT_EQ(decodeGood(b.bytes()).pixels, expected);
}

TEST(BitmapDecoder, FourBitRunsAlternateTheirTwoColours) {
    BitmapFileBuilder b;
    b.bitsPerPixel = 4;
    b.compression = 2;
    b.width = 8;
    b.height = 2;
    for (int i = 0; i < 16; ++i)
        b.palette.push_back(Colour{uint8_t(i * 16), uint8_t(255 - i * 16), uint8_t(i)});
    b.pixels = {5, 0x12, 3,    0xef, 0,    0, // 1 2 1 2 1, 14 15 14
                0, 3,    0x34, 0x50,          // literal of 3 in 2 bytes, no padding
                0, 5,    0x67, 0x89, 0xa0, 0, // literal of 5 in 3 bytes plus padding
                0, 1};
    const auto& p = b.palette;
    EXPECT_EQ(decodeGood(b.bytes()).pixels,
              colours({p[1], p[2], p[1], p[2], p[1], p[14], p[15], p[14], //
                       p[3], p[4], p[5], p[6], p[7], p[8], p[9], p[10]}));
}

TEST(BitmapDecoder, HeaderSizesOtherThanCoreAndInfoAreUnknown) {
    for (uint32_t size : {0u, 64u, 108u, 124u}) {
        BitmapFileBuilder b = trueColourThreeByTwo();
        b.declaredHeaderSize = size;
        EXPECT_EQ(decodeError(b.bytes()), "Unknown DIB file format.") << size;
    }
}

TEST(BitmapDecoder, DamagedHeadersAndPixelDataAreConversionErrors) {
    EXPECT_EQ(decodeError({}), conversionError);
    EXPECT_EQ(decodeError({'B', 'M', 1, 2}), conversionError);

    std::vector<uint8_t> cutHeader = trueColourThreeByTwo().bytes();
    cutHeader.resize(14 + 30);
    EXPECT_EQ(decodeError(cutHeader), conversionError);

    BitmapFileBuilder truncated = trueColourThreeByTwo();
    truncated.pixels.resize(20);
    EXPECT_EQ(decodeError(truncated.bytes()), conversionError);

    std::vector<uint8_t> pastEnd = trueColourThreeByTwo().bytes();
    BitmapFileBuilder::patch32(pastEnd, 10, static_cast<uint32_t>(pastEnd.size() + 1));
    EXPECT_EQ(decodeError(pastEnd), conversionError);
    BitmapFileBuilder::patch32(pastEnd, 10, 0xfffffff0u);
    EXPECT_EQ(decodeError(pastEnd), conversionError);

    std::vector<uint8_t> intoHeader = trueColourThreeByTwo().bytes();
    BitmapFileBuilder::patch32(intoHeader, 10, 20);
    EXPECT_EQ(decodeError(intoHeader), conversionError);

    BitmapFileBuilder shortTable;
    shortTable.bitsPerPixel = 8;
    shortTable.palette = {Colour{1, 1, 1}};
    shortTable.coloursUsed = 200; // the table would run past the file
    shortTable.pixels = {0, 0, 0, 0};
    EXPECT_EQ(decodeError(shortTable.bytes()), conversionError);
}

TEST(BitmapDecoder, AbsurdSizesAreRefused) {
    struct Size {
        int32_t width, height;
    };
    for (Size s : {Size{0, 4}, Size{4, 0}, Size{-4, 4}, Size{16385, 1}, Size{1, 16385},
                   Size{1, -16385}, Size{1, INT_MIN}, Size{INT_MIN, 1}, Size{16384, 16384}}) {
        BitmapFileBuilder b;
        b.width = s.width;
        b.height = s.height;
        b.pixels = {1, 2, 3, 0};
        EXPECT_EQ(decodeError(b.bytes()), conversionError) << s.width << " x " << s.height;
    }
}

TEST(BitmapDecoder, UnsupportedDepthsAndEncodingsAreConversionErrors) {
    struct Kind {
        uint16_t bits;
        uint32_t compression;
        int32_t height;
    };
    // Depth 2 and 0, an unknown encoding, runs of the wrong depth or stored top-down, bit
    // fields on a palette picture.
    for (Kind k : {Kind{2, 0, 1}, Kind{0, 0, 1}, Kind{24, 4, 1}, Kind{24, 1, 1}, Kind{8, 2, 1},
                   Kind{8, 1, -1}, Kind{8, 3, 1}}) {
        BitmapFileBuilder b;
        b.bitsPerPixel = k.bits;
        b.compression = k.compression;
        b.height = k.height;
        if (k.bits >= 1 && k.bits <= 8)
            b.palette.assign(size_t(1) << k.bits, Colour{1, 2, 3});
        if (k.compression == 3)
            b.masks = {0xe0, 0x1c, 0x03};
        b.pixels = {0, 1, 0, 1, 0, 0, 0, 0};
        EXPECT_EQ(decodeError(b.bytes()), conversionError)
            << k.bits << " bits, encoding " << k.compression;
    }

    BitmapFileBuilder scattered;
    scattered.bitsPerPixel = 16;
    scattered.compression = 3;
    scattered.masks = {0x0505, 0x00f0, 0x000a};
    scattered.pixels = {0, 0, 0, 0};
    EXPECT_EQ(decodeError(scattered.bytes()), conversionError) << "a mask in two pieces";
}

// An index past a short colour table is damage, not a colour to guess.
TEST(BitmapDecoder, PaletteIndexPastTheTableIsAConversionError) {
    BitmapFileBuilder plain;
    plain.bitsPerPixel = 8;
    plain.coloursUsed = 2;
    plain.palette = {Colour{1, 1, 1}, Colour{2, 2, 2}};
    plain.pixels = {2, 0, 0, 0};
    EXPECT_EQ(decodeError(plain.bytes()), conversionError);

    BitmapFileBuilder runs = plain;
    runs.compression = 1;
    runs.pixels = {1, 5, 0, 1};
    EXPECT_EQ(decodeError(runs.bytes()), conversionError);
}

TEST(BitmapDecoder, RunsThatLeaveTheRowOrTheFileAreConversionErrors) {
    BitmapFileBuilder b;
    b.bitsPerPixel = 8;
    b.compression = 1;
    b.width = 4;
    b.height = 2;
    b.palette.assign(256, Colour{7, 7, 7});
    const std::vector<std::vector<uint8_t>> damagedRuns = {
        {5, 1, 0, 1},                   // a run one pixel longer than the row
        {2, 1, 3, 1, 0, 1},             // two runs together overrunning the row
        {0, 5, 1, 1, 1, 1, 1, 0, 0, 1}, // a literal run longer than the row
        {0, 2, 5, 0, 0, 1},             // a move past the right side
        {0, 2, 0, 3, 0, 1},             // a move past the top
        {0, 0, 0, 0, 1, 1, 0, 1},       // a run above the last row
        {4, 1, 0, 0},                   // the data ends without end-of-picture
        {0, 4, 1, 1},                   // a literal run cut short by the file's end
        {0, 2, 1},                      // a move without its two bytes
        {0, 3, 1, 1, 1},                // a literal run without its padding byte
    };
    for (const auto& runs : damagedRuns) {
        b.pixels = runs;
        EXPECT_EQ(decodeError(b.bytes()), conversionError) << ::testing::PrintToString(runs);
    }

    b.pixels = {4, 1, 0, 1};
    b.imageSize = 40; // more run data than the file holds
    EXPECT_EQ(decodeError(b.bytes()), conversionError);
    b.imageSize = 2; // the declared data stops before end-of-picture
    EXPECT_EQ(decodeError(b.bytes()), conversionError);
}

// Pictures whose rows need no padding, so that any cut loses data the picture needs.
TEST(BitmapDecoder, EveryTruncationOfAGoodFileFailsCleanly) {
    BitmapFileBuilder trueColour;
    trueColour.width = 4;
    trueColour.height = 2;
    trueColour.pixels.assign(24, 0x5a);

    BitmapFileBuilder palette;
    palette.bitsPerPixel = 4;
    palette.width = 8; // four bytes a row: no padding to lose
    palette.height = 3;
    palette.palette.assign(16, Colour{5, 6, 7});
    palette.pixels.assign(12, 0x21);

    BitmapFileBuilder runs;
    runs.bitsPerPixel = 8;
    runs.compression = 1;
    runs.width = 5;
    runs.height = 2;
    runs.palette.assign(4, Colour{1, 2, 3});
    runs.coloursUsed = 4;
    runs.pixels = {5, 3, 0, 0, 0, 3, 1, 2, 3, 0, 0, 2, 1, 0, 0, 1};

    for (const BitmapFileBuilder& b : {trueColour, palette, runs}) {
        const std::vector<uint8_t> whole = b.bytes();
        decodeGood(whole);
        for (size_t n = 0; n < whole.size(); ++n) {
            const std::vector<uint8_t> part(whole.begin(), whole.begin() + n);
            Bitmap image;
            std::string error;
            EXPECT_FALSE(decodeBitmap(part.data(), part.size(), image, error)) << n;
            EXPECT_EQ(error, conversionError) << n;
        }
    }
}

TEST(BitmapFile, LoadsFromDiskAndNamesAFileItCannotOpen) {
    const std::filesystem::path dir =
        std::filesystem::path(::testing::TempDir()) / "bitmap_file_test";
    std::filesystem::create_directories(dir);

    const std::string good = (dir / "three_by_two.bmp").string();
    ASSERT_TRUE(writeBytes(good, trueColourThreeByTwo().bytes()));
    Bitmap image;
    std::string error;
    ASSERT_TRUE(loadBitmap(good.c_str(), image, error)) << error;
    EXPECT_EQ(image.pixels, trueColourThreeByTwoRgb);

    const std::string missing = (dir / "aut_wint_ground40.bmp").string();
    EXPECT_FALSE(loadBitmap(missing.c_str(), image, error));
    EXPECT_EQ(error, "Failed to open DIB file " + missing + ".\n");
    EXPECT_TRUE(image.pixels.empty());

    EXPECT_FALSE(loadBitmap(dir.string().c_str(), image, error)) << "a folder is not a file";
    EXPECT_EQ(error, "Failed to open DIB file " + dir.string() + ".\n");

    const std::string damagedFile = (dir / "damaged.bmp").string();
    std::vector<uint8_t> bytes = trueColourThreeByTwo().bytes();
    bytes.resize(bytes.size() - 8);
    ASSERT_TRUE(writeBytes(damagedFile, bytes));
    EXPECT_FALSE(loadBitmap(damagedFile.c_str(), image, error));
    EXPECT_EQ(error, damagedFile + ": " + conversionError);

    const std::string unknownFile = (dir / "unknown.bmp").string();
    BitmapFileBuilder unknown = trueColourThreeByTwo();
    unknown.declaredHeaderSize = 64;
    ASSERT_TRUE(writeBytes(unknownFile, unknown.bytes()));
    EXPECT_FALSE(loadBitmap(unknownFile.c_str(), image, error));
    EXPECT_EQ(error, unknownFile + ": Unknown DIB file format.");
}

// Two bytes of runs paint at most 255 pixels: a run-length picture larger than that refuses
// before any buffer is made, the way a plain one larger than its file does.
TEST(BitmapDecoder, RunLengthPicturesCannotAskForMorePixelsThanTheirRunsPaint) {
    BitmapFileBuilder tiny;
    tiny.bitsPerPixel = 8;
    tiny.compression = 1;
    tiny.width = 16384;
    tiny.height = 16384;
    tiny.palette.assign(2, Colour{9, 9, 9});
    tiny.coloursUsed = 2;
    tiny.pixels = {0, 1}; // end of picture at once: every pixel left unwritten
    EXPECT_EQ(decodeError(tiny.bytes()), conversionError);
    tiny.bitsPerPixel = 4;
    tiny.compression = 2;
    EXPECT_EQ(decodeError(tiny.bytes()), conversionError);

    // 510 pixels in two full runs of 255 and the end: four bytes of runs plus two. The bound
    // is 6 / 2 * 255 = 765 pixels, so 765 pixels pass the size check and 766 do not.
    BitmapFileBuilder full;
    full.bitsPerPixel = 8;
    full.compression = 1;
    full.palette.assign(2, Colour{9, 9, 9});
    full.coloursUsed = 2;
    full.pixels = {255, 1, 255, 1, 0, 1};
    full.width = 510;
    full.height = 1;
    const Bitmap painted = decodeGood(full.bytes());
    EXPECT_EQ(painted.pixels, Pixels(510 * 3, 9));
    full.width = 765;
    EXPECT_EQ(decodeGood(full.bytes()).width, 765);
    full.width = 766;
    EXPECT_EQ(decodeError(full.bytes()), conversionError);
}
