#pragma once
// A stand-in for the driver API library inside the test process: one device with chosen
// channel counts and node weights, counters of the calls, and a binding that points at it.
#include <windows.h>

#include <cstdint>
#include <map>
#include <tuple>

#include "SonarixApiDll.h"

struct FakeDriver {
  uint32_t deviceCount = 1;
  // Channel counts in the order of the count properties: DO, DI, AP, AR, APV, ARV.
  uint32_t counts[6] = {1, 1, 1, 1, 1, 1};
  // Node weights by (input kind, input index, output kind, output index); 0 when absent.
  std::map<std::tuple<int, int, int, int>, uint32_t> weights;
  SONARIX_STATUS enumerateStatus = 0;
  SONARIX_STATUS levelStatus = 0;  // the answer to a level table read
  int registrations = 0;
  int unregistrations = 0;
  int enumerations = 0;
  int opens = 0;
  int closes = 0;
  int gets = 0;
  int sets = 0;
  int levelReads = 0;
};

// The one stand-in device of the test process; reset by BindFakeDriver.
extern FakeDriver g_driver;

// Points every entry point the mixer windows call at the stand-in, which starts afresh.
void BindFakeDriver(SonarixApiDll& api);
