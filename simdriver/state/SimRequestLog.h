#pragma once
// The log of every DSP property request: its bytes as the caller sent them (before any
// answer), its size and the status it got. The last kLogEntries requests are kept. Every
// function expects the state's lock to be held.
#include <cstdint>
#include <vector>

#include "SimLayout.h"
#include "SimStatus.h"

namespace sonarixsim {

struct LoggedRequest {
  uint32_t sequence;  // counts from 0 since the last clear
  uint32_t processId;
  uint32_t deviceId;
  RequestCall call;
  Status status;
  uint32_t size;               // as the caller gave it
  std::vector<uint8_t> bytes;  // at most kLogBytesPerEntry of them
};

void AppendRequest(SharedState& state, RequestCall call, uint32_t deviceId, const uint8_t* bytes,
                   uint32_t size, Status result);
// The kept requests, oldest first.
std::vector<LoggedRequest> ReadRequestLog(const SharedState& state);
void ClearRequestLog(SharedState& state);

}  // namespace sonarixsim
