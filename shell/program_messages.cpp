#include "shell/program_messages.h"

namespace {

ProgramMessageShower installedShower = nullptr;

}  // namespace

void showProgramMessage(HWND owner, const wchar_t* text) {
  if (installedShower != nullptr) {
    installedShower(owner, text);
    return;
  }
  MessageBoxW(owner, text, kMessageCaption, MB_OK);
}

void useProgramMessageShower(ProgramMessageShower shower) {
  installedShower = shower;
}

std::wstring programFolderUnknownMessage(const wchar_t* fileName) {
  return std::wstring(L"プログラムのフォルダーのパスが長すぎるため、") + fileName +
         L" が見つかりません。";
}
