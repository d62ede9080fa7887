#pragma once

#include <functional>
#include <string>

namespace windlock::sim {

// Where the simulated machine reports each observable effect, one line each.
class SimTrace {
 public:
  void SetSink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }
  void operator()(const std::string& line) const {
    if (sink_) sink_(line);
  }

 private:
  std::function<void(const std::string&)> sink_;
};

// Text for a trace line: quoted, with CR and LF shown as \r and \n so one effect stays one line.
std::string Quote(const std::string& text);

}  // namespace windlock::sim
