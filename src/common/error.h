#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace windlock {

// The one failure that crosses a port or leaves a routine: what the message boxes show as
// "Error Number" and "Error Description".
class Error : public std::runtime_error {
 public:
  Error(int32_t number, const std::string& description)
      : std::runtime_error(description), number_(number) {}

  int32_t number() const { return number_; }
  std::string description() const { return what(); }

 private:
  int32_t number_;
};

// Error numbers the core raises itself (the automation runtime's own numbers).
inline constexpr int32_t kErrInvalidProcedureCall = 5;
inline constexpr int32_t kErrTypeMismatch = 13;
inline constexpr int32_t kErrFileNotFound = 53;
inline constexpr int32_t kErrSubscriptOutOfRange = 9;
inline constexpr int32_t kErrInvalidPropertyValue = 380;
// "Object variable or With block variable not set": an object the code needs is not there.
inline constexpr int32_t kErrNoObject = 91;
// "Object required": an element, option or document a call needs is not there.
inline constexpr int32_t kErrObjectRequired = 424;
// "Object doesn't support this property or method": a call of a method the object lacks.
inline constexpr int32_t kErrNoSuchMethod = 438;

inline Error ObjectRequired() {
  return Error(kErrObjectRequired, "Object required");
}

inline Error NoSuchMethod() {
  return Error(kErrNoSuchMethod, "Object doesn't support this property or method");
}

}  // namespace windlock
