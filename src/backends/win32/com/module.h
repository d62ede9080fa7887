#pragma once

#include <windows.h>

#include <string>

namespace windlock::win32 {

// The module this code is linked into (the server DLL): its handle and its file.
HINSTANCE ModuleHandle();
std::wstring ModulePath();

// Registers a window class of the module's, with the arrow cursor and, when asked, the face
// colour of dialogs as its background. Registering it again (from another thread) fails
// harmlessly: the class is the module's, shared by its threads.
void RegisterModuleClass(const wchar_t* name, WNDPROC procedure, bool dialog_background = false);

// Unregisters every class the module registered, as it is unloaded: a copy loaded again into the
// same process must not meet class records whose procedures were the old copy's.
void UnregisterModuleClasses() noexcept;

// A message-only window of the module's class `name`, whose procedure finds `owner` in the
// window's user data; fails with an Error.
HWND CreateMessageWindow(const wchar_t* name, WNDPROC procedure, void* owner);

}  // namespace windlock::win32
