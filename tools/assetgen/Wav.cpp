#include "Sound.h"

namespace assetgen {
namespace {

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) {
        out.push_back(static_cast<std::uint8_t>((value >> (8 * k)) & 0xff));
    }
}

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int k = 0; k < 4; ++k) {
        out.push_back(static_cast<std::uint8_t>(tag[k]));
    }
}

} // namespace

std::vector<std::uint8_t> encodeWav(const SoundWave& samples, int rate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put(out, 36 + dataBytes, 4);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put(out, 16, 4);
    put(out, 1, 2); // PCM
    put(out, 1, 2); // mono
    put(out, static_cast<std::uint32_t>(rate), 4);
    put(out, static_cast<std::uint32_t>(rate) * 2, 4); // bytes per second
    put(out, 2, 2);                                    // bytes per frame
    put(out, 16, 2);                                   // bits per sample
    putTag(out, "data");
    put(out, dataBytes, 4);
    for (std::int16_t s : samples) {
        put(out, static_cast<std::uint16_t>(s), 2);
    }
    return out;
}

} // namespace assetgen
