// One device state for every process: the tool, a second client and this test see the same
// devices, and requests from processes running at once are all served and logged.
#include <gtest/gtest.h>

#include <set>

#include "SimDspProtocol.h"
#include "SimHandles.h"
#include "SimTestSupport.h"
#include "UiProcess.h"

namespace {

using simtest::PutNode;
using simtest::PutU32;
using simtest::Request;
using simtest::SimDriverTest;
namespace property = sonarixsim::property;
namespace wirekind = sonarixsim::wirekind;

constexpr unsigned kWritesPerClient = 400;
constexpr DWORD kReadyTimeoutMs = 30000;
constexpr DWORD kClientTimeoutMs = 60000;

}  // namespace

TEST_F(SimDriverTest, DevicePluggedByTheToolIsListedByTheLibrary) {
  const simtest::ToolRun plug = RunTool(L"plug 3,2,2,2,1,1");
  ASSERT_EQ(0u, plug.exitCode) << plug.errors;
  ASSERT_EQ(0u, api_.EnumerateDevices());
  EXPECT_EQ(1u, api_.GetDeviceCount());
}

TEST_F(SimDriverTest, WeightWrittenThroughTheLibraryIsReadByTheTool) {
  Plug({2, 2, 2, 2, 1, 1});
  const uint32_t handle = OpenFirstDevice();
  std::vector<uint8_t> request = Request(property::kNodeWeight, 16);
  PutNode(request, 8, wirekind::kDeviceInput, 1, wirekind::kDeviceOutput, 0);
  PutU32(request, 12, 0x00C00000);
  ASSERT_EQ(0u, api_.SetDspProperty(handle, request.data(), 16));
  const simtest::ToolRun node = RunTool(L"node 1 DeviceInput:1 DeviceOutput:0");
  ASSERT_EQ(0u, node.exitCode) << node.errors;
  EXPECT_NE(std::string::npos, node.output.find("0x00C00000 (75%)")) << node.output;
}

TEST_F(SimDriverTest, RequestsOfTwoProcessesAtOnceAreAllServedAndLogged) {
  Plug({2, 2, 2, 2, 1, 1});
  // Both clients open the device, then start writing at the same signal.
  const std::wstring readyName = stateName_ + L".ready";
  const std::wstring startName = stateName_ + L".start";
  sonarixsim::UniqueHandle ready(CreateSemaphoreW(nullptr, 0, 2, readyName.c_str()));
  sonarixsim::UniqueHandle start(CreateEventW(nullptr, TRUE, FALSE, startName.c_str()));
  ASSERT_TRUE(ready.IsValid() && start.IsValid());
  const std::wstring arguments = uitest::JoinArguments(
      {simtest::LibraryPath(), std::to_wstring(kWritesPerClient), readyName, startName});
  uitest::Process first;
  uitest::Process second;
  ASSERT_EQ(0u, first.Start(simtest::ClientPath(), arguments));
  ASSERT_EQ(0u, second.Start(simtest::ClientPath(), arguments));
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready.Get(), kReadyTimeoutMs));
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready.Get(), kReadyTimeoutMs));
  SetEvent(start.Get());
  ASSERT_TRUE(first.WaitForExit(kClientTimeoutMs));
  ASSERT_TRUE(second.WaitForExit(kClientTimeoutMs));
  EXPECT_EQ(0u, first.ExitCode());
  EXPECT_EQ(0u, second.ExitCode());

  uint32_t logged = 0;
  WithState([&](sonarixsim::SharedState& state) {
    logged = state.logCount;
    return 0u;
  });
  EXPECT_EQ(2 * kWritesPerClient, logged) << "no request was lost between the processes";
  const auto log = RequestLog();
  std::set<uint32_t> processes;
  for (size_t i = 0; i < log.size(); ++i) {
    processes.insert(log[i].processId);
    if (i > 0) {
      EXPECT_EQ(log[i - 1].sequence + 1, log[i].sequence);
    }
  }
  // The log keeps the last requests only; they come from the two clients.
  const std::set<uint32_t> clients = {first.Id(), second.Id()};
  for (uint32_t process : processes) EXPECT_EQ(1u, clients.count(process)) << process;
}
