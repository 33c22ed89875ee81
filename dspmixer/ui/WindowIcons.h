#pragma once
// The program's icon on a window's caption and task-bar button, at the system's icon sizes.
#include <windows.h>

#include "Window.h"

void SetWindowIcons(winui::CWindow& window, int iconId);
