#pragma once

// Answers a modal box or dialog of this process from a second thread, the way a user would.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/text/wide_text.h"

namespace tallix::testing {

// What a box showed: its title and the texts and icons of its static controls.
struct SeenBox {
    bool found = false;
    std::vector<std::string> texts;
    bool showsIcon = false;
};

inline BOOL CALLBACK CollectStatic(HWND child, LPARAM seenBox) {
    auto& seen = *reinterpret_cast<SeenBox*>(seenBox);
    wchar_t className[32];
    GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, L"Static") != 0 || !IsWindowVisible(child)) {
        return TRUE;
    }
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        if (SendMessageW(child, STM_GETICON, 0, 0) != 0) {
            seen.showsIcon = true;
        }
    } else {
        wchar_t text[256];
        GetWindowTextW(child, text, 256);
        seen.texts.push_back(WideToUtf8(text));
    }
    return TRUE;
}

// Waits on another thread for a dialog of this process with the title, records what it
// shows, lets `answer` act on it, and gives up after ten seconds.
class BoxWatcher {
public:
    BoxWatcher(const std::string& title, std::function<void(HWND)> answer)
        : thread_([this, title = Utf8ToWide(title), answer = std::move(answer)] {
              for (int tries = 0; tries < 1000; ++tries) {
                  const HWND box = FindWindowW(L"#32770", title.c_str());
                  DWORD process = 0;
                  if (box != nullptr && IsWindowVisible(box) &&
                      GetWindowThreadProcessId(box, &process) && process == GetCurrentProcessId()) {
                      seen_.found = true;
                      EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&seen_));
                      answer(box);
                      return;
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              }
          }) {}
    // The box has been answered once the call that showed it returned.
    SeenBox Seen() {
        thread_.join();
        return seen_;
    }
    ~BoxWatcher() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

private:
    SeenBox seen_;
    std::thread thread_;
};

inline void PressOk(HWND box) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace tallix::testing
