#include "resources/embedded_images.h"

#include <windows.h>

#include "resources/embedded_image_ids.h"

namespace resources {

const ImageRole kAllImageRoles[12] = {
    ImageRole::HelpGlyph,      ImageRole::MenuGlyph,      ImageRole::MinimizeGlyph,   ImageRole::MaximizeGlyph,
    ImageRole::RestoreGlyph,   ImageRole::CloseGlyph,     ImageRole::CheckGlyph,      ImageRole::ArrowUpGlyph,
    ImageRole::ArrowDownGlyph, ImageRole::ArrowLeftGlyph, ImageRole::ArrowRightGlyph, ImageRole::BackgroundPicture,
};

namespace {

int ResourceId(ImageRole role) {
  switch (role) {
    case ImageRole::HelpGlyph: return IDR_HELP_GLYPH;
    case ImageRole::MenuGlyph: return IDR_MENU_GLYPH;
    case ImageRole::MinimizeGlyph: return IDR_MINIMIZE_GLYPH;
    case ImageRole::MaximizeGlyph: return IDR_MAXIMIZE_GLYPH;
    case ImageRole::RestoreGlyph: return IDR_RESTORE_GLYPH;
    case ImageRole::CloseGlyph: return IDR_CLOSE_GLYPH;
    case ImageRole::CheckGlyph: return IDR_CHECK_GLYPH;
    case ImageRole::ArrowUpGlyph: return IDR_ARROW_UP_GLYPH;
    case ImageRole::ArrowDownGlyph: return IDR_ARROW_DOWN_GLYPH;
    case ImageRole::ArrowLeftGlyph: return IDR_ARROW_LEFT_GLYPH;
    case ImageRole::ArrowRightGlyph: return IDR_ARROW_RIGHT_GLYPH;
    case ImageRole::BackgroundPicture: return IDR_BACKGROUND_PICTURE;
  }
  return 0;
}

}  // namespace

std::vector<unsigned char> embeddedImageBytes(ImageRole role) {
  // The images live in the executable itself: the object library that holds
  // them is linked straight into the program.
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(ResourceId(role)), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, found);
  DWORD size = SizeofResource(module, found);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr || size == 0) return {};
  const unsigned char* first = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(first, first + size);
}

}  // namespace resources
