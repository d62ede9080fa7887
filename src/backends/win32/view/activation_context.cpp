#include "backends/win32/view/activation_context.h"

#include <mutex>

#include "backends/win32/com/module.h"

namespace windlock::win32 {
namespace {

// Made once for the process and kept until it ends: windows made in it outlive any one bar.
HANDLE ModuleContext() {
  static HANDLE context = INVALID_HANDLE_VALUE;
  static std::once_flag made;
  std::call_once(made, [] {
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.hModule = ModuleHandle();
    request.lpResourceName = MAKEINTRESOURCEW(2);
    context = CreateActCtxW(&request);
  });
  return context;
}

}  // namespace

ModuleActivation::ModuleActivation() {
  HANDLE context = ModuleContext();
  if (context != INVALID_HANDLE_VALUE) active_ = ActivateActCtx(context, &cookie_) != FALSE;
}

ModuleActivation::~ModuleActivation() {
  if (active_) DeactivateActCtx(0, cookie_);
}

}  // namespace windlock::win32
