#pragma once

#include <cstdint>
#include <string>

#include "bar/bar_form.h"
#include "common/hresult.h"
#include "host/apartment.h"
#include "platform/band_site.h"
#include "platform/window_system.h"

namespace windlock {

struct BandPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// DESKBANDINFO: the members the browser asks for, by the bits of `mask`.
struct BandInfo {
  uint32_t mask = 0;
  BandPoint min_size;
  BandPoint max_size;
  BandPoint integral;
  BandPoint actual;
  std::string title;
  uint32_t mode_flags = 0;
  uint32_t background = 0;
};

inline constexpr uint32_t kDbimMinSize = 0x1;
inline constexpr uint32_t kDbimMaxSize = 0x2;
inline constexpr uint32_t kDbimIntegral = 0x4;
inline constexpr uint32_t kDbimActual = 0x8;
inline constexpr uint32_t kDbimTitle = 0x10;
inline constexpr uint32_t kDbimModeFlags = 0x20;
inline constexpr uint32_t kDbimfVariableHeight = 0x8;

// IEBar, the band the browser creates: it owns the bar form from SetSite to CloseDW and
// translates the browser's band protocol into calls on it.
class Band {
 public:
  // Loads the thread's settings.
  explicit Band(Apartment& apartment);
  // A band released without CloseDW still lets its window and form go.
  ~Band();
  Band(const Band&) = delete;
  Band& operator=(const Band&) = delete;

  // IObjectWithSite
  HResult SetSite(BandSite* site);
  HResult GetSite(BandSite*& site);
  // IOleWindow
  HResult GetWindow(WindowHandle& window);
  HResult ContextSensitiveHelp(bool) { return kENotImpl; }
  // IDockingWindow
  HResult ShowDW(bool show);
  HResult CloseDW();
  HResult ResizeBorderDW() { return kENotImpl; }
  // IDeskBand
  HResult GetBandInfo(BandInfo& info);
  // IInputObject
  HResult UIActivateIO(bool activate);
  HResult HasFocusIO() const { return has_focus_ ? kSOk : kSFalse; }
  HResult TranslateAcceleratorIO(const WindowMessage& message);
  // Tab past the bar's last control (or Shift+Tab before its first): the band tells its site it
  // gives the focus up, for the browser to pass it on.
  void GiveUpFocus();
  // IContextMenu
  HResult QueryContextMenu(MenuHandle menu, uint32_t index_menu, uint32_t id_cmd_first,
                           uint32_t id_cmd_last, uint32_t flags);
  HResult InvokeCommand(uint32_t command_offset);
  HResult GetCommandString() { return kENotImpl; }

  // The bar window's messages, as the subclass hook hands them over.
  intptr_t WindowProc(const WindowMessage& message);

  // The bar form this band loaded, or none (before SetSite, after CloseDW, or once another band
  // of the thread has unloaded it).
  BarForm* bar_form() const;

 private:
  void AttachBrowser();
  void NotifyFocus(bool has_focus);

  Apartment& apartment_;
  WindowSystem& windows_;
  BandSite* site_ = nullptr;
  WindowHandle parent_window_ = 0;
  WindowHandle bar_window_ = 0;
  InputObjectSite* input_object_site_ = nullptr;
  bool has_focus_ = false;
  bool holds_form_ = false;
  uint64_t form_load_ = 0;
};

}  // namespace windlock
