#pragma once
// Rectangles of the view's layout in client pixels, as the window system
// gives them: right and bottom are one past the last pixel.
#include <cmath>
#include <cstdint>

struct LayoutRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr int32_t Width() const { return right - left; }
    constexpr int32_t Height() const { return bottom - top; }
    constexpr bool operator==(const LayoutRect&) const = default;
};

// Scaled lengths become whole pixels, halves up.
inline int32_t RoundHalfUp(double value)
{
    return static_cast<int32_t>(std::floor(value + 0.5));
}

constexpr LayoutRect RectAt(int32_t left, int32_t top, int32_t width, int32_t height)
{
    return LayoutRect{left, top, left + width, top + height};
}
