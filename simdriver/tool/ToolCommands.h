#pragma once
// The control tool's commands over the shared device state, each with its help text.
#include <string>
#include <vector>

#include "SimStateStore.h"

namespace sonarixsim {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;    // bad command or arguments
constexpr int kExitFailed = 2;   // the state refused the operation
constexpr int kExitNoState = 3;  // the state could not be opened

using Arguments = std::vector<std::string>;  // the words after the command's name

struct ToolCommand {
  const char* name;
  const char* synopsis;
  const char* description;
  int (*run)(StateStore& store, const Arguments& arguments);
};

const std::vector<ToolCommand>& ToolCommands();
const ToolCommand* FindToolCommand(const std::string& name);

// Writes "sonarixsim: <message>" and a pointer to the help to the error stream; kExitUsage.
int UsageError(const std::string& message);
// Writes what failed with its status and text to the error stream; kExitFailed.
int OperationFailed(const std::string& what, Status result);

}  // namespace sonarixsim
