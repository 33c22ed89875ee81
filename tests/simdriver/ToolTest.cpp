// The control tool as a user runs it: its help, its answers, its exit codes.
#include <gtest/gtest.h>

#include "SimDspProtocol.h"
#include "SimTestSupport.h"
#include "ToolCommands.h"

namespace {

using simtest::Request;
using simtest::SimDriverTest;
using simtest::ToolRun;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST_F(SimDriverTest, ToolHelpDocumentsEveryCommand) {
  const ToolRun help = RunTool(L"help");
  EXPECT_EQ(0u, help.exitCode);
  for (const sonarixsim::ToolCommand& command : sonarixsim::ToolCommands()) {
    EXPECT_TRUE(Contains(help.output, std::string("  ") + command.synopsis)) << command.name;
  }
  EXPECT_TRUE(Contains(help.output, "SONARIX_SIM_STATE"));
}

TEST_F(SimDriverTest, ToolWithoutCommandShowsHelpAndFails) {
  const ToolRun run = RunTool(L"");
  EXPECT_EQ(static_cast<uint32_t>(sonarixsim::kExitUsage), run.exitCode);
  EXPECT_TRUE(Contains(run.output, "Usage:"));
}

TEST_F(SimDriverTest, ToolNamesAnUnknownCommand) {
  const ToolRun run = RunTool(L"frobnicate");
  EXPECT_EQ(static_cast<uint32_t>(sonarixsim::kExitUsage), run.exitCode);
  EXPECT_TRUE(Contains(run.errors, "unknown command \"frobnicate\"")) << run.errors;
}

TEST_F(SimDriverTest, ToolRefusesMalformedArgumentsWithAUsageError) {
  const struct {
    const wchar_t* arguments;
    const char* message;
  } cases[] = {
      {L"node 1 Nowhere:0 DeviceOutput:0", "invalid input channel \"Nowhere:0\""},
      {L"node 1 AppPlayback:0 DeviceInput:0", "invalid output channel \"DeviceInput:0\""},
      {L"plug 1,2,3", "invalid counts \"1,2,3\""},
      {L"plug 2,2,2,2,1,33", "invalid counts"},
      {L"plug --layout", "--layout needs a value"},
      {L"unplug", "wrong number of arguments for \"unplug\""},
      {L"unplug zero", "invalid device id \"zero\""},
      {L"gain 1 DeviceOutput:0 lots", "invalid gain \"lots\""},
      {L"fault SONARIX_GetApiVersion 5", "not an entry point that a fault can replace"},
      {L"fault get 42 0", "invalid status \"0\""},
      {L"fault set 200 0xEE000001 --times 0", "invalid --times \"0\""},
      {L"--state bad/name list", "invalid state name \"bad/name\""},
  };
  for (const auto& c : cases) {
    const ToolRun run = RunTool(c.arguments);
    EXPECT_EQ(static_cast<uint32_t>(sonarixsim::kExitUsage), run.exitCode) << run.errors;
    EXPECT_TRUE(Contains(run.errors, c.message)) << run.errors;
  }
}

TEST_F(SimDriverTest, ToolReportsARefusedOperationWithItsStatus) {
  const ToolRun run = RunTool(L"unplug 7");
  EXPECT_EQ(static_cast<uint32_t>(sonarixsim::kExitFailed), run.exitCode);
  EXPECT_TRUE(Contains(run.errors, "unplug failed: 0xEE000043 (no such device)")) << run.errors;
}

TEST_F(SimDriverTest, ToolPlugsAndListsDevicesInListOrder) {
  const ToolRun first = RunTool(L"plug 2,2,2,2,1,1");
  EXPECT_EQ(0u, first.exitCode);
  EXPECT_TRUE(Contains(first.output, "device 1 plugged in")) << first.output;
  EXPECT_EQ(0u, RunTool(L"plug 8,8,8,8,4,4 --layout 3").exitCode);
  EXPECT_EQ(0u, RunTool(L"unplug 1").exitCode);
  const ToolRun list = RunTool(L"list");
  EXPECT_EQ(0u, list.exitCode);
  EXPECT_TRUE(Contains(list.output, "device 2: index 0, counts 8,8,8,8,4,4, layout 3"))
      << list.output;
  EXPECT_TRUE(Contains(list.output, "device 1: unplugged, counts 2,2,2,2,1,1")) << list.output;
}

TEST_F(SimDriverTest, ToolSetsANodeWeightThatTheLibraryReads) {
  Plug({2, 2, 2, 2, 1, 1});
  const ToolRun set = RunTool(L"node 1 AppPlaybackVirt:0 AppRecording:1 25%");
  ASSERT_EQ(0u, set.exitCode) << set.errors;
  const uint32_t handle = OpenFirstDevice();
  std::vector<uint8_t> request = Request(sonarixsim::property::kNodeWeight, 16);
  simtest::PutNode(request, 8, sonarixsim::wirekind::kAppPlaybackVirt, 0,
                   sonarixsim::wirekind::kAppRecording, 1);
  ASSERT_EQ(0u, api_.GetDspProperty(handle, request.data(), 16));
  EXPECT_EQ(0x00400000u, simtest::U32At(request, 12));
}

TEST_F(SimDriverTest, ToolDumpsTheRequestLogBytes) {
  Plug({2, 2, 2, 2, 1, 1});
  const uint32_t handle = OpenFirstDevice();
  std::vector<uint8_t> request = Request(sonarixsim::property::kMixerInfo, 16);
  ASSERT_EQ(0u, api_.GetDspProperty(handle, request.data(), 16));
  const ToolRun log = RunTool(L"log");
  EXPECT_EQ(0u, log.exitCode);
  EXPECT_TRUE(Contains(log.output,
                       "device 1 Get size 16 status 0x00000000: "
                       "4D 00 00 00 2A 00 00 00 00 00 00 00 00 00 00 00"))
      << log.output;
}

TEST_F(SimDriverTest, ToolResetLeavesOneDefaultDeviceOrNone) {
  EXPECT_EQ(0u, RunTool(L"reset").exitCode);
  ASSERT_EQ(0u, api_.EnumerateDevices());
  EXPECT_EQ(1u, api_.GetDeviceCount());
  EXPECT_EQ(0u, RunTool(L"reset --empty").exitCode);
  ASSERT_EQ(0u, api_.EnumerateDevices());
  EXPECT_EQ(0u, api_.GetDeviceCount());
}
