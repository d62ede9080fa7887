#include "backends/win32/win32_ui.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <cstring>

#include <new>

#include "backends/win32/com/text.h"
#include "backends/win32/com/unique_handle.h"
#include "backends/win32/com/win32_error.h"
#include "backends/win32/view/form_view.h"
#include "backends/win32/view/gdi.h"

#include "common/twips.h"
#include "forms/form.h"

namespace windlock::win32 {
namespace {

// The title of a message box that has none of its own.
constexpr const char* kApplicationTitle = "Windlock";
// The longest path the wide file functions take, in characters.
constexpr std::size_t kLongestPath = 32767;

// The clipboard, open for this thread until this goes.
class OpenClipboardScope {
 public:
  OpenClipboardScope() {
    if (!OpenClipboard(nullptr)) throw ErrorFromWin32(GetLastError());
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  ~OpenClipboardScope() { CloseClipboard(); }
};

}  // namespace

void Win32Ui::RunModal(Form& form) {
  std::shared_ptr<Form> alive = form.KeepAlive();
  // The window the user was working in waits, disabled, until the form has closed.
  HWND active = GetActiveWindow();
  HWND owner = active ? GetAncestor(active, GA_ROOT) : nullptr;
  HWND window = FormView::CreateModalWindowFor(form, owner);
  const bool owner_was_enabled = owner && IsWindowEnabled(owner);
  if (owner_was_enabled) EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOW);
  // An alert is read out as it shows, its name the notice.
  if (form.alert) NotifyWinEvent(EVENT_SYSTEM_ALERT, window, OBJID_CLIENT, CHILDID_SELF);
  SetForegroundWindow(window);
  FormView::FocusFirstControl(window);
  // The thread's other events (timers, browsers, the bar's own windows) go on meanwhile; a quit
  // message ends the loop and is left for the loop outside.
  MSG message;
  while (form.loaded() && IsWindow(window)) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got == -1) break;
    if (FormView::TranslateFormKey(window, message)) continue;
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  // The owner first, so that it, not some other program, becomes active again.
  if (owner_was_enabled && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (IsWindow(window)) ::DestroyWindow(window);
  // A form ended by the loop's own end (a quit message) counts as closed.
  form.Unload();
}

void Win32Ui::Announce(const Form& form, const std::string& text) {
  FormView::Announce(form, Widen(text));
}

int Win32Ui::ShowMessageBox(const std::string& text, const std::optional<std::string>& title,
                            unsigned style) {
  return MessageBoxW(nullptr, Widen(text).c_str(), Widen(title.value_or(kApplicationTitle)).c_str(),
                     style | MB_TASKMODAL);
}

ScreenSize Win32Ui::Screen() {
  ScreenDc screen = GetScreenDc();
  return {PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), GetDeviceCaps(screen.get(), LOGPIXELSX)),
          PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), GetDeviceCaps(screen.get(), LOGPIXELSY))};
}

void Win32Ui::SetClipboardText(const std::string& text) {
  std::wstring wide = Widen(text);
  std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) throw std::bad_alloc();
  std::memcpy(GlobalLock(memory.get()), wide.c_str(), bytes);
  GlobalUnlock(memory.get());
  OpenClipboardScope clipboard;
  EmptyClipboard();
  if (!SetClipboardData(CF_UNICODETEXT, memory.get())) throw ErrorFromWin32(GetLastError());
  // The clipboard owns the memory once it has taken it.
  memory.Detach();
}

std::optional<Font> Win32Ui::ShowFontDialog(const Font& preset) {
  LOGFONTW logfont{};
  int dpi = GetDeviceCaps(GetScreenDc().get(), LOGPIXELSY);
  logfont.lfHeight = -MulDiv(static_cast<int>(preset.size * 10 + 0.5f), dpi, 720);
  logfont.lfWeight = preset.bold ? FW_BOLD : FW_NORMAL;
  logfont.lfItalic = preset.italic;
  logfont.lfUnderline = preset.underline;
  logfont.lfStrikeOut = preset.strikethrough;
  logfont.lfCharSet = DEFAULT_CHARSET;
  CopyToBuffer(preset.name, logfont.lfFaceName);

  CHOOSEFONTW request{};
  request.lStructSize = sizeof(request);
  request.lpLogFont = &logfont;
  request.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
  if (!ChooseFontW(&request)) return std::nullopt;

  Font chosen;
  chosen.name = Narrow(logfont.lfFaceName);
  chosen.size = static_cast<float>(request.iPointSize) / 10;
  chosen.bold = logfont.lfWeight >= FW_BOLD;
  chosen.italic = logfont.lfItalic != 0;
  chosen.underline = logfont.lfUnderline != 0;
  chosen.strikethrough = logfont.lfStrikeOut != 0;
  return chosen;
}

std::optional<std::string> Win32Ui::ShowOpenFileDialog(const std::string& title,
                                                       const std::string& filter,
                                                       const std::string& folder) {
  // The dialog wants the filter's parts separated and ended by NULs.
  std::wstring filter_text = Widen(filter);
  for (wchar_t& c : filter_text) {
    if (c == L'|') c = L'\0';
  }
  filter_text.append(2, L'\0');
  std::wstring title_text = Widen(title);
  std::wstring folder_text = Widen(folder);
  // Room for the longest path Windows takes: the dialog cannot be asked again for a choice that
  // did not fit once the user has made it.
  std::wstring path(kLongestPath + 1, L'\0');

  OPENFILENAMEW request{};
  request.lStructSize = sizeof(request);
  request.lpstrFilter = filter_text.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = path.data();
  request.nMaxFile = static_cast<DWORD>(path.size());
  request.lpstrInitialDir = folder_text.c_str();
  request.lpstrTitle = title_text.c_str();
  request.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&request)) return std::nullopt;
  return Narrow(path.c_str());
}

}  // namespace windlock::win32
