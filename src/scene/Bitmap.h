#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A decoded picture: packed red-green-blue bytes, no row padding, the bottom row first so that
// the first row becomes texture coordinate t = 0.
struct Bitmap {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
};

// Largest side, in pixels, a picture may declare before it is refused as damaged.
constexpr int32_t maxBitmapSide = 16384;

// The texts a failed decode gives back.
constexpr const char* bitmapConversionError = "Image file conversion error.";
constexpr const char* bitmapOutOfMemory = "Out of memory.";
constexpr const char* bitmapUnknownFormat = "Unknown DIB file format.";
std::string bitmapOpenError(const char* fileName);
// A decode failure of a file: the file's name, then the message.
std::string bitmapFileError(const char* fileName, const std::string& message);

// Decodes a Windows bitmap held in memory, with or without its "BM" file header. On failure
// returns false, leaves `image` empty and puts the message in `error`. `maxSide` lets a caller
// refuse large pictures earlier than `maxBitmapSide`.
bool decodeBitmap(const uint8_t* data, size_t size, Bitmap& image, std::string& error,
                  int32_t maxSide = maxBitmapSide);

// Reads and decodes a bitmap file. Every failure names the file: one that cannot be opened or
// read gives the open error, one that does not decode gives its message after the name.
bool loadBitmap(const char* fileName, Bitmap& image, std::string& error);
