// Stands in for a running mixer in the single-instance tests: it holds the instance mutex and
// runs the real remote command listener over a plain target window, and records in a file what
// reached that window. Arguments: instance name, "closes" or "stays" (what ID_APP_EXIT does),
// record file.
#include <windows.h>

#include <cstdio>
#include <string>

#include "MixerMessages.h"
#include "RemoteCommandListener.h"
#include "SingleInstance.h"

namespace {

constexpr wchar_t kTargetClass[] = L"MixerTestTarget";
std::wstring g_recordFile;
bool g_closesOnExit = true;

void Record(const char* line) {
  FILE* file = _wfopen(g_recordFile.c_str(), L"ab");
  if (file == nullptr) return;
  std::fputs(line, file);
  std::fputs("\n", file);
  std::fclose(file);
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && wParam == ID_ACTIVATE_MIXER) {
    Record("activate");
    return 0;
  }
  if (message == WM_COMMAND && wParam == ID_APP_EXIT) {
    Record(g_closesOnExit ? "exit" : "ignored");
    if (g_closesOnExit) {
      ::DestroyWindow(window);
      ::PostQuitMessage(kMixerClosedExitCode);
    }
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateTargetWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = TargetProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kTargetClass;
  ::RegisterClassExW(&windowClass);
  return ::CreateWindowExW(0, kTargetClass, L"Mixer stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                           100, nullptr, nullptr, instance, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 4) return 1;
  const std::wstring instanceName = argv[1];
  g_closesOnExit = std::wstring(argv[2]) == L"closes";
  g_recordFile = argv[3];

  const InstanceMutex mutex(instanceName);
  if (!mutex.IsFirstInstance()) return 3;
  const HWND target = CreateTargetWindow(instance);
  RemoteCommandListener listener(instance, target, instanceName);
  if (target == nullptr || listener.StartListening() != ERROR_SUCCESS) return 4;
  Record("ready");

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  listener.StopListening();
  return static_cast<int>(message.wParam);
}
