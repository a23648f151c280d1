#pragma once
#include <cstdint>

namespace keldo::model {

// Pixel rectangle: left <= px < right, top <= py < bottom for containment.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const Rect&) const = default;
};

} // namespace keldo::model
