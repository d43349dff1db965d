#pragma once
// GDI+ runs for the whole test program, as it does for the whole program:
// started before the first test, shut down after the last.

#include "gdiplus/image_objects.h"

namespace testsupport {

// A width x height 32-bit ARGB bitmap filled with `colour`, as PNG bytes.
gdiplus::Bytes SolidPng(int width, int height, gdiplus::ARGB colour);

// Channels of an ARGB value.
inline int Alpha(gdiplus::ARGB c) { return static_cast<int>(c >> 24); }
inline int Red(gdiplus::ARGB c) { return static_cast<int>((c >> 16) & 0xFF); }
inline int Green(gdiplus::ARGB c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int Blue(gdiplus::ARGB c) { return static_cast<int>(c & 0xFF); }

// Largest difference between two colours over the four channels.
int ChannelDistance(gdiplus::ARGB a, gdiplus::ARGB b);

}  // namespace testsupport
