// sonarixsim: the console tool over the simulated devices that sonarixapi.dll serves.
#include <windows.h>

#include <cstdio>
#include <string>

#include "SimStateStore.h"
#include "ToolCommands.h"
#include "VTStringConv.h"

namespace {

using namespace sonarixsim;

void PrintHelp() {
  std::printf(
      "sonarixsim: controls the simulated devices of the driver API library sonarixapi.dll\n"
      "\n"
      "Usage: sonarixsim [--state NAME] COMMAND [ARGUMENTS]\n"
      "\n"
      "Every program that loads the library on this machine sees the same devices. They\n"
      "belong to a named state: --state NAME, else the environment variable\n"
      "SONARIX_SIM_STATE, else \"Default\" (letters, digits, '.', '_', '-'; at most 64). The\n"
      "state lives in the file NAME.v1.state in the folder SONARIX_SIM_STATE_DIR, else\n"
      "%%ProgramData%%\\SonarixSim, and keeps its devices between runs.\n"
      "\n"
      "Exit codes: 0 done, 1 bad command or arguments, 2 the operation failed (its status is\n"
      "shown), 3 the state cannot be opened.\n"
      "\n"
      "Commands:\n"
      "  help\n"
      "      Shows this text.\n");
  for (const ToolCommand& command : ToolCommands()) {
    std::printf("  %s\n", command.synopsis);
    std::string description = command.description;
    size_t start = 0;
    while (start < description.size()) {
      const size_t end = description.find('\n', start);
      std::printf("      %s\n", description.substr(start, end - start).c_str());
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
}

int Run(Arguments arguments) {
  std::wstring stateName = StateNameFromEnvironment();
  if (!arguments.empty() && arguments[0] == "--state") {
    if (arguments.size() < 2) return UsageError("--state needs a name");
    stateName = veltrano::Utf8ToWide(arguments[1].c_str());
    arguments.erase(arguments.begin(), arguments.begin() + 2);
  }
  if (arguments.empty()) {
    PrintHelp();
    return kExitUsage;
  }
  const std::string name = arguments[0];
  arguments.erase(arguments.begin());
  if (name == "help" || name == "--help" || name == "-h" || name == "/?") {
    PrintHelp();
    return kExitOk;
  }
  const ToolCommand* command = FindToolCommand(name);
  if (command == nullptr) return UsageError("unknown command \"" + name + "\"");
  if (!IsValidStateName(stateName)) {
    return UsageError("invalid state name \"" + veltrano::WideToUtf8(stateName.c_str()) + "\"");
  }
  StateStore store;
  const Status opened = store.Open(stateName);
  if (opened != status::kOk) {
    std::fprintf(stderr, "sonarixsim: the state \"%s\" cannot be opened: 0x%08X\n",
                 veltrano::WideToUtf8(stateName.c_str()).c_str(), static_cast<unsigned>(opened));
    return kExitNoState;
  }
  return command->run(store, arguments);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Arguments arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(veltrano::WideToUtf8(argv[i]));
  const int exitCode = Run(arguments);
  std::fflush(stdout);
  return exitCode;
}
