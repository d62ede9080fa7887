// LoadSettings on an arbitrary registry image, then SaveSettings and a second load. A load that
// succeeds must keep every stored site, in order; whatever the first load made of the image,
// saving it and loading again must give the same record without a message.
//
// The image is text, one value a line: a type letter, the value's path ("\Options\Visible" under
// the settings root, or a full path) and "=" with the data up to the line's end.
//   s  REG_SZ with its terminating NUL       n  REG_SZ without one
//   d  REG_DWORD from a decimal number        w  REG_DWORD of the data's bytes, any size
//   b  REG_BINARY                             m  REG_MULTI_SZ          q  REG_QWORD
//   -  the value is deleted
// and two lines for the file system: "f" + a file's path, "k" + a folder's path (a path that
// begins with "\" is under the program folder). Other lines are passed over.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/error.h"
#include "input_lines.h"
#include "platform/sim/sim_machine.h"
#include "settings/registry_reader.h"
#include "settings/settings_paths.h"
#include "settings/settings_store.h"

namespace {

using windlock::Settings;
namespace path = windlock::settings_path;

constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegMultiSz = 7;
constexpr uint32_t kRegQword = 11;

std::string Under(const char* root, std::string_view name) {
  return name.starts_with('\\') ? root + std::string(name) : std::string(name);
}

std::string DwordBytes(std::string_view decimal) {
  const int64_t number = windlock::fuzz::Number(decimal);
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(number >> shift);
  return bytes;
}

void Apply(windlock::sim::SimMachine& machine, std::string_view line) {
  if (line.empty()) return;
  const char kind = line.front();
  line.remove_prefix(1);
  const char* program = windlock::sim::SimFileSystem::kProgramFolder;
  if (kind == 'f') return machine.files.AddFile(Under(program, line), "RIFF");
  if (kind == 'k') return machine.files.AddFolder(Under(program, line));
  const std::size_t equals = line.find('=');
  const std::string name = Under(path::kRoot, line.substr(0, equals));
  const std::string_view data =
      equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
  std::string bytes(data);
  switch (kind) {
    case 's':
      return machine.registry.PutRaw(name, {windlock::kRegSz, bytes + '\0'});
    case 'n':
      return machine.registry.PutRaw(name, {windlock::kRegSz, bytes});
    case 'd':
      return machine.registry.PutRaw(name, {windlock::kRegDword, DwordBytes(data)});
    case 'w':
      return machine.registry.PutRaw(name, {windlock::kRegDword, bytes});
    case 'b':
      return machine.registry.PutRaw(name, {kRegBinary, bytes});
    case 'm':
      return machine.registry.PutRaw(name, {kRegMultiSz, bytes});
    case 'q':
      return machine.registry.PutRaw(name, {kRegQword, bytes});
    case '-':
      return machine.registry.Remove(name);
  }
}

bool SameRecord(const Settings& a, const Settings& b) {
  return a.AutoStartVisible == b.AutoStartVisible && a.AutoStart == b.AutoStart &&
         a.Visible == b.Visible && a.DefaultSkin == b.DefaultSkin &&
         a.PopupAlertFont == b.PopupAlertFont && a.PopupAlertMessage == b.PopupAlertMessage &&
         a.PopupAlertDisplayTime == b.PopupAlertDisplayTime &&
         a.CaptureWhenClosed == b.CaptureWhenClosed && a.ShowVisualCapture == b.ShowVisualCapture &&
         a.PlayAudioCapture == b.PlayAudioCapture && a.PromptToAdd == b.PromptToAdd &&
         a.UpdateURL == b.UpdateURL && a.BrowseSkinsURL == b.BrowseSkinsURL &&
         a.Sites.entries() == b.Sites.entries();
}

// The stored list, as the reader reads the count and each entry.
bool HoldsStoredSites(windlock::Registry& registry, const Settings& settings) {
  const int32_t count = windlock::ReadLong(registry, path::kSiteCount);
  if (count <= 0) return settings.Sites.size() == 0;
  if (settings.Sites.size() != static_cast<std::size_t>(count)) return false;
  for (std::size_t i = 0; i < settings.Sites.size(); ++i) {
    const std::string site = path::kSitePrefix + std::to_string(i);
    if (windlock::ReadText(registry, site) != settings.Sites[i]) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  windlock::sim::SimMachine machine;
  windlock::fuzz::ForEachLine(data, size, [&](std::string_view line) { Apply(machine, line); });
  windlock::Platform& platform = machine.Window(1).platform();
  const auto& messages = machine.ui.message_boxes();

  Settings loaded;
  windlock::LoadSettings(loaded, platform);
  const bool load_failed = !messages.empty();
  if (!load_failed && !HoldsStoredSites(machine.registry, loaded)) std::abort();

  try {
    windlock::SaveSettings(loaded, machine.registry);
  } catch (const windlock::Error&) {
    std::abort();
  }
  Settings reloaded;
  windlock::LoadSettings(reloaded, platform);
  if (messages.size() != (load_failed ? 1u : 0u) || !SameRecord(loaded, reloaded)) std::abort();
  return 0;
}
