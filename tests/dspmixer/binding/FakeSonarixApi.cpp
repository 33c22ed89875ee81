// A stand-in driver API library. The build makes several libraries from this one source: each
// reports its own version (FAKE_API_VERSION), answers the version check its own way
// (FAKE_CHECK_RESULT) and may lack one entry point (renamed away on the compiler's command line).
#include <cstdint>

#include "SonarixApiEntryPoints.h"

#define FAKE_EXPORT extern "C" __declspec(dllexport)

FAKE_EXPORT uint32_t __stdcall SONARIX_GetApiVersion(void) { return FAKE_API_VERSION; }
FAKE_EXPORT uint32_t __stdcall SONARIX_CheckApiVersion(uint32_t, uint32_t) {
  return FAKE_CHECK_RESULT;
}

// The binding only takes the others by name and never calls them, so one signature serves all.
// The version-0.0 pair is written out above; the major version picks stub or nothing.
#define FAKE_ENTRY_POINT(name, major, minor) FAKE_STUB_##major(name)
#define FAKE_STUB_0(name)
#define FAKE_STUB_5(name) \
  FAKE_EXPORT uint32_t __stdcall name(void) { return 0xEE000031; }

SONARIX_API_ENTRY_POINTS(FAKE_ENTRY_POINT)
