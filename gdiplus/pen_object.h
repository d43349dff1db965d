#pragma once
// A pen: a colour or a brush, and a width.

#include "gdiplus/gdiplus_object.h"

namespace gdiplus {

class BrushObject;

class PenObject : public NativeObject<Gdiplus::GpPen> {
 public:
  ~PenObject() { DeletePen(); }

  bool CreatePen1(ARGB colour, float width, Gdiplus::Unit unit = Gdiplus::UnitWorld);
  // The pen paints with the brush; GDI+ keeps its own copy of it.
  bool CreatePen2(const BrushObject& brush, float width, Gdiplus::Unit unit = Gdiplus::UnitWorld);
  bool SetPenWidth(float width);
  // False, calling nothing, when the pen is empty.
  bool DeletePen();
};

}  // namespace gdiplus
