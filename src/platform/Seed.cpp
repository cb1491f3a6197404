#include "platform/Seed.h"
#include <ctime>

uint32_t chooseRoundSeed(const char* text, uint32_t clockSeed, std::FILE* warnings) {
    if (text == nullptr || *text == '\0')
        return clockSeed;
    // Digits only: strtoul would take a sign, blanks and a trailing tail, and clamp overflow.
    uint64_t value = 0;
    const char* p = text;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + static_cast<uint64_t>(*p - '0');
        if (value > UINT32_MAX)
            break;
    }
    if (*p == '\0')
        return static_cast<uint32_t>(value);
    std::fprintf(warnings,
                 "TUVO_SEED=\"%s\" is not a whole number from 0 to 4294967295: ignored, the "
                 "clock's seed %u is used.\n",
                 text, clockSeed);
    return clockSeed;
}

uint32_t nextRoundSeed(uint32_t previous) {
    const auto now = static_cast<uint32_t>(std::time(nullptr));
    return now == previous ? previous + 1 : now;
}
