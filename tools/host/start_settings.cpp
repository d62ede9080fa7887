#include "start_settings.h"

#include "common/error.h"
#include "settings/settings_paths.h"

namespace windlock::host {
namespace {

bool IsOn(Registry& registry, const char* path) {
  try {
    const RegistryValue value = registry.Read(path);
    return value.kind == RegistryValue::Kind::kDword && value.dword == 1;
  } catch (const Error&) {
    return false;
  }
}

}  // namespace

bool BarStartsItself(Registry& registry) {
  return IsOn(registry, settings_path::kAutoStart) &&
         (IsOn(registry, settings_path::kAutoStartVisible) ||
          IsOn(registry, settings_path::kVisible));
}

}  // namespace windlock::host
