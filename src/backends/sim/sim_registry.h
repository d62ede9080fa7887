#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "backends/sim/sim_trace.h"
#include "platform/registry.h"

namespace windlock::sim {

// An in-memory registry: keys and value names compared without letter case, keys created by
// writes. Keys can be made read-only to test failing saves, or closed to this user altogether;
// an open that asks for rights the key does not grant fails.
class SimRegistry : public Registry {
 public:
  explicit SimRegistry(const SimTrace& trace) : trace_(trace) {}

  RegistryValue Read(const std::string& path) override;
  std::optional<RawRegistryValue> ReadRaw(const std::string& path, uint32_t access) override;
  void WriteString(const std::string& path, const std::string& value) override;
  void WriteDword(const std::string& path, uint32_t value) override;
  void Delete(const std::string& path) override;
  std::vector<std::string> ValueNames(const std::string& key_path) override;

  // Set-up and inspection, not seen by the program.
  // Strings are stored with their terminating NUL, numbers as four little-endian bytes.
  void Put(const std::string& path, RegistryValue value);
  // Stores exactly these bytes under this type (a string without its NUL, an oversized value).
  void PutRaw(const std::string& path, RawRegistryValue raw);
  void Remove(const std::string& path);
  bool Peek(const std::string& path, RegistryValue& value) const;
  // The stored value as traces and scenarios show it: dword -1, sz "text", binary or missing.
  std::string Describe(const std::string& path) const;
  // Writes and deletes under this key (and its subkeys) fail from now on, and so does opening
  // it with any right to change it.
  void MakeReadOnly(const std::string& key_path);
  // Every use of this key (and its subkeys) fails from now on: reads, writes, listing.
  void DenyAccess(const std::string& key_path);

 private:
  struct Stored {
    std::string name;
    RegistryValue value;
    RawRegistryValue raw;
  };
  using Key = std::map<std::string, Stored>;  // by folded value name

  void CheckWritable(const std::string& path) const;
  void CheckReadable(const std::string& path) const;
  void Store(const std::string& path, RegistryValue value, RawRegistryValue raw);
  const Stored* Find(const std::string& path) const;

  const SimTrace& trace_;
  std::map<std::string, Key> keys_;  // by folded key path
  std::set<std::string> read_only_;  // folded key paths
  std::set<std::string> denied_;     // folded key paths
};

}  // namespace windlock::sim
