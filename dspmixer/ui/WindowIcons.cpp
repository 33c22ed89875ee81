#include "WindowIcons.h"

namespace {
HICON LoadProgramIcon(int iconId, int widthMetric, int heightMetric) {
  // Shared: the system frees the icons with the module, the windows never do.
  return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId),
                                         IMAGE_ICON, ::GetSystemMetrics(widthMetric),
                                         ::GetSystemMetrics(heightMetric), LR_SHARED));
}
}  // namespace

void SetWindowIcons(HWND window, int iconId) {
  ::SendMessageW(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadProgramIcon(iconId, SM_CXICON, SM_CYICON)));
  ::SendMessageW(window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadProgramIcon(iconId, SM_CXSMICON, SM_CYSMICON)));
}
