#pragma once
// Bounds on what a file or memory image may hold. A configuration never comes near them; an
// image beyond them is refused whole rather than loaded into unbounded memory.

#include <cstddef>

inline constexpr size_t kCfgImageLimit = 16u << 20;
inline constexpr size_t kCfgRecordLimit = 100000;
