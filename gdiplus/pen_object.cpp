#include "gdiplus/pen_object.h"

#include "gdiplus/brush_objects.h"

namespace gdiplus {

namespace flat = Gdiplus::DllExports;

bool PenObject::CreatePen1(ARGB colour, float width, Gdiplus::Unit unit) {
  DeletePen();
  Gdiplus::GpPen* pen = nullptr;
  Gdiplus::Status status = flat::GdipCreatePen1(colour, width, unit, &pen);
  SetNativeHandle(status == Gdiplus::Ok ? pen : nullptr);
  return KeepStatus(status);
}

bool PenObject::CreatePen2(const BrushObject& brush, float width, Gdiplus::Unit unit) {
  DeletePen();
  Gdiplus::GpPen* pen = nullptr;
  Gdiplus::Status status = flat::GdipCreatePen2(brush.GetNativeHandle(), width, unit, &pen);
  SetNativeHandle(status == Gdiplus::Ok ? pen : nullptr);
  return KeepStatus(status);
}

bool PenObject::SetPenWidth(float width) { return KeepStatus(flat::GdipSetPenWidth(GetNativeHandle(), width)); }

bool PenObject::DeletePen() {
  if (IsEmpty()) return false;
  bool ok = KeepStatus(flat::GdipDeletePen(GetNativeHandle()));
  SetNativeHandle(nullptr);
  return ok;
}

}  // namespace gdiplus
