#include "gdiplus/path_object.h"

namespace gdiplus {

namespace flat = Gdiplus::DllExports;

bool PathObject::CreatePath(Gdiplus::FillMode fillMode) {
  DeletePath();
  Gdiplus::GpPath* path = nullptr;
  Gdiplus::Status status = flat::GdipCreatePath(fillMode, &path);
  SetNativeHandle(status == Gdiplus::Ok ? path : nullptr);
  return KeepStatus(status);
}

bool PathObject::DeletePath() {
  if (IsEmpty()) return false;
  bool ok = KeepStatus(flat::GdipDeletePath(GetNativeHandle()));
  SetNativeHandle(nullptr);
  return ok;
}

bool PathObject::ResetPath() { return KeepStatus(flat::GdipResetPath(GetNativeHandle())); }

bool PathObject::StartPathFigure() { return KeepStatus(flat::GdipStartPathFigure(GetNativeHandle())); }

bool PathObject::ClosePathFigure() { return KeepStatus(flat::GdipClosePathFigure(GetNativeHandle())); }

bool PathObject::AddPathLine(float x1, float y1, float x2, float y2) {
  return KeepStatus(flat::GdipAddPathLine(GetNativeHandle(), x1, y1, x2, y2));
}

bool PathObject::AddPathArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
  return KeepStatus(flat::GdipAddPathArc(GetNativeHandle(), x, y, width, height, startAngle, sweepAngle));
}

bool PathObject::AddPathRectangle(float x, float y, float width, float height) {
  return KeepStatus(flat::GdipAddPathRectangle(GetNativeHandle(), x, y, width, height));
}

bool PathObject::AddPathEllipse(float x, float y, float width, float height) {
  return KeepStatus(flat::GdipAddPathEllipse(GetNativeHandle(), x, y, width, height));
}

INT PathObject::GetPointCount() const {
  INT count = 0;
  KeepStatus(flat::GdipGetPointCount(GetNativeHandle(), &count));
  return count;
}

}  // namespace gdiplus
