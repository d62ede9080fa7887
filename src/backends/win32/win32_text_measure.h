#pragma once

#include <string>

#include "platform/text_measure.h"

namespace windlock::win32 {

// Text extents in the given font on the screen, in twips.
class Win32TextMeasure : public TextMeasure {
 public:
  TextSize Measure(const std::string& text, const Font& font) override;
};

}  // namespace windlock::win32
