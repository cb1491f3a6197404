#include "FuzzFile.h"
#include "scene/Bitmap.h"

#include <cstdlib>

// Whatever the bytes, the game's loader must either hand out a whole picture within the side
// limit or a message naming the file, and never read or write outside its buffers (the
// sanitizers watch that, and the malloc limit catches a picture larger than its file).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzzFilePath("picture.bmp");
    writeFuzzFile(path, data, size);
    Bitmap image;
    std::string error;
    if (loadBitmap(path.c_str(), image, error)) {
        if (image.width < 1 || image.height < 1 || image.width > maxBitmapSide ||
            image.height > maxBitmapSide ||
            image.pixels.size() != static_cast<size_t>(image.width) * image.height * 3)
            std::abort();
    } else {
        const std::string named = path + ": ";
        if (!image.pixels.empty() || (error != named + bitmapConversionError &&
                                      error != named + bitmapUnknownFormat &&
                                      error != named + bitmapOutOfMemory))
            std::abort();
    }
    return 0;
}
