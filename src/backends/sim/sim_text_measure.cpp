#include "backends/sim/sim_text_measure.h"

#include <cmath>

#include "common/utf8.h"

namespace windlock::sim {

TextSize SimTextMeasure::Measure(const std::string& text, const Font& font) {
  double chars = static_cast<double>(CharCount(text));
  return TextSize{static_cast<float>(std::round(chars * font.size * 10)),
                  static_cast<float>(std::round(font.size * 23.0))};
}

}  // namespace windlock::sim
