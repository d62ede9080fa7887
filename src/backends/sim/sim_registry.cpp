#include "backends/sim/sim_registry.h"

#include "backends/sim/case_insensitive.h"
#include "common/error.h"

namespace windlock::sim {
namespace {

// HRESULTs the script host's registry calls report.
constexpr int32_t kErrFileNotFound = static_cast<int32_t>(0x80070002);
constexpr int32_t kErrAccessDenied = static_cast<int32_t>(0x80070005);
constexpr uint32_t kRegBinary = 3;
// KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_CREATE_LINK, DELETE, WRITE_DAC, WRITE_OWNER.
constexpr uint32_t kRightsToChange = 0x0002 | 0x0004 | 0x0020 | 0x10000 | 0x40000 | 0x80000;

struct SplitPath {
  std::string key;   // folded
  std::string name;  // as written
};

SplitPath Split(const std::string& path) {
  std::size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return {"", path};
  return {FoldCase(path.substr(0, slash)), path.substr(slash + 1)};
}

RawRegistryValue RawOf(const RegistryValue& value) {
  switch (value.kind) {
    case RegistryValue::Kind::kString:
      return {kRegSz, value.text + '\0'};
    case RegistryValue::Kind::kDword: {
      std::string bytes;
      for (int shift = 0; shift < 32; shift += 8) {
        bytes += static_cast<char>((value.dword >> shift) & 0xFF);
      }
      return {kRegDword, bytes};
    }
    case RegistryValue::Kind::kOther:
      break;
  }
  // Some bytes, so that the value counts as present to a reader of raw bytes.
  return {kRegBinary, std::string(1, '\x01')};
}

// Whether the key is one of the keys, or lies under one.
bool Covers(const std::set<std::string>& keys, const std::string& key_path) {
  std::string folded = FoldCase(key_path);
  for (const std::string& key : keys) {
    if (folded == key || folded.starts_with(key + "\\")) return true;
  }
  return false;
}

// What Read makes of stored bytes: a string loses its terminating NULs.
RegistryValue CookedOf(const RawRegistryValue& raw) {
  if (raw.type == kRegSz) {
    std::string text = raw.bytes;
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return {RegistryValue::Kind::kString, text, 0};
  }
  if (raw.type == kRegDword && raw.bytes.size() == 4) {
    uint32_t dword = 0;
    for (int i = 3; i >= 0; --i) dword = (dword << 8) | static_cast<unsigned char>(raw.bytes[i]);
    return {RegistryValue::Kind::kDword, {}, dword};
  }
  return {};
}

}  // namespace

RegistryValue SimRegistry::Read(const std::string& path) {
  CheckReadable(path);
  RegistryValue value;
  if (!Peek(path, value)) {
    throw Error(kErrFileNotFound, "Unable to open registry key \"" + path + "\" for reading.");
  }
  return value;
}

std::optional<RawRegistryValue> SimRegistry::ReadRaw(const std::string& path, uint32_t access) {
  const std::string key = Split(path).key;
  if (Covers(denied_, key) || ((access & kRightsToChange) && Covers(read_only_, key))) {
    return std::nullopt;
  }
  const Stored* stored = Find(path);
  if (!stored) return std::nullopt;
  return stored->raw;
}

void SimRegistry::WriteString(const std::string& path, const std::string& value) {
  CheckWritable(path);
  Put(path, {RegistryValue::Kind::kString, value, 0});
  trace_("reg write " + Quote(path) + " " + Describe(path));
}

void SimRegistry::WriteDword(const std::string& path, uint32_t value) {
  CheckWritable(path);
  Put(path, {RegistryValue::Kind::kDword, {}, value});
  trace_("reg write " + Quote(path) + " " + Describe(path));
}

void SimRegistry::Delete(const std::string& path) {
  CheckWritable(path);
  RegistryValue unused;
  if (!Peek(path, unused)) {
    throw Error(kErrFileNotFound, "Unable to remove registry key \"" + path + "\".");
  }
  Remove(path);
  trace_("reg delete " + Quote(path));
}

std::vector<std::string> SimRegistry::ValueNames(const std::string& key_path) {
  std::vector<std::string> names;
  if (Covers(denied_, key_path)) return names;
  auto key = keys_.find(FoldCase(key_path));
  if (key == keys_.end()) return names;
  for (const auto& [folded, stored] : key->second) names.push_back(stored.name);
  return names;
}

void SimRegistry::Put(const std::string& path, RegistryValue value) {
  RawRegistryValue raw = RawOf(value);
  Store(path, std::move(value), std::move(raw));
}

void SimRegistry::PutRaw(const std::string& path, RawRegistryValue raw) {
  RegistryValue value = CookedOf(raw);
  Store(path, std::move(value), std::move(raw));
}

void SimRegistry::Remove(const std::string& path) {
  SplitPath split = Split(path);
  auto key = keys_.find(split.key);
  if (key != keys_.end()) key->second.erase(FoldCase(split.name));
}

bool SimRegistry::Peek(const std::string& path, RegistryValue& value) const {
  const Stored* stored = Find(path);
  if (!stored) return false;
  value = stored->value;
  return true;
}

std::string SimRegistry::Describe(const std::string& path) const {
  const Stored* stored = Find(path);
  if (!stored) return "missing";
  switch (stored->value.kind) {
    case RegistryValue::Kind::kDword:
      return "dword " + std::to_string(static_cast<int32_t>(stored->value.dword));
    case RegistryValue::Kind::kString:
      return "sz " + Quote(stored->value.text);
    case RegistryValue::Kind::kOther:
      break;
  }
  return "binary";
}

const SimRegistry::Stored* SimRegistry::Find(const std::string& path) const {
  SplitPath split = Split(path);
  auto key = keys_.find(split.key);
  if (key == keys_.end()) return nullptr;
  auto stored = key->second.find(FoldCase(split.name));
  return stored == key->second.end() ? nullptr : &stored->second;
}

void SimRegistry::MakeReadOnly(const std::string& key_path) {
  read_only_.insert(FoldCase(key_path));
}

void SimRegistry::DenyAccess(const std::string& key_path) {
  denied_.insert(FoldCase(key_path));
}

void SimRegistry::CheckWritable(const std::string& path) const {
  const std::string key = Split(path).key;
  if (Covers(read_only_, key) || Covers(denied_, key)) {
    throw Error(kErrAccessDenied, "Access is denied.");
  }
}

void SimRegistry::CheckReadable(const std::string& path) const {
  if (Covers(denied_, Split(path).key)) {
    throw Error(kErrAccessDenied, "Unable to open registry key \"" + path + "\" for reading.");
  }
}

void SimRegistry::Store(const std::string& path, RegistryValue value, RawRegistryValue raw) {
  SplitPath split = Split(path);
  // Writing a value creates its key and every key above it.
  for (std::size_t slash = split.key.find('\\'); slash != std::string::npos;
       slash = split.key.find('\\', slash + 1)) {
    keys_[split.key.substr(0, slash)];
  }
  keys_[split.key][FoldCase(split.name)] = Stored{split.name, std::move(value), std::move(raw)};
}

}  // namespace windlock::sim
