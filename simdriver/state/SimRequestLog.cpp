#include "SimRequestLog.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace sonarixsim {

void AppendRequest(SharedState& state, RequestCall call, uint32_t deviceId, const uint8_t* bytes,
                   uint32_t size, Status result) {
  LogRecord& record = state.log[state.logCount % kLogEntries];
  record.sequence = state.logCount++;
  record.processId = GetCurrentProcessId();
  record.deviceId = deviceId;
  record.call = call;
  record.status = result;
  record.size = size;
  record.kept = bytes == nullptr ? 0 : std::min(size, kLogBytesPerEntry);
  if (record.kept != 0) std::memcpy(record.bytes, bytes, record.kept);
}

std::vector<LoggedRequest> ReadRequestLog(const SharedState& state) {
  const uint32_t kept = std::min(state.logCount, kLogEntries);
  std::vector<LoggedRequest> requests;
  requests.reserve(kept);
  for (uint32_t sequence = state.logCount - kept; sequence < state.logCount; ++sequence) {
    const LogRecord& record = state.log[sequence % kLogEntries];
    const uint32_t stored = std::min(record.kept, kLogBytesPerEntry);
    requests.push_back({record.sequence, record.processId, record.deviceId, record.call,
                        record.status, record.size,
                        std::vector<uint8_t>(record.bytes, record.bytes + stored)});
  }
  return requests;
}

void ClearRequestLog(SharedState& state) {
  state.logCount = 0;
  std::memset(state.log, 0, sizeof(state.log));
}

}  // namespace sonarixsim
