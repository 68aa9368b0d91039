#pragma once
// Positions and sizes of the layout are kept within a quarter of the int range: the sum or
// difference of any two of them then still fits an int, and every sum is clamped again, so no
// markup can make a coordinate wrap around.

#include <algorithm>
#include <climits>

namespace richtext {

inline constexpr int kMaxCoordinate = INT_MAX / 4;

constexpr int ClampCoordinate(long long value) {
    return static_cast<int>(std::clamp<long long>(value, -kMaxCoordinate, kMaxCoordinate));
}

// a + b, clamped.
constexpr int SumOf(long long a, long long b) {
    return ClampCoordinate(a + b);
}

} // namespace richtext
