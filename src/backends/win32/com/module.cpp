#include "backends/win32/com/module.h"

#include "backends/win32/com/win32_error.h"

// The linker's name for the start of the image this code is in: its module handle, known
// without waiting for DllMain.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace windlock::win32 {
namespace {

// The classes the module has registered, to unregister at unload. Plain data: a container with
// a destructor could be gone by the time the loader detaches the module.
constexpr int kMostClasses = 16;
SRWLOCK g_classes_lock = SRWLOCK_INIT;
const wchar_t* g_classes[kMostClasses] = {};
int g_class_count = 0;

void RememberClass(const wchar_t* name) {
  AcquireSRWLockExclusive(&g_classes_lock);
  bool known = false;
  for (int i = 0; i < g_class_count; ++i) known = known || g_classes[i] == name;
  // The module's class names are a handful of constants; more would be a fault of the module.
  if (!known && g_class_count < kMostClasses) g_classes[g_class_count++] = name;
  ReleaseSRWLockExclusive(&g_classes_lock);
}

}  // namespace

HINSTANCE ModuleHandle() {
  return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

std::wstring ModulePath() {
  // Paths have no fixed limit: the buffer grows until the whole name fits.
  std::wstring path(128, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(ModuleHandle(), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw ErrorFromWin32(GetLastError());
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void RegisterModuleClass(const wchar_t* name, WNDPROC procedure, bool dialog_background) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = ModuleHandle();
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  if (dialog_background) window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = name;
  if (RegisterClassExW(&window_class)) RememberClass(name);
}

void UnregisterModuleClasses() noexcept {
  AcquireSRWLockExclusive(&g_classes_lock);
  for (int i = 0; i < g_class_count; ++i) UnregisterClassW(g_classes[i], ModuleHandle());
  g_class_count = 0;
  ReleaseSRWLockExclusive(&g_classes_lock);
}

HWND CreateMessageWindow(const wchar_t* name, WNDPROC procedure, void* owner) {
  RegisterModuleClass(name, procedure);
  HWND window =
      CreateWindowExW(0, name, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ModuleHandle(), nullptr);
  if (!window) throw ErrorFromWin32(GetLastError());
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
  return window;
}

}  // namespace windlock::win32
