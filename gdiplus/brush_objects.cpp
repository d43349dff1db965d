#include "gdiplus/brush_objects.h"

#include "gdiplus/path_object.h"

namespace gdiplus {

namespace flat = Gdiplus::DllExports;

bool BrushObject::DeleteBrush() {
  if (IsEmpty()) return false;
  bool ok = KeepStatus(flat::GdipDeleteBrush(GetNativeHandle()));
  SetNativeHandle(nullptr);
  return ok;
}

bool BrushObject::Adopt(Gdiplus::Status status, Gdiplus::GpBrush* brush) {
  SetNativeHandle(status == Gdiplus::Ok ? brush : nullptr);
  return KeepStatus(status);
}

bool SolidBrushObject::CreateSolidFill(ARGB colour) {
  DeleteBrush();
  Gdiplus::GpSolidFill* brush = nullptr;
  Gdiplus::Status status = flat::GdipCreateSolidFill(colour, &brush);
  return Adopt(status, brush);
}

bool LinearBrushObject::CreateLineBrush(PointF start, PointF end, ARGB startColour, ARGB endColour) {
  DeleteBrush();
  Gdiplus::GpLineGradient* brush = nullptr;
  Gdiplus::Status status = flat::GdipCreateLineBrush(&start, &end, startColour, endColour, Gdiplus::WrapModeTile,
                                                     &brush);
  return Adopt(status, brush);
}

bool LinearBrushObject::SetLinePresetBlend(const std::vector<ARGB>& colours, const std::vector<float>& positions) {
  if (colours.size() != positions.size()) return KeepStatus(Gdiplus::InvalidParameter);
  return KeepStatus(flat::GdipSetLinePresetBlend(GetLineHandle(), colours.data(), positions.data(),
                                                 static_cast<INT>(colours.size())));
}

bool LinearBrushObject::SetLineLinearBlend(float focus, float scale) {
  return KeepStatus(flat::GdipSetLineLinearBlend(GetLineHandle(), focus, scale));
}

bool PathBrushObject::CreatePathGradientFromPath(const PathObject& path) {
  DeleteBrush();
  Gdiplus::GpPathGradient* brush = nullptr;
  Gdiplus::Status status = flat::GdipCreatePathGradientFromPath(path.GetNativeHandle(), &brush);
  return Adopt(status, brush);
}

bool PathBrushObject::SetPathGradientCenterColor(ARGB colour) {
  return KeepStatus(flat::GdipSetPathGradientCenterColor(GetPathGradientHandle(), colour));
}

bool PathBrushObject::SetPathGradientSurroundColorsWithCount(const std::vector<ARGB>& colours, INT* count) {
  INT used = static_cast<INT>(colours.size());
  if (count != nullptr) {
    if (*count < 0 || *count > used) return KeepStatus(Gdiplus::InvalidParameter);
    used = *count;
  }
  bool ok = KeepStatus(
      flat::GdipSetPathGradientSurroundColorsWithCount(GetPathGradientHandle(), colours.data(), &used));
  if (count != nullptr) *count = used;
  return ok;
}

bool PathBrushObject::SetPathGradientFocusScales(float xScale, float yScale) {
  return KeepStatus(flat::GdipSetPathGradientFocusScales(GetPathGradientHandle(), xScale, yScale));
}

}  // namespace gdiplus
