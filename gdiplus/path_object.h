#pragma once
// A graphics path: the shapes the skin fills, strokes and clips with.

#include "gdiplus/gdiplus_object.h"

namespace gdiplus {

class PathObject : public NativeObject<Gdiplus::GpPath> {
 public:
  ~PathObject() { DeletePath(); }

  bool CreatePath(Gdiplus::FillMode fillMode = Gdiplus::FillModeAlternate);
  bool DeletePath();
  bool ResetPath();
  bool StartPathFigure();
  bool ClosePathFigure();
  bool AddPathLine(float x1, float y1, float x2, float y2);
  // Angles in degrees, clockwise from the x axis.
  bool AddPathArc(float x, float y, float width, float height, float startAngle, float sweepAngle);
  bool AddPathRectangle(float x, float y, float width, float height);
  bool AddPathEllipse(float x, float y, float width, float height);
  INT GetPointCount() const;
};

}  // namespace gdiplus
