#pragma once
// The setup's record of its steps, in the temporary folder ("SonarixSetup.log"), appended to by
// every run: what it was asked to do, each change it made, each failure with its code.
#include <string>

#include "VTHandles.h"
#include "VTStatus.h"

class SetupLog {
 public:
  // Opens (or creates) the log; a log that cannot be opened is simply not written.
  SetupLog();
  SetupLog(const SetupLog&) = delete;
  SetupLog& operator=(const SetupLog&) = delete;

  void Write(const std::wstring& line);
  // The line and the status as "0x%08X".
  void Write(const std::wstring& line, veltrano::Status status);
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
  veltrano::UniqueHandle file_;
};
