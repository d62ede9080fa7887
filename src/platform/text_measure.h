#pragma once

#include <string>

#include "common/font.h"

namespace windlock {

struct TextSize {
  float width = 0;   // twips
  float height = 0;  // twips
};

// TextWidth / TextHeight of a form in a font. Real: gdi32 (win32). Fake: SimTextMeasure.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual TextSize Measure(const std::string& text, const Font& font) = 0;
};

}  // namespace windlock
