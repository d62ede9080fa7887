#include "skins/html_help.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace windlock {
namespace {

// Each call as "target command data".
class RecordingHelp : public Help {
 public:
  void HtmlHelp(const std::string& target, uint32_t command, uint32_t data) override {
    calls.push_back(target + " " + std::to_string(command) + " " + std::to_string(data));
  }
  std::vector<std::string> calls;
};

TEST(HtmlHelpTest, TargetCommandAndData) {
  struct Case {
    const char* name;
    std::string file;
    std::string window;
    std::optional<int32_t> context;
    std::string call;
  };
  const Case cases[] = {
      {"named window, blanks trimmed", "  help.chm  ", "main", std::nullopt, "help.chm>main 0 0"},
      {"blanks around the window name too", "help.chm", "  main ", std::nullopt,
       "help.chm>main 0 0"},
      {"no window: the file as given", "  help.chm  ", "", std::nullopt, "  help.chm   0 0"},
      {"a context number", "help.chm", "", 1234, "help.chm 15 1234"},
      {"a context of 0 is still a context", "help.chm", "main", 0, "help.chm>main 15 0"},
      {"a path with inner blanks", " C:\\Program Files\\W\\windlock.chm", "main", 7,
       "C:\\Program Files\\W\\windlock.chm>main 15 7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingHelp help;

    ShowHtmlHelp(help, c.file, c.window, c.context);

    EXPECT_EQ(help.calls, std::vector{c.call});
  }
}

}  // namespace
}  // namespace windlock
