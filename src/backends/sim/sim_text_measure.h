#pragma once

#include <string>

#include "platform/text_measure.h"

namespace windlock::sim {

// A text of n characters in a font of s points is n x s x 10 twips wide and s x 23 high.
class SimTextMeasure : public TextMeasure {
 public:
  TextSize Measure(const std::string& text, const Font& font) override;
};

}  // namespace windlock::sim
