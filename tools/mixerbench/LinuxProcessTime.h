#pragma once
// The processor time of another process, which Wine's GetProcessTimes does not give: under
// Wine the drive Z: is the Linux root, and /proc has every process's user and system time.
// The benchmark script passes the Linux process ids of the mixer and of the wineserver.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// User plus system time of Linux process `pid` so far in milliseconds; -1 when unknown.
inline double LinuxProcessCpuMilliseconds(unsigned long pid) {
  if (pid == 0) return -1.0;
  const std::string path = "Z:\\proc\\" + std::to_string(pid) + "\\stat";
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return -1.0;
  char text[1024] = {};
  const size_t length = std::fread(text, 1, sizeof text - 1, file);
  std::fclose(file);
  text[length] = '\0';
  // The command name in parentheses may hold spaces: the fields count from its end.
  const char* field = std::strrchr(text, ')');
  if (field == nullptr) return -1.0;
  unsigned long long userTicks = 0, systemTicks = 0;
  if (std::sscanf(field + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu",
                  &userTicks, &systemTicks) != 2) {
    return -1.0;
  }
  constexpr double kMillisecondsPerTick = 10.0;  // Linux reports 100 ticks a second
  return static_cast<double>(userTicks + systemTicks) * kMillisecondsPerTick;
}

// The Linux process id that the environment variable `name` holds; 0 when it is not set.
inline unsigned long LinuxProcessFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::strtoul(value, nullptr, 10) : 0;
}
