#pragma once
// The images compiled into the program: the caption-button glyphs, the
// check mark, the arrows and the background picture.

#include <cstddef>
#include <vector>

namespace resources {

enum class ImageRole {
  HelpGlyph,          // PNG 26 x 18, white speech bubble
  MenuGlyph,          // PNG 26 x 18, white list sheet
  MinimizeGlyph,      // PNG 26 x 18, white bar
  MaximizeGlyph,      // PNG 26 x 18, white window outline
  RestoreGlyph,       // PNG 26 x 18, two overlapping window outlines
  CloseGlyph,         // PNG 38 x 18, white X
  CheckGlyph,         // PNG 13 x 12, green check mark; transparent pixels are white
  ArrowUpGlyph,       // PNG 7 x 4, black
  ArrowDownGlyph,     // PNG 7 x 4, black
  ArrowLeftGlyph,     // PNG 4 x 7, black
  ArrowRightGlyph,    // PNG 4 x 7, black
  BackgroundPicture,  // JPEG 500 x 375
};

// Every role, in the order above.
extern const ImageRole kAllImageRoles[12];

// The encoded bytes of the image with that role; empty should the program
// have been linked without them.
std::vector<unsigned char> embeddedImageBytes(ImageRole role);

}  // namespace resources
