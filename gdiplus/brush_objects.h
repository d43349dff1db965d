#pragma once
// Brushes: solid, linear gradient and path gradient. Any of them fills.

#include "gdiplus/gdiplus_object.h"

namespace gdiplus {

class PathObject;

class BrushObject : public NativeObject<Gdiplus::GpBrush> {
 public:
  // False, calling nothing, when the brush is empty.
  bool DeleteBrush();

 protected:
  BrushObject() = default;
  ~BrushObject() { DeleteBrush(); }
  bool Adopt(Gdiplus::Status status, Gdiplus::GpBrush* brush);
};

class SolidBrushObject : public BrushObject {
 public:
  bool CreateSolidFill(ARGB colour);
};

class LinearBrushObject : public BrushObject {
 public:
  Gdiplus::GpLineGradient* GetLineHandle() const { return static_cast<Gdiplus::GpLineGradient*>(GetNativeHandle()); }

  // A gradient between two points that repeats (tiles) beyond them.
  bool CreateLineBrush(PointF start, PointF end, ARGB startColour, ARGB endColour);
  // One colour per position (0 to 1); both lists must be the same length.
  bool SetLinePresetBlend(const std::vector<ARGB>& colours, const std::vector<float>& positions);
  bool SetLineLinearBlend(float focus, float scale);
};

class PathBrushObject : public BrushObject {
 public:
  Gdiplus::GpPathGradient* GetPathGradientHandle() const {
    return static_cast<Gdiplus::GpPathGradient*>(GetNativeHandle());
  }

  bool CreatePathGradientFromPath(const PathObject& path);
  bool SetPathGradientCenterColor(ARGB colour);
  // `count`, when given, says how many colours to use and receives how many
  // GDI+ took; it may not exceed the list.
  bool SetPathGradientSurroundColorsWithCount(const std::vector<ARGB>& colours, INT* count = nullptr);
  bool SetPathGradientFocusScales(float xScale, float yScale);
};

}  // namespace gdiplus
