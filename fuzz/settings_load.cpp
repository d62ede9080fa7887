// LoadSettings on an arbitrary registry image, then SaveSettings and a second load. A load that
// succeeds must keep every stored site, in order; whatever the first load made of the image,
// saving it and loading again must give the same record without a message. A save may fail only
// on a key the image made read-only or shut, and then it must leave the stored sites as they
// were.
//
// The image is text, one value a line: a type letter, the value's path ("\Options\Visible" under
// the settings root, or a full path) and "=" with the data up to the line's end.
//   s  REG_SZ with its terminating NUL       n  REG_SZ without one
//   d  REG_DWORD from a decimal number        w  REG_DWORD of the data's bytes, any size
//   b  REG_BINARY                             m  REG_MULTI_SZ          q  REG_QWORD
//   -  the value is deleted
// Keys: "R" + a key's path makes it read-only, "X" + a key's path shuts it to this user. Files:
// "f" + a file's path, "k" + a folder's path (a path that begins with "\" is under the program
// folder). Other lines are passed over.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backends/sim/sim_machine.h"
#include "common/error.h"
#include "input_lines.h"
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

// Applies one line of the image; true when it made a key read-only or shut it.
bool Apply(windlock::sim::SimMachine& machine, std::string_view line) {
  if (line.empty()) return false;
  const char kind = line.front();
  line.remove_prefix(1);
  const char* program = windlock::sim::SimFileSystem::kProgramFolder;
  switch (kind) {
    case 'R':
      machine.registry.MakeReadOnly(Under(path::kRoot, line));
      return true;
    case 'X':
      machine.registry.DenyAccess(Under(path::kRoot, line));
      return true;
    case 'f':
      machine.files.AddFile(Under(program, line), "RIFF");
      return false;
    case 'k':
      machine.files.AddFolder(Under(program, line));
      return false;
  }
  const std::size_t equals = line.find('=');
  const std::string name = Under(path::kRoot, line.substr(0, equals));
  const std::string_view data =
      equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
  std::string bytes(data);
  switch (kind) {
    case 's':
      machine.registry.PutRaw(name, {windlock::kRegSz, bytes + '\0'});
      break;
    case 'n':
      machine.registry.PutRaw(name, {windlock::kRegSz, bytes});
      break;
    case 'd':
      machine.registry.PutRaw(name, {windlock::kRegDword, DwordBytes(data)});
      break;
    case 'w':
      machine.registry.PutRaw(name, {windlock::kRegDword, bytes});
      break;
    case 'b':
      machine.registry.PutRaw(name, {kRegBinary, bytes});
      break;
    case 'm':
      machine.registry.PutRaw(name, {kRegMultiSz, bytes});
      break;
    case 'q':
      machine.registry.PutRaw(name, {kRegQword, bytes});
      break;
    case '-':
      machine.registry.Remove(name);
      break;
  }
  return false;
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

// The stored list as the reader reads the count and each entry; none when it cannot be read.
std::optional<std::vector<std::string>> StoredSites(windlock::Registry& registry) {
  try {
    std::vector<std::string> sites;
    const int32_t count = windlock::ReadLong(registry, path::kSiteCount);
    for (int32_t i = 0; i < count; ++i) {
      sites.push_back(windlock::ReadText(registry, path::kSitePrefix + std::to_string(i)));
    }
    return sites;
  } catch (const windlock::Error&) {
    return std::nullopt;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  windlock::sim::SimMachine machine;
  bool faults = false;
  windlock::fuzz::ForEachLine(data, size,
                              [&](std::string_view line) { faults |= Apply(machine, line); });
  windlock::Platform& platform = machine.Window(1).platform();
  const auto& messages = machine.ui.message_boxes();

  Settings loaded;
  windlock::LoadSettings(loaded, platform);
  const bool load_failed = !messages.empty();
  const auto stored = StoredSites(machine.registry);
  if (!load_failed && stored != loaded.Sites.entries()) std::abort();

  try {
    windlock::SaveSettings(loaded, machine.registry);
  } catch (const windlock::Error&) {
    if (!faults || StoredSites(machine.registry) != stored) std::abort();
    return 0;
  }
  Settings reloaded;
  windlock::LoadSettings(reloaded, platform);
  if (messages.size() != (load_failed ? 1u : 0u) || !SameRecord(loaded, reloaded)) std::abort();
  return 0;
}
