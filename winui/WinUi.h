#pragma once
// The whole dialog layer: windows, message maps, dialogs, resizing, hidden windows, the message
// loop and the application module.
#include "AppModule.h"
#include "CommandIds.h"
#include "DialogImpl.h"
#include "DialogResize.h"
#include "HiddenWindow.h"
#include "MessageLoop.h"
#include "MessageMap.h"
#include "Window.h"
