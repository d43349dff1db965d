#pragma once
// The skinned window's background picture: its theme colour, and a copy of
// it faded into that colour along two edges.

#include <optional>
#include <string>

#include "gdiplus/image_objects.h"

namespace skin {

using gdiplus::ARGB;
using gdiplus::Bytes;

// The whole number of days from 30 December 1899 to the local date.
long oleDayNumber(const SYSTEMTIME& localTime);

// The average of `samples` pixels picked pseudo-randomly from the picture
// (from `fileName` when given, else from the bytes), as opaque ARGB. The
// picks depend only on the calendar day, so a picture keeps its colour all
// day. With a margin, only the last marginX columns and marginY rows (and
// one more) are sampled. 0 when the picture cannot be read or samples < 1.
ARGB averageImageColour(const Bytes& picture, int samples, int marginX = 0, int marginY = 0,
                        const std::string& fileName = std::string());
// The same from a picture already decoded.
ARGB averageImageColour(const gdiplus::BitmapObject& picture, int samples, int marginX = 0, int marginY = 0);

// The picture as PNG, blended into `colour` over the last fadeWidth pixels
// of its right side (direction 1) or its first fadeWidth of its left side
// (direction 0), and over the last fadeWidth rows. fadeWidth defaults to 30%
// of the width. A picture that cannot be read comes back unchanged.
Bytes fadeBackground(const Bytes& picture, std::optional<int> fadeWidth, ARGB colour, int direction = 1,
                     const std::string& fileName = std::string());

}  // namespace skin
