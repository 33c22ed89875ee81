#pragma once
// The mixer's trace facility: trace lines go to an attached debugger and, when switched on, to a
// size-limited log file that rotates to a backup. The mixer issues no trace calls itself, so
// with the defaults nothing is ever written to a file.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "VTHandles.h"

// The log file: appends by default, flushes every write, and moves itself to
// path + ".bak" once the size limit is reached.
class WnTraceLogFile {
 public:
  static constexpr size_t kMaxPathLength = MAX_PATH - 1;

  // False (and the file closed) when the path is not set or the file cannot be opened.
  bool OpenLogFile();
  void CloseLogFile() { file_.reset(); }
  // False when no file is open or the write is short.
  virtual bool Write(const void* data, uint32_t size);

  // False when the path does not fit MAX_PATH.
  bool SetPath(const std::wstring& path);
  void SetSizeLimit(uint32_t bytes) { sizeLimit_ = bytes; }
  void SetAppend(bool append) { append_ = append; }
  void SetFlush(bool flush) { flush_ = flush; }

  const std::wstring& Path() const { return path_; }
  std::wstring BackupPath() const { return path_ + backupSuffix_; }
  bool IsOpen() const { return file_ != nullptr; }
  uint32_t CurrentSize() const { return currentSize_; }
  bool LastWasCarriageReturn() const { return lastWasCarriageReturn_; }
  void SetLastWasCarriageReturn(bool value) { lastWasCarriageReturn_ = value; }

 private:
  void Rotate() const;

  veltrano::UniqueFile file_;
  std::wstring path_;
  std::wstring backupSuffix_ = L".bak";
  uint32_t currentSize_ = 0;
  uint32_t sizeLimit_ = 0;  // 0: no limit
  bool lastWasCarriageReturn_ = false;
  bool append_ = true;
  bool flush_ = true;
};

// The process-wide trace context: output switches, line prefix settings and the level names.
class WnTraceLogContext {
 public:
  static constexpr int kLevelCount = 32;
  static constexpr size_t kFilePieceSize = 512;

  WnTraceLogContext();
  virtual ~WnTraceLogContext();
  WnTraceLogContext(const WnTraceLogContext&) = delete;
  WnTraceLogContext& operator=(const WnTraceLogContext&) = delete;

  virtual void Write(const char* text);
  // Writes the line prefix into `buffer` (always terminated when `size` > 0), each piece cut
  // to the room left; returns its length.
  virtual int FormatPrefix(int level, char* buffer, size_t size);

  // Still constructed and not yet destroyed.
  bool IsValid() const;

  // Switching file output on opens the file; false (and output off) when it cannot be opened.
  bool SetFileOutput(bool on);
  void SetDebuggerOutput(bool on);
  // Environment variables in `path` are expanded. False when the result does not fit.
  bool SetLogFilePath(const std::wstring& path);
  void SetSizeLimit(uint32_t bytes);
  void SetLevel(uint32_t level);
  void SetPrefixText(const std::string& text);
  void SetContextName(const std::string& name);
  void SetPrefixFields(bool date, bool time, bool processId, bool threadId, bool levelName);

  uint32_t Level() const { return level_; }
  const std::string& ContextName() const { return contextName_; }
  const WnTraceLogFile& LogFile() const { return file_; }

 private:
  struct LevelName {
    const char* upper;
    const char* mixed;
  };

  void WriteToFile(const char* text);

  char validityMark_[4] = {'B', 'E', 'E', 'F'};
  uint32_t level_ = 7;  // the highest level a caller would trace
  WnTraceLogFile file_;
  std::wstring configuredPath_;  // as given, before expansion
  bool fileOutput_ = false;
  bool debuggerOutput_ = true;
  std::string prefixText_;
  std::string contextName_ = "default";
  bool showDate_ = false;
  bool showTime_ = false;
  bool showProcessId_ = false;
  bool showThreadId_ = true;
  bool showLevelName_ = true;
  veltrano::CriticalSection lock_;
  LevelName levelNames_[kLevelCount];
};

// The one trace context of the process, built before the entry function runs.
WnTraceLogContext& TraceLog();
