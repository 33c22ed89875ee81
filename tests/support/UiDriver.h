#pragma once
// The UI test driver: programs under test, their windows and message boxes, scratch files.
#include "UiFiles.h"
#include "UiMessageBox.h"
#include "UiPath.h"
#include "UiProcess.h"
#include "UiWindow.h"
