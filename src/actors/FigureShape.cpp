#include "actors/FigureShape.h"
#include <cmath>

float headingFromDirection(float dirX, float dirY, float previous) {
    constexpr double degreesPerRadian = 57.29577951308232;
    if (dirX > 0)
        return static_cast<float>(std::atan(dirY / dirX) * degreesPerRadian + 90);
    if (dirX < 0)
        return static_cast<float>(std::atan(dirY / dirX) * degreesPerRadian + 270);
    if (dirY > 0)
        return 180;
    if (dirY < 0)
        return 0;
    return previous;
}
