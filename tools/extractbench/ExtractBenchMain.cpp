// extractbench PACKAGE TARGET: runs the extraction task over PACKAGE into TARGET and prints
// the status and the elapsed milliseconds ("elapsed_ms=1234"), so that a script can compare
// it with other extractors. The exit code is 0 only when the extraction succeeded.
#include <windows.h>

#include <cstdio>

#include "ExtractFiles.h"

namespace {

double MillisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: extractbench PACKAGE TARGET\n");
    return 2;
  }
  ExtractFiles task;
  task.sourcePath = argv[1];
  task.targetFolder = argv[2];
  uint32_t exitValue = 0;

  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  const Status status = task.Run(&exitValue);
  const double elapsed = MillisecondsSince(start);

  std::printf("status=0x%08X\nelapsed_ms=%.0f\n", static_cast<unsigned>(status), elapsed);
  return status == 0 ? 0 : 1;
}
