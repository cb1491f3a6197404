#include "scene/Bitmap.h"
#include <cstdlib>
#include <cstring>

// Whatever the bytes, the decoder must either hand out a whole picture or one of its three
// messages, and never read or write outside its buffers (the sanitizers watch that).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bitmap image;
    std::string error;
    // A smaller side limit keeps each run's buffer small; every path of the decoder remains.
    const bool ok = decodeBitmap(data, size, image, error, 1024);
    if (ok) {
        if (image.width < 1 || image.height < 1 || image.width > 1024 || image.height > 1024 ||
            image.pixels.size() != static_cast<size_t>(image.width) * image.height * 3)
            std::abort();
    } else {
        if (!image.pixels.empty() || (error != bitmapConversionError &&
                                      error != bitmapUnknownFormat && error != bitmapOutOfMemory))
            std::abort();
    }
    return 0;
}
