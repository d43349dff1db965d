// Line layout of a parsed summary-box document. Pure code: text is measured
// through the Measurer interface, so the window side plugs in GDI and the
// tests a fixed-width fake.
#pragma once

#include <cstddef>
#include <vector>

#include "htmlview/html_parse.h"

namespace html {

struct FontMetrics {
  int ascent = 0;
  int descent = 0;
};

class Measurer {
 public:
  virtual ~Measurer() = default;
  virtual FontMetrics Metrics(const Style &style) = 0;
  // Fills advances[i] with the width of text[i] (count entries).
  virtual void Advances(const Style &style, const wchar_t *text, std::size_t count, int *advances) = 0;
};

struct LayoutOptions {
  int width = 0;    // of the whole box, in pixels
  int dpi = 96;     // vertical pixels per inch, for point sizes
  int padding = 4;  // around the content
};

// A piece of one item's text drawn on one line: text[begin, end) of
// Document::items[item] with its style, pen at x, baseline at y.
struct Fragment {
  std::size_t item = 0;
  std::size_t begin = 0;
  std::size_t end = 0;
  int x = 0;
  int baseline = 0;
  int width = 0;
};

struct Line {
  int top = 0;
  int height = 0;
  std::size_t firstFragment = 0;
  std::size_t fragmentCount = 0;
};

struct Background {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  Colour colour = 0;
};

struct Layout {
  std::vector<Line> lines;          // top to bottom
  std::vector<Fragment> fragments;  // in line order
  std::vector<Background> backgrounds;
  int height = 0;  // of the whole content, padding included
};

// Points (in 1/100 pt) to pixels at the given dpi, rounded.
int PointsToPixels(int centiPt, int dpi);

Layout LayOut(const Document &document, Measurer &measurer, const LayoutOptions &options);

}  // namespace html
