#include "backends/win32/win32_sound_device.h"

#include <iterator>
#include <string>
#include <utility>

#include "backends/win32/com/guarded_call.h"
#include "backends/win32/com/module.h"
#include "backends/win32/com/text.h"
#include "common/error.h"

namespace windlock::win32 {
namespace {

constexpr const wchar_t* kSoundClass = L"WindlockSound";

// The core's Error for a failed MCI command: MCI's error code and its own text.
Error ErrorFromMci(MCIERROR code) {
  auto number = static_cast<int32_t>(LOWORD(code));
  // MCI's texts fit in 128 characters.
  wchar_t text[128] = {};
  if (!mciGetErrorStringW(code, text, static_cast<UINT>(std::size(text)))) {
    return Error(number, "MCI error " + std::to_string(number));
  }
  return Error(number, Narrow(text));
}

}  // namespace

Win32SoundDevice::Win32SoundDevice()
    : window_(CreateMessageWindow(kSoundClass, WindowProc, this)) {}

Win32SoundDevice::~Win32SoundDevice() {
  if (device_) mciSendCommandW(device_, MCI_CLOSE, MCI_WAIT, 0);
  if (window_) DestroyWindow(window_);
}

void Win32SoundDevice::SetCommand(const std::string& command) {
  if (command == "Open") {
    Open();
  } else if (command == "Prev") {
    MCI_SEEK_PARMS seek{};
    seek.dwCallback = Callback();
    Send(MCI_SEEK, Flags() | MCI_SEEK_TO_START, reinterpret_cast<DWORD_PTR>(&seek));
  } else if (command == "Play") {
    MCI_PLAY_PARMS play{};
    play.dwCallback = Callback();
    Send(MCI_PLAY, Flags(), reinterpret_cast<DWORD_PTR>(&play));
  } else if (command == "Close") {
    Close();
  } else {
    throw Error(kErrInvalidPropertyValue, "Invalid property value");
  }
}

DWORD_PTR Win32SoundDevice::Callback() const {
  return reinterpret_cast<DWORD_PTR>(window_);
}

DWORD_PTR Win32SoundDevice::Flags() const {
  return (notify_ ? MCI_NOTIFY : 0) | (wait_ ? MCI_WAIT : 0);
}

void Win32SoundDevice::Open() {
  // The device holds one file at a time.
  Close();
  std::wstring file = Widen(file_name_);
  MCI_OPEN_PARMSW open{};
  open.dwCallback = Callback();
  open.lpstrDeviceType = L"waveaudio";
  open.lpstrElementName = file.c_str();
  MCIERROR result = mciSendCommandW(0, MCI_OPEN, Flags() | MCI_OPEN_TYPE | MCI_OPEN_ELEMENT,
                                    reinterpret_cast<DWORD_PTR>(&open));
  if (result) throw ErrorFromMci(result);
  device_ = open.wDeviceID;
}

void Win32SoundDevice::Close() {
  if (!device_) return;
  MCIDEVICEID closing = std::exchange(device_, 0);
  // Always waited for: what the device posted is all in the queue once it returns.
  MCIERROR result = mciSendCommandW(closing, MCI_CLOSE, MCI_WAIT, 0);
  // Those notices must not end the sound of the next device, which may get the same identifier.
  MSG stale;
  while (PeekMessageW(&stale, window_, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE)) {
  }
  if (result) throw ErrorFromMci(result);
}

void Win32SoundDevice::Send(UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
  MCIERROR result = mciSendCommandW(device_, message, flags, parameters);
  if (result) throw ErrorFromMci(result);
}

void Win32SoundDevice::Notified(WPARAM code, MCIDEVICEID device) {
  // Aborted and superseded notices come from commands the core gave after the play; only the
  // play's own end, or its failure without a sound device, ends it.
  if (device != device_ || (code != MCI_NOTIFY_SUCCESSFUL && code != MCI_NOTIFY_FAILURE)) return;
  if (!on_done_) return;
  std::function<void()> on_done = on_done_;
  on_done();
}

LRESULT CALLBACK Win32SoundDevice::WindowProc(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam) noexcept {
  if (message != MM_MCINOTIFY) return DefWindowProcW(window, message, wparam, lparam);
  return GuardedMessage(
      [&]() -> LRESULT {
        auto* device =
            reinterpret_cast<Win32SoundDevice*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (device) device->Notified(wparam, static_cast<MCIDEVICEID>(lparam));
        return 0;
      },
      0);
}

}  // namespace windlock::win32
