#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <functional>
#include <string>

#include "platform/sound_device.h"

namespace windlock::win32 {

// The wave-audio multimedia control on MCI: one waveaudio device at a time, opened on the file
// named. Notifications reach a message-only window of the module; the Done event is raised from
// there, from the thread's message loop, once a play with Notify set has ended or failed.
class Win32SoundDevice : public SoundDevice {
 public:
  Win32SoundDevice();
  ~Win32SoundDevice() override;
  Win32SoundDevice(const Win32SoundDevice&) = delete;
  Win32SoundDevice& operator=(const Win32SoundDevice&) = delete;

  void SetNotify(bool notify) override { notify_ = notify; }
  void SetWait(bool wait) override { wait_ = wait; }
  void SetFileName(const std::string& path) override { file_name_ = path; }
  void SetCommand(const std::string& command) override;
  void SetDoneHandler(std::function<void()> on_done) override { on_done_ = std::move(on_done); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam) noexcept;

  // The window MCI notifies, and the flags every command takes from Notify and Wait.
  DWORD_PTR Callback() const;
  DWORD_PTR Flags() const;
  void Open();
  void Close();
  void Send(UINT message, DWORD_PTR flags, DWORD_PTR parameters);
  void Notified(WPARAM code, MCIDEVICEID device);

  HWND window_ = nullptr;
  MCIDEVICEID device_ = 0;
  bool notify_ = false;
  bool wait_ = false;
  std::string file_name_;
  std::function<void()> on_done_;
};

}  // namespace windlock::win32
