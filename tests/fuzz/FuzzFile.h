#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

// The fuzz targets go through the game's real file reading: each input is written to one file
// in a private scratch folder (in memory where /dev/shm exists) and read back by the loader.
inline const std::string& fuzzFilePath(const char* name) {
    static const std::string path = [name] {
        std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        folder += "/tuvo-fuzz-XXXXXX";
        if (!mkdtemp(folder.data()))
            std::abort();
        return folder + "/" + name;
    }();
    return path;
}

inline void writeFuzzFile(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0)
        std::abort();
}
