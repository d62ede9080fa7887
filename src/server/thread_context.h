#pragma once

#include "backends/win32/browser/win32_browser.h"
#include "backends/win32/browser/win32_xml.h"
#include "backends/win32/win32_control_factory.h"
#include "backends/win32/win32_file_system.h"
#include "backends/win32/win32_help.h"
#include "backends/win32/win32_keyboard.h"
#include "backends/win32/win32_menus.h"
#include "backends/win32/win32_programs.h"
#include "backends/win32/win32_registry.h"
#include "backends/win32/win32_text_measure.h"
#include "backends/win32/win32_timers.h"
#include "backends/win32/win32_ui.h"
#include "backends/win32/win32_window_system.h"
#include "host/apartment.h"
#include "server/home_thread.h"

namespace windlock::server {

// One browser thread's services and module data, shared by the bands of that thread and gone
// with the last of them.
class ThreadContext {
 public:
  // Holds the calling thread's context, made on first use, for as long as it lives.
  class Reference {
   public:
    Reference();
    ~Reference();
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;

    Apartment& apartment() const { return context_->apartment_; }
    const HomeThread& home() const { return context_->home_; }
    // The bar's panes and other hosted controls on this thread.
    win32::HostedControls& hosted() const { return context_->controls_.hosted(); }

   private:
    ThreadContext* context_;
  };

  ThreadContext(const ThreadContext&) = delete;
  ThreadContext& operator=(const ThreadContext&) = delete;

 private:
  ThreadContext() = default;

  // First made, last gone: what is posted to it may be the context's last holder.
  HomeThread home_;
  win32::Win32Registry registry_;
  win32::Win32FileSystem files_;
  win32::Win32Ui ui_;
  win32::Win32Timers timers_;
  win32::Win32Keyboard keyboard_;
  win32::Win32TextMeasure text_;
  win32::Win32ControlFactory controls_;
  win32::Win32WindowSystem windows_{controls_.hosted()};
  win32::Win32XmlFactory xml_;
  win32::Win32Help help_;
  win32::Win32Menus menus_;
  win32::Win32Programs programs_;
  Platform platform_{registry_, files_,   ui_,  timers_, timers_, keyboard_, text_,
                     controls_, windows_, xml_, help_,   menus_,  programs_};
  Apartment apartment_{platform_};
  int references_ = 0;
};

}  // namespace windlock::server
