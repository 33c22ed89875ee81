#pragma once
// Faults to inject: a status that an entry point, or a Get or Set of one property, answers
// instead of doing its work, either until cleared or for a given number of calls. Every
// function expects the state's lock to be held.
#include <cstdint>
#include <string>
#include <vector>

#include "SimLayout.h"
#include "SimStatus.h"

namespace sonarixsim {

// The entry points whose work a fault can replace.
bool IsFaultableEntryPoint(const std::string& name);

// `times` 0 answers until cleared. A second fault for the same target replaces the first.
Status AddEntryPointFault(SharedState& state, const std::string& entryPoint, Status answer,
                          uint32_t times);
Status AddPropertyFault(SharedState& state, RequestCall call, uint32_t property, Status answer,
                        uint32_t times);
void ClearFaults(SharedState& state);
std::vector<FaultRecord> ListFaults(const SharedState& state);
// The entry point a fault replaces, read no further than its field.
std::string FaultEntryPoint(const FaultRecord& fault);

// The status a fault answers for this call, 0 when none applies; counts the call.
Status TakeEntryPointFault(SharedState& state, const char* entryPoint);
Status TakePropertyFault(SharedState& state, RequestCall call, uint32_t property);

}  // namespace sonarixsim
