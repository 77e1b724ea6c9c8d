// The keymap compiler's Win32 platform: the file through CreateFileW and
// ReadFile, messages in a message box. Paths and texts arrive as UTF-8.
#pragma once

#include <windows.h>

#include <string>

#include "keymap/keymap_platform.h"

class Win32KeymapPlatform final : public KeymapPlatform {
 public:
  // How a message reaches the user; tests pass a recorder.
  using MessageShower = void (*)(HWND owner, const wchar_t* text);

  explicit Win32KeymapPlatform(MessageShower show = showMessageBox) : show_(show) {}
  ~Win32KeymapPlatform();
  Win32KeymapPlatform(const Win32KeymapPlatform&) = delete;
  Win32KeymapPlatform& operator=(const Win32KeymapPlatform&) = delete;

  bool openKeymapFile(const std::string& pathUtf8, uint32_t& size) override;
  bool readKeymapFile(uint8_t* buffer, uint32_t size) override;
  void closeKeymapFile() override;
  void showKeymapMessage(const std::string& textUtf8) override;

  // The window whose load this is: it owns the message boxes, so that it
  // cannot start another load while one is up. Null: no owner.
  void setMessageOwner(HWND owner) { owner_ = owner; }

  // A modal box with caption "padquiltkana" and an OK button.
  static void showMessageBox(HWND owner, const wchar_t* text);

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  bool sizeUnknown_ = false;
  MessageShower show_;
  HWND owner_ = nullptr;
};
