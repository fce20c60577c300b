#pragma once

#include <windows.h>

namespace tallix {

// The dots per inch a window is drawn at: its monitor's where Windows tells each window its
// own (Windows 10 1607 on), the screen's otherwise. The newer functions are looked up when
// called, so the program still starts on older Windows.
int WindowDpi(HWND window);

// The outer size of a window whose client area is clientWidth x clientHeight at that DPI.
SIZE OuterSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool hasMenu,
                        int dpi);

}  // namespace tallix
