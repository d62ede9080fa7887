#include "backends/sim/sim_options.h"

#include "common/error.h"

namespace windlock::sim {
void SimOptionList::Add(const std::string& value, const std::string& text) {
  options_.push_back({value, text, false});
}

void SimOptionList::Remove(std::size_t index) {
  if (index < options_.size())
    options_.erase(options_.begin() + static_cast<std::ptrdiff_t>(index));
}

SimOption& SimOptionList::At(std::size_t index) {
  if (index >= options_.size()) throw ObjectRequired();
  return options_[index];
}

}  // namespace windlock::sim
