#include "PausedProgram.h"

#include <cstring>
#include <cwctype>

#include "UiProcess.h"

namespace setuptest {
namespace {

constexpr BYTE kBreakpoint = 0xCC;  // int3
// Enough code bytes to tell the function from anything else mapped at its address.
constexpr size_t kCompareBytes = 16;

std::wstring NameOf(const std::wstring& entry) {
  std::wstring name = entry.substr(0, entry.find(L'=', 1));
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
  return name;
}

// This process's environment with `variables` set on top.
std::wstring EnvironmentWith(const std::vector<std::wstring>& variables) {
  std::wstring block;
  wchar_t* own = ::GetEnvironmentStringsW();
  for (const wchar_t* entry = own; entry != nullptr && *entry != L'\0';
       entry += wcslen(entry) + 1) {
    bool replaced = false;
    for (const std::wstring& variable : variables) replaced |= NameOf(variable) == NameOf(entry);
    if (!replaced) block.append(entry).push_back(L'\0');
  }
  if (own != nullptr) ::FreeEnvironmentStringsW(own);
  for (const std::wstring& variable : variables) block.append(variable).push_back(L'\0');
  block.push_back(L'\0');
  return block;
}

bool WriteCodeByte(HANDLE process, BYTE* address, BYTE value) {
  DWORD protection = 0;
  if (!::VirtualProtectEx(process, address, 1, PAGE_EXECUTE_READWRITE, &protection)) return false;
  SIZE_T written = 0;
  const bool done = ::WriteProcessMemory(process, address, &value, 1, &written) && written == 1;
  ::VirtualProtectEx(process, address, 1, protection, &protection);
  ::FlushInstructionCache(process, address, 1);
  return done;
}

}  // namespace

PausedProgram::PausedProgram(const std::wstring& program, const std::wstring& arguments,
                             const std::vector<std::wstring>& variables, const wchar_t* module,
                             const char* function)
    : started_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      paused_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      resume_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  const HMODULE library = ::GetModuleHandleW(module);
  target_ =
      library != nullptr ? reinterpret_cast<BYTE*>(::GetProcAddress(library, function)) : nullptr;
  if (target_ == nullptr) {
    problem_ = std::string("no function ") + function;
    return;
  }
  // The debugger of a program is the thread that started it: the whole debugging runs there.
  debugger_ =
      std::thread(&PausedProgram::Debug, this, uitest::QuoteArgument(program) + L" " + arguments,
                  EnvironmentWith(variables));
  ::WaitForSingleObject(started_.Get(), INFINITE);
}

PausedProgram::~PausedProgram() {
  if (process_.IsValid()) ::TerminateProcess(process_.Get(), uitest::kTerminatedExitCode);
  ::SetEvent(resume_.Get());
  if (debugger_.joinable()) debugger_.join();
}

bool PausedProgram::Plant(HANDLE process) {
  BYTE theirs[kCompareBytes] = {};
  SIZE_T read = 0;
  // Before the library is mapped there, or with something else at that address, nothing is
  // planted: the next library load tries again.
  if (!::ReadProcessMemory(process, target_, theirs, sizeof theirs, &read) ||
      read != sizeof theirs || memcmp(theirs, target_, sizeof theirs) != 0) {
    return false;
  }
  original_ = theirs[0];
  planted_ = WriteCodeByte(process, target_, kBreakpoint);
  return planted_;
}

void PausedProgram::Debug(std::wstring commandLine, std::wstring environment) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE,
                        DEBUG_ONLY_THIS_PROCESS | CREATE_UNICODE_ENVIRONMENT, &environment[0],
                        nullptr, &startup, &info)) {
    problem_ = "cannot start the program: error " + std::to_string(::GetLastError());
    ::SetEvent(started_.Get());
    return;
  }
  process_.Reset(info.hProcess);
  ::CloseHandle(info.hThread);
  processId_ = info.dwProcessId;
  ::SetEvent(started_.Get());

  for (bool running = true; running;) {
    DEBUG_EVENT event = {};
    if (!::WaitForDebugEvent(&event, INFINITE)) return;
    DWORD answer = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        if (event.u.CreateProcessInfo.hFile != nullptr) {
          ::CloseHandle(event.u.CreateProcessInfo.hFile);
        }
        if (!planted_) Plant(process_.Get());
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (event.u.LoadDll.hFile != nullptr) ::CloseHandle(event.u.LoadDll.hFile);
        if (!planted_) Plant(process_.Get());
        break;
      case EXCEPTION_DEBUG_EVENT: {
        const EXCEPTION_RECORD& exception = event.u.Exception.ExceptionRecord;
        if (exception.ExceptionCode != EXCEPTION_BREAKPOINT) {
          answer = DBG_EXCEPTION_NOT_HANDLED;  // the program's own business
        } else if (!planted_) {
          Plant(process_.Get());  // the loader's breakpoint: every library is mapped now
        } else if (exception.ExceptionAddress == target_) {
          // Back to the function's first instruction, as it was, and wait there.
          WriteCodeByte(process_.Get(), target_, original_);
          uitest::UniqueHandle thread(
              ::OpenThread(THREAD_GET_CONTEXT | THREAD_SET_CONTEXT, FALSE, event.dwThreadId));
          CONTEXT context = {};
          context.ContextFlags = CONTEXT_CONTROL;
          if (::GetThreadContext(thread.Get(), &context)) {
#ifdef _WIN64
            context.Rip = reinterpret_cast<DWORD64>(target_);  // the x64 instruction pointer
#else
            context.Eip = reinterpret_cast<DWORD>(target_);
#endif
            ::SetThreadContext(thread.Get(), &context);
          }
          ::SetEvent(paused_.Get());
          ::WaitForSingleObject(resume_.Get(), INFINITE);
        }
        break;
      }
      case EXIT_PROCESS_DEBUG_EVENT:
        running = false;
        break;
      default:
        break;
    }
    ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, answer);
  }
}

bool PausedProgram::WaitUntilPaused(DWORD timeoutMs) {
  if (!process_.IsValid()) return false;
  const HANDLE either[] = {paused_.Get(), process_.Get()};
  return ::WaitForMultipleObjects(2, either, FALSE, timeoutMs) == WAIT_OBJECT_0;
}

void PausedProgram::Resume() { ::SetEvent(resume_.Get()); }

bool PausedProgram::WaitForExit(DWORD timeoutMs) const {
  return process_.IsValid() && ::WaitForSingleObject(process_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

uint32_t PausedProgram::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_.IsValid()) ::GetExitCodeProcess(process_.Get(), &code);
  return code;
}

}  // namespace setuptest
