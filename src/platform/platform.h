#pragma once

#include "platform/control_factory.h"
#include "platform/file_system.h"
#include "platform/help.h"
#include "platform/keyboard.h"
#include "platform/menus.h"
#include "platform/programs.h"
#include "platform/registry.h"
#include "platform/text_measure.h"
#include "platform/timer_service.h"
#include "platform/ui.h"
#include "platform/window_system.h"
#include "platform/xml_document.h"

namespace windlock {

// The services of one browser thread, handed to every core object that needs them.
struct Platform {
  Registry& registry;
  FileSystem& files;
  Ui& ui;
  TimerService& timers;
  Clock& clock;
  Keyboard& keyboard;
  TextMeasure& text;
  ControlFactory& controls;
  WindowSystem& windows;
  XmlFactory& xml;
  Help& help;
  Menus& menus;
  Programs& programs;
};

}  // namespace windlock
