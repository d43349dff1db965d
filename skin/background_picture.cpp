#include "skin/background_picture.h"

#include <cstdlib>

#include "gdiplus/graphics_object.h"

namespace skin {

namespace {

bool LoadPicture(gdiplus::BitmapObject& bitmap, const Bytes& picture, const std::string& fileName) {
  if (!fileName.empty()) return bitmap.CreateBitmapFromFile(fileName);
  return bitmap.CreateBitmapFromStream(picture);
}

// lo + |rand()| mod (hi - lo + 1), after seeding with `seed`.
int SeededPick(unsigned seed, int lo, int hi) {
  srand(seed);
  return lo + std::abs(rand()) % (hi - lo + 1);
}

ARGB Opaque(ARGB colour) { return colour | 0xFF000000u; }
ARGB Transparent(ARGB colour) { return colour & 0x00FFFFFFu; }

}  // namespace

long oleDayNumber(const SYSTEMTIME& localTime) {
  SYSTEMTIME midnight = localTime;
  midnight.wHour = midnight.wMinute = midnight.wSecond = midnight.wMilliseconds = 0;
  FILETIME fileTime = {};
  if (!SystemTimeToFileTime(&midnight, &fileTime)) return 0;
  ULARGE_INTEGER ticks;
  ticks.LowPart = fileTime.dwLowDateTime;
  ticks.HighPart = fileTime.dwHighDateTime;
  // File times count 100 ns from 1 January 1601, 109205 days before the OLE epoch.
  const unsigned long long ticksPerDay = 864000000000ULL;
  return static_cast<long>(ticks.QuadPart / ticksPerDay) - 109205L;
}

ARGB averageImageColour(const Bytes& picture, int samples, int marginX, int marginY, const std::string& fileName) {
  gdiplus::BitmapObject bitmap;
  if (samples < 1 || !LoadPicture(bitmap, picture, fileName)) return 0;
  return averageImageColour(bitmap, samples, marginX, marginY);
}

ARGB averageImageColour(const gdiplus::BitmapObject& picture, int samples, int marginX, int marginY) {
  if (samples < 1) return 0;
  const gdiplus::LockedPixels pixels(picture, PixelFormat32bppARGB);
  const int width = pixels.Width(), height = pixels.Height();
  if (!pixels.IsLocked() || width < 1 || height < 1) return 0;
  // A margin wider than the picture samples all of it.
  int xLo = marginX > 0 && marginX < width ? width - marginX : 1;
  int yLo = marginY > 0 && marginY < height ? height - marginY : 1;

  SYSTEMTIME now = {};
  GetLocalTime(&now);
  // The seeds are whole parts of (date + 3i) and (date + i): the time of day
  // never reaches them.
  const long day = oleDayNumber(now);
  unsigned long long red = 0, green = 0, blue = 0;
  for (int i = 1; i <= samples; ++i) {
    int x = SeededPick(static_cast<unsigned>(day + 3L * i), xLo, width);
    int y = SeededPick(static_cast<unsigned>(day + i), yLo, height);
    const ARGB pixel = pixels.Row(y - 1)[x - 1];
    red += (pixel >> 16) & 0xFF;
    green += (pixel >> 8) & 0xFF;
    blue += pixel & 0xFF;
  }
  return 0xFF000000u | static_cast<ARGB>(red / samples) << 16 | static_cast<ARGB>(green / samples) << 8 |
         static_cast<ARGB>(blue / samples);
}

Bytes fadeBackground(const Bytes& picture, std::optional<int> fadeWidth, ARGB colour, int direction,
                     const std::string& fileName) {
  gdiplus::BitmapObject source;
  if (!LoadPicture(source, picture, fileName)) return picture;
  const int width = static_cast<int>(source.GetImageWidth());
  const int height = static_cast<int>(source.GetImageHeight());
  gdiplus::BitmapObject faded;
  if (width < 1 || height < 1 || !faded.CreateBitmapFromScan0(width, height, PixelFormat32bppARGB)) return picture;
  {
    gdiplus::GraphicsObject graphics;
    graphics.GetImageGraphicsContext(faded);
    graphics.SetCompositingQuality(Gdiplus::CompositingQualityGammaCorrected);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    graphics.DrawImageRectRect(source, 0, 0, w, h);

    const float band = static_cast<float>(fadeWidth ? *fadeWidth : static_cast<int>(w * 0.3f));
    gdiplus::LinearBrushObject side;
    if (direction == 1) {
      side.CreateLineBrush({w - band, 0}, {w, 0}, 0x00FFFFFFu, Opaque(colour));
      graphics.FillRectangle(side, w - band + 1, 0, band, h);
    } else if (direction == 0) {
      side.CreateLineBrush({0, 0}, {band, 0}, Opaque(colour), 0x00FFFFFFu);
      graphics.FillRectangle(side, 0, 0, band, h);
    }
    gdiplus::LinearBrushObject bottom;
    bottom.CreateLineBrush({0, h - band}, {0, h}, Transparent(colour), Opaque(colour));
    graphics.FillRectangle(bottom, 0, h - band + 1, w, band);
  }
  // applySkin always goes on with a picture: the original when encoding fails.
  Bytes png = faded.SaveImageToStream(gdiplus::kPngFormat);
  return png.empty() ? picture : png;
}

}  // namespace skin
