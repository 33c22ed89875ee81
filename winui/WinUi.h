#pragma once
// The whole dialog layer: windows, message maps, dialogs, resizing, the message loop and the
// application module.
#include "AppModule.h"
#include "CommandIds.h"
#include "DialogImpl.h"
#include "DialogResize.h"
#include "MessageLoop.h"
#include "MessageMap.h"
#include "Window.h"
