#pragma once

#include <string>
#include <vector>

#include "platform/browser.h"

namespace windlock::sim {

struct SimOption {
  std::string value;
  std::string text;
  bool selected = false;
};

// The options of a select element, by position. Every select lets several options be selected
// at once (the bar's own select is a multiple one).
class SimOptionList : public HtmlOptions {
 public:
  std::size_t length() override { return options_.size(); }
  std::string Value(std::size_t index) override { return At(index).value; }
  std::string Text(std::size_t index) override { return At(index).text; }
  void SetText(std::size_t index, const std::string& text) override { At(index).text = text; }
  bool Selected(std::size_t index) override { return At(index).selected; }
  void SetSelected(std::size_t index, bool selected) override { At(index).selected = selected; }
  void Add(const std::string& value, const std::string& text) override;
  // A position past the end removes nothing, as the browser's remove does.
  void Remove(std::size_t index) override;

  const std::vector<SimOption>& options() const { return options_; }
  void Append(SimOption option) { options_.push_back(std::move(option)); }

 private:
  // The option at that position; fails as a script would on a missing one.
  SimOption& At(std::size_t index);

  std::vector<SimOption> options_;
};

}  // namespace windlock::sim
