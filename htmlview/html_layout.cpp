#include "htmlview/html_layout.h"

#include <algorithm>

namespace html {

namespace {

// Chinese, kana, full-width forms and everything beyond the BMP: a line may
// break before or after any of them.
bool IsWide(wchar_t c) { return c >= 0x2E80; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Punctuation that must not start a line, and that must not end one.
bool NoBreakBefore(wchar_t c) {
  static const wchar_t kClosing[] =
      L"\xFF0C\x3002\x3001\xFF1B\xFF1A\xFF1F\xFF01\xFF09\x3011\x300B\x300D\x300F\x3009"
      L"\x3015\xFF5D\xFF3D\x201D\x2019\x2026\x00B7,.;:!?)]}%";
  return std::find(std::begin(kClosing), std::end(kClosing) - 1, c) != std::end(kClosing) - 1;
}

bool NoBreakAfter(wchar_t c) {
  static const wchar_t kOpening[] = L"\xFF08\x3010\x300A\x300C\x300E\x3008\x3014\xFF5B\xFF3B\x201C\x2018([{";
  return std::find(std::begin(kOpening), std::end(kOpening) - 1, c) != std::end(kOpening) - 1;
}

bool BreakBetween(wchar_t previous, wchar_t c) {
  if (previous == 0 || IsLowSurrogate(c)) return false;
  if (NoBreakBefore(c) || NoBreakAfter(previous)) return false;
  return IsWide(previous) || IsWide(c);
}

// Space between lines, split above and below the text: glyphs of
// consecutive lines would touch otherwise.
int LineGap(const FontMetrics &m) { return std::max(1, (m.ascent + m.descent) / 6); }

// Inner spacing between a block's background and its text.
constexpr int kBackgroundPadding = 3;

class Layouter {
 public:
  Layouter(const Document &document, Measurer &measurer, const LayoutOptions &options)
      : doc_(document),
        measurer_(measurer),
        options_(options),
        metrics_(document.styles.size()),
        known_(document.styles.size(), false),
        y_(options.padding) {}

  Layout Run() {
    for (std::size_t i = 0; i < doc_.items.size(); ++i) {
      const Item &item = doc_.items[i];
      switch (item.kind) {
        case ItemKind::Text: AddText(i); break;
        case ItemKind::LineBreak: BreakLine(item); break;
        case ItemKind::BlockStart: StartBlock(item); break;
        case ItemKind::BlockEnd: EndBlock(item); break;
      }
    }
    CommitWord();
    FinishLine();
    out_.height = y_ + options_.padding;
    return std::move(out_);
  }

 private:
  struct Piece {
    std::size_t item;
    std::size_t begin;
    std::size_t end;
    int width;
  };

  struct Frame {
    int indent;      // added to the left inset
    int rightInset;  // added to the right inset
    bool background;
    Colour colour;
    int left, right, top;
  };

  const FontMetrics &MetricsOf(std::size_t style) {
    if (!known_[style]) {
      metrics_[style] = measurer_.Metrics(doc_.styles[style]);
      known_[style] = true;
    }
    return metrics_[style];
  }

  int Pixels(int centiPt) const { return PointsToPixels(centiPt, options_.dpi); }

  int Left() const { return std::min(options_.padding + indent_, std::max(options_.padding, options_.width / 2)); }
  int Right() const {
    return std::max(options_.width - options_.padding - rightInset_, Left() + std::max(1, options_.width / 4));
  }
  int Avail() const { return Right() - Left(); }

  void ApplyMargin() {
    if (started_) y_ += pendingMargin_;
    pendingMargin_ = 0;
    started_ = true;
  }

  void AddText(std::size_t index) {
    const Item &item = doc_.items[index];
    const std::wstring &text = item.text;
    advances_.assign(text.size(), 0);
    if (!text.empty()) measurer_.Advances(doc_.styles[item.style], text.data(), text.size(), advances_.data());
    for (std::size_t i = 0; i < text.size(); ++i) {
      wchar_t c = text[i];
      if (c == L' ') {
        CommitWord();
        Piece space{index, i, i + 1, advances_[i]};
        if (item.keepSpaces)
          PlaceKeptSpace(space);
        else
          AddCollapsibleSpace(space);
        previous_ = 0;
        continue;
      }
      if (BreakBetween(previous_, c)) CommitWord();
      AddToWord(index, i, advances_[i]);
      previous_ = c;
    }
  }

  void AddToWord(std::size_t item, std::size_t pos, int width) {
    if (!word_.empty() && word_.back().item == item && word_.back().end == pos) {
      word_.back().end = pos + 1;
      word_.back().width += width;
    } else {
      word_.push_back(Piece{item, pos, pos + 1, width});
    }
    wordAdvances_.push_back(width);
    wordWidth_ += width;
    if (wordWidth_ <= Avail() || wordAdvances_.size() < 2) return;
    // Wider than a whole line: it breaks anywhere. Everything but the last
    // character fitted, so that much fills a line of its own.
    std::size_t keep = 1;
    if (IsLowSurrogate(doc_.items[item].text[pos]) && wordAdvances_.size() > 2) keep = 2;
    if (lineHasContent_) FinishLine();
    PlaceWordPrefix(wordAdvances_.size() - keep);
    FinishLine();
  }

  // Places the first `count` characters of the word and keeps the rest.
  void PlaceWordPrefix(std::size_t count) {
    std::vector<Piece> rest;
    std::size_t placed = 0;
    for (Piece piece : word_) {
      std::size_t length = piece.end - piece.begin;
      if (placed >= count) {
        rest.push_back(piece);
      } else if (placed + length <= count) {
        Place(piece);
      } else {
        std::size_t cut = piece.begin + (count - placed);
        int width = 0;
        for (std::size_t k = placed; k < count; ++k) width += wordAdvances_[k];
        Place(Piece{piece.item, piece.begin, cut, width});
        rest.push_back(Piece{piece.item, cut, piece.end, piece.width - width});
      }
      placed += length;
    }
    word_ = std::move(rest);
    wordAdvances_.erase(wordAdvances_.begin(), wordAdvances_.begin() + static_cast<std::ptrdiff_t>(count));
    wordWidth_ = 0;
    for (int w : wordAdvances_) wordWidth_ += w;
  }

  void CommitWord() {
    if (word_.empty()) return;
    int need = (spacePending_ ? space_.width : 0) + wordWidth_;
    if (lineHasContent_ && lineX_ + need > Avail()) {
      FinishLine();
    } else if (spacePending_) {
      Place(space_);
    }
    spacePending_ = false;
    for (const Piece &piece : word_) Place(piece);
    word_.clear();
    wordAdvances_.clear();
    wordWidth_ = 0;
  }

  void AddCollapsibleSpace(const Piece &space) {
    if (!lineHasContent_ || spacePending_) return;
    spacePending_ = true;
    space_ = space;
  }

  // Kept spaces show even at the start of a line; one that would overflow
  // ends the line and is dropped.
  void PlaceKeptSpace(const Piece &space) {
    int pending = spacePending_ ? space_.width : 0;
    if (lineHasContent_ && lineX_ + pending + space.width > Avail()) {
      FinishLine();
      return;
    }
    if (spacePending_) Place(space_);
    spacePending_ = false;
    Place(space);
  }

  void Place(const Piece &piece) {
    std::size_t style = doc_.items[piece.item].style;
    const FontMetrics &m = MetricsOf(style);
    int raise = Pixels(doc_.styles[style].raiseCentiPt);
    if (!lineHasContent_) {
      ApplyMargin();
      lineStart_ = out_.fragments.size();
    }
    ascent_ = std::max(ascent_, m.ascent + raise);
    descent_ = std::max(descent_, m.descent - raise);
    gap_ = std::max(gap_, LineGap(m));
    int x = Left() + lineX_;
    if (out_.fragments.size() > lineStart_) {
      Fragment &last = out_.fragments.back();
      if (last.item == piece.item && last.end == piece.begin) {
        last.end = piece.end;
        last.width += piece.width;
        lineX_ += piece.width;
        lineHasContent_ = true;
        return;
      }
    }
    Fragment fragment;
    fragment.item = piece.item;
    fragment.begin = piece.begin;
    fragment.end = piece.end;
    fragment.x = x;
    fragment.width = piece.width;
    out_.fragments.push_back(fragment);
    lineX_ += piece.width;
    lineHasContent_ = true;
  }

  void FinishLine() {
    spacePending_ = false;
    if (!lineHasContent_) return;
    int baseline = y_ + gap_ / 2 + ascent_;
    for (std::size_t i = lineStart_; i < out_.fragments.size(); ++i) {
      Fragment &f = out_.fragments[i];
      f.baseline = baseline - Pixels(doc_.styles[doc_.items[f.item].style].raiseCentiPt);
    }
    Line line;
    line.top = y_;
    line.height = ascent_ + descent_ + gap_;
    line.firstFragment = lineStart_;
    line.fragmentCount = out_.fragments.size() - lineStart_;
    out_.lines.push_back(line);
    y_ += line.height;
    lineX_ = 0;
    ascent_ = descent_ = gap_ = 0;
    lineHasContent_ = false;
    lineStart_ = out_.fragments.size();
  }

  void BreakLine(const Item &item) {
    CommitWord();
    previous_ = 0;
    if (lineHasContent_) {
      FinishLine();
      return;
    }
    // A break on an empty line leaves an empty line of the current font.
    ApplyMargin();
    const FontMetrics &m = MetricsOf(item.style);
    Line line;
    line.top = y_;
    line.height = m.ascent + m.descent + LineGap(m);
    line.firstFragment = out_.fragments.size();
    out_.lines.push_back(line);
    y_ += line.height;
  }

  void StartBlock(const Item &item) {
    CommitWord();
    FinishLine();
    previous_ = 0;
    pendingMargin_ = std::max(pendingMargin_, Pixels(item.marginCentiPt));
    Frame frame{};
    frame.indent = Pixels(item.indentCentiPt);
    indent_ += frame.indent;
    frame.background = item.hasBackground;
    if (frame.background) {
      ApplyMargin();
      frame.colour = item.background;
      frame.left = Left();
      frame.right = Right();
      frame.top = y_;
      y_ += kBackgroundPadding;
      frame.indent += kBackgroundPadding;
      frame.rightInset = kBackgroundPadding;
      indent_ += kBackgroundPadding;
      rightInset_ += kBackgroundPadding;
    }
    frames_.push_back(frame);
  }

  void EndBlock(const Item &item) {
    CommitWord();
    FinishLine();
    previous_ = 0;
    if (frames_.empty()) return;
    Frame frame = frames_.back();
    frames_.pop_back();
    indent_ -= frame.indent;
    rightInset_ -= frame.rightInset;
    if (frame.background) {
      y_ += kBackgroundPadding;
      out_.backgrounds.push_back(Background{frame.left, frame.top, frame.right, y_, frame.colour});
    }
    pendingMargin_ = std::max(pendingMargin_, Pixels(item.marginCentiPt));
  }

  const Document &doc_;
  Measurer &measurer_;
  LayoutOptions options_;
  std::vector<FontMetrics> metrics_;
  std::vector<bool> known_;
  Layout out_;

  std::vector<Frame> frames_;
  int indent_ = 0;
  int rightInset_ = 0;
  int y_;
  int pendingMargin_ = 0;
  bool started_ = false;

  std::size_t lineStart_ = 0;
  int lineX_ = 0;
  int ascent_ = 0;
  int descent_ = 0;
  int gap_ = 0;
  bool lineHasContent_ = false;

  bool spacePending_ = false;
  Piece space_{};

  std::vector<Piece> word_;
  std::vector<int> wordAdvances_;
  int wordWidth_ = 0;
  wchar_t previous_ = 0;

  std::vector<int> advances_;
};

}  // namespace

int PointsToPixels(int centiPt, int dpi) {
  long long v = static_cast<long long>(centiPt) * dpi;
  return static_cast<int>(v >= 0 ? (v + 3600) / 7200 : (v - 3600) / 7200);
}

Layout LayOut(const Document &document, Measurer &measurer, const LayoutOptions &options) {
  return Layouter(document, measurer, options).Run();
}

}  // namespace html
