#include "capture/capture_alert.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "../sim_harness.h"
#include "platform/sim/sim_machine.h"

namespace windlock {
namespace {

class CaptureAlertTest : public ::testing::Test {
 protected:
  CaptureAlertTest() { settings = unit::InstalledSettings(); }

  sim::SimMachine machine;
  Platform& platform = machine.Window(1).platform();
  Settings settings;
};

TEST_F(CaptureAlertTest, WindowIsSizedAroundTheMessage) {
  struct Case {
    const char* name;
    const char* message;
    float font_size;
    float width;   // measured width + 240
    float height;  // measured height + 120
  };
  const Case cases[] = {
      {"installed message", "Pop-up Captured", 18, 15 * 180 + 240, 18 * 23 + 120},
      {"characters, not bytes", "\xC3\xA9t\xC3\xA9", 10, 3 * 100 + 240, 10 * 23 + 120},
      {"empty message", "", 8, 240, 8 * 23 + 120},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    settings.PopupAlertMessage = c.message;
    settings.PopupAlertFont.size = c.font_size;
    CaptureAlertForm alert(platform, settings);
    alert.Load();

    EXPECT_EQ(alert.width, c.width);
    EXPECT_EQ(alert.height, c.height);
    Control& label = *alert.FindControl("Label1");
    EXPECT_EQ(label.caption, c.message);
    EXPECT_EQ(label.left, 60);
    EXPECT_EQ(label.top, 60);
    EXPECT_EQ(label.width, c.width - 120);
    EXPECT_EQ(label.height, c.height - 120);
  }
}

TEST_F(CaptureAlertTest, ClosesWhenTheDisplayTimeHasPassed) {
  for (int32_t display_time : {1, 1000, 5000}) {
    SCOPED_TRACE(display_time);
    settings.PopupAlertDisplayTime = display_time;
    CaptureAlertForm alert(platform, settings);
    alert.Load();
    machine.scheduler.Advance(static_cast<uint32_t>(display_time - 1));
    EXPECT_TRUE(alert.loaded());
    machine.scheduler.Advance(1);
    EXPECT_FALSE(alert.loaded());
  }
}

TEST_F(CaptureAlertTest, WithoutADisplayTimeItWaitsForTheUser) {
  for (int32_t display_time : {0, -1, -5000}) {
    SCOPED_TRACE(display_time);
    settings.PopupAlertDisplayTime = display_time;
    CaptureAlertForm alert(platform, settings);
    alert.Load();
    machine.scheduler.Advance(UINT32_MAX);
    EXPECT_TRUE(alert.loaded());
    alert.KeyPress('x');
    EXPECT_FALSE(alert.loaded());
  }
}

TEST_F(CaptureAlertTest, KeysAndAClickOnTheTextCloseIt) {
  struct Case {
    const char* name;
    std::function<void(CaptureAlertForm&)> act;
  };
  const Case cases[] = {
      {"letter", [](CaptureAlertForm& f) { f.KeyPress('q'); }},
      {"Enter", [](CaptureAlertForm& f) { f.PressEnter(); }},
      {"Escape", [](CaptureAlertForm& f) { f.PressEscape(); }},
      {"click on the text", [](CaptureAlertForm& f) { f.FindControl("Label1")->Click(); }},
  };
  settings.PopupAlertDisplayTime = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CaptureAlertForm alert(platform, settings);
    alert.Load();
    c.act(alert);
    EXPECT_FALSE(alert.loaded());
  }
}

TEST_F(CaptureAlertTest, ShownAlertReturnsOnceItsTimerHasFired) {
  settings.PopupAlertDisplayTime = 1000;
  machine.ui.SetPump([this] { machine.scheduler.Advance(100); });
  const uint32_t start = machine.scheduler.TimeGetTime();

  ShowCaptureAlert(platform, settings);

  EXPECT_EQ(machine.scheduler.TimeGetTime() - start, 1000u);
  EXPECT_TRUE(machine.ui.modal_forms().empty());
}

}  // namespace
}  // namespace windlock
