// The error box on Windows: the system's own, owned by the focused window.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/system_message_box.h"
#include "platform/win32_system.h"

void showSystemMessageBox(const char* caption, const char* text) {
  const std::wstring wideText = widenText(text), wideCaption = widenText(caption);
  if (MessageBoxW(GetFocus(), wideText.c_str(), wideCaption.c_str(), MB_OK) == 0) {
    std::fprintf(stderr, "(no message box could be shown: %s)\n",
                 reasonForError(GetLastError()).c_str());
  }
}
