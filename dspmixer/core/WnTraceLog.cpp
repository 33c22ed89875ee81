#include "WnTraceLog.h"

#include <io.h>
#include <share.h>

#include <algorithm>
#include <cstring>

#include "VTStringConv.h"

// ---- WnTraceLogFile ----

bool WnTraceLogFile::OpenLogFile() {
  CloseLogFile();
  if (path_.empty()) return false;
  // Shared for reading and writing, so that the log can be watched while the program runs.
  veltrano::UniqueFile file(_wfsopen(path_.c_str(), append_ ? L"ab" : L"wb", _SH_DENYNO));
  if (file == nullptr) return false;
  const long length = _filelength(_fileno(file.get()));
  if (length < 0) return false;
  currentSize_ = static_cast<uint32_t>(length);
  file_ = std::move(file);
  return true;
}

bool WnTraceLogFile::Write(const void* data, uint32_t size) {
  if (file_ == nullptr) return false;
  if (fwrite(data, 1, size, file_.get()) != size) return false;
  if (flush_) fflush(file_.get());
  currentSize_ += size;
  if (sizeLimit_ != 0 && currentSize_ >= sizeLimit_) {
    CloseLogFile();
    Rotate();
    OpenLogFile();
  }
  return true;
}

bool WnTraceLogFile::SetPath(const std::wstring& path) {
  if (path.size() > kMaxPathLength) return false;
  path_ = path;
  return true;
}

void WnTraceLogFile::Rotate() const {
  const std::wstring backup = BackupPath();
  // A read-only or hidden old backup would refuse deletion.
  SetFileAttributesW(backup.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(backup.c_str());
  MoveFileW(path_.c_str(), backup.c_str());
}

// ---- WnTraceLogContext ----

namespace {

// Appends `piece` to the zero-terminated text in `buffer`, cut to the room left.
void AppendPiece(char* buffer, size_t size, size_t& used, const char* piece) {
  const size_t room = size - 1 - used;
  const size_t length = std::min(strlen(piece), room);
  memcpy(buffer + used, piece, length);
  used += length;
  buffer[used] = '\0';
}

}  // namespace

WnTraceLogContext::WnTraceLogContext() {
  static const LevelName kNamedLevels[] = {
      {"ERROR", "Error"}, {"WARNING", "Warning"}, {"INFO", "Info"}, {"INFO", "Extended Info"}};
  for (int level = 0; level < kLevelCount; ++level) {
    levelNames_[level] = level < 4 ? kNamedLevels[level] : LevelName{"", ""};
  }
}

WnTraceLogContext::~WnTraceLogContext() {
  validityMark_[0] = '\0';
  file_.CloseLogFile();
}

bool WnTraceLogContext::IsValid() const {
  return memcmp(validityMark_, "BEEF", sizeof validityMark_) == 0;
}

int WnTraceLogContext::FormatPrefix(int level, char* buffer, size_t size) {
  if (buffer == nullptr || size == 0) return 0;
  veltrano::ScopedLock lock(lock_);
  size_t used = 0;
  buffer[0] = '\0';
  char piece[64];
  AppendPiece(buffer, size, used, prefixText_.c_str());
  SYSTEMTIME now;
  GetLocalTime(&now);
  if (showDate_) {
    snprintf(piece, sizeof piece, "%04u-%02u-%02u ", now.wYear, now.wMonth, now.wDay);
    AppendPiece(buffer, size, used, piece);
  }
  if (showTime_) {
    snprintf(piece, sizeof piece, "%02u:%02u:%02u.%03u ", now.wHour, now.wMinute, now.wSecond,
             now.wMilliseconds);
    AppendPiece(buffer, size, used, piece);
  }
  if (showProcessId_) {
    snprintf(piece, sizeof piece, "[%lu] ", GetCurrentProcessId());
    AppendPiece(buffer, size, used, piece);
  }
  if (showThreadId_) {
    snprintf(piece, sizeof piece, "(%lu) ", GetCurrentThreadId());
    AppendPiece(buffer, size, used, piece);
  }
  if (showLevelName_ && level >= 0) {
    AppendPiece(buffer, size, used, level < kLevelCount ? levelNames_[level].upper : "");
    AppendPiece(buffer, size, used, " ");
  }
  return static_cast<int>(used);
}

void WnTraceLogContext::Write(const char* text) {
  if (text == nullptr) return;
  veltrano::ScopedLock lock(lock_);
  if (debuggerOutput_) OutputDebugStringA(text);
  if (fileOutput_) WriteToFile(text);
}

// Files get CR LF line ends; a CR that ended the previous call still counts.
void WnTraceLogContext::WriteToFile(const char* text) {
  char piece[kFilePieceSize];
  size_t used = 0;
  bool lastWasCarriageReturn = file_.LastWasCarriageReturn();
  auto put = [&](char c) {
    if (used == sizeof piece) {
      file_.Write(piece, static_cast<uint32_t>(used));
      used = 0;
    }
    piece[used++] = c;
  };
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c == '\n' && !lastWasCarriageReturn) put('\r');
    put(*c);
    lastWasCarriageReturn = *c == '\r';
  }
  if (used != 0) file_.Write(piece, static_cast<uint32_t>(used));
  file_.SetLastWasCarriageReturn(lastWasCarriageReturn);
}

bool WnTraceLogContext::SetFileOutput(bool on) {
  veltrano::ScopedLock lock(lock_);
  fileOutput_ = on && file_.OpenLogFile();
  if (!fileOutput_) file_.CloseLogFile();
  return fileOutput_ == on;
}

void WnTraceLogContext::SetDebuggerOutput(bool on) {
  veltrano::ScopedLock lock(lock_);
  debuggerOutput_ = on;
}

bool WnTraceLogContext::SetLogFilePath(const std::wstring& path) {
  std::wstring expanded;
  if (veltrano::ExpandEnvironment(expanded, path.c_str()) != 0) return false;
  veltrano::ScopedLock lock(lock_);
  if (!file_.SetPath(expanded)) return false;
  configuredPath_ = path;
  return true;
}

void WnTraceLogContext::SetSizeLimit(uint32_t bytes) {
  veltrano::ScopedLock lock(lock_);
  file_.SetSizeLimit(bytes);
}

void WnTraceLogContext::SetLevel(uint32_t level) {
  veltrano::ScopedLock lock(lock_);
  level_ = level;
}

void WnTraceLogContext::SetPrefixText(const std::string& text) {
  veltrano::ScopedLock lock(lock_);
  prefixText_ = text;
}

void WnTraceLogContext::SetContextName(const std::string& name) {
  veltrano::ScopedLock lock(lock_);
  contextName_ = name;
}

void WnTraceLogContext::SetPrefixFields(bool date, bool time, bool processId, bool threadId,
                                        bool levelName) {
  veltrano::ScopedLock lock(lock_);
  showDate_ = date;
  showTime_ = time;
  showProcessId_ = processId;
  showThreadId_ = threadId;
  showLevelName_ = levelName;
}

// ---- the process-wide instance ----

namespace {
WnTraceLogContext g_traceLog;
}  // namespace

WnTraceLogContext& TraceLog() { return g_traceLog; }
