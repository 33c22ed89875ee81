#include "WindowIcons.h"

namespace {
HICON LoadProgramIcon(int iconId, int widthMetric, int heightMetric) {
  // Shared: the system frees the icons with the module, the windows never do.
  return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId),
                                         IMAGE_ICON, ::GetSystemMetrics(widthMetric),
                                         ::GetSystemMetrics(heightMetric), LR_SHARED));
}
}  // namespace

void SetWindowIcons(winui::CWindow& window, int iconId) {
  window.SetIcon(LoadProgramIcon(iconId, SM_CXICON, SM_CYICON), TRUE);
  window.SetIcon(LoadProgramIcon(iconId, SM_CXSMICON, SM_CYSMICON), FALSE);
}
