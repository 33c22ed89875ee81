// A state file lies in a folder the user can write: a damaged or hostile one is reset to the
// default device when it is opened, and values changed after the open never make the library
// address past its tables.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <functional>
#include <ostream>
#include <random>

#include "SimDspProtocol.h"
#include "SimFaults.h"
#include "SimTestSupport.h"

namespace {

using simtest::PutNode;
using simtest::Request;
using simtest::SimDriverTest;
using simtest::U32At;
using sonarixsim::FaultTarget;
using sonarixsim::RequestCall;
using sonarixsim::SharedState;
namespace property = sonarixsim::property;
namespace status = sonarixsim::status;
namespace wirekind = sonarixsim::wirekind;

constexpr sonarixsim::FamilyCounts kSmallCounts = {2, 2, 2, 2, 1, 1};

SharedState& StateIn(std::string& bytes) { return *reinterpret_cast<SharedState*>(&bytes[0]); }

// A sound state unlike a reset one: two small devices, a fault that refuses every open and one
// logged request. Trusted, it lists two devices and no device opens.
std::string SoundStateBytes() {
  std::string bytes(sizeof(SharedState), '\0');
  SharedState& state = StateIn(bytes);
  sonarixsim::ResetState(state, false);
  const sonarixsim::ChannelCounts counts = sonarixsim::CountsFromFamilyOrder(kSmallCounts);
  uint32_t id = 0;
  sonarixsim::PlugDevice(state, counts, sonarixsim::kMixerLayoutVersion, id);
  sonarixsim::PlugDevice(state, counts, sonarixsim::kMixerLayoutVersion, id);
  sonarixsim::AddEntryPointFault(state, "SONARIX_OpenDeviceByIndex", status::kDeviceRemoved, 0);
  const std::vector<uint8_t> request = Request(property::kChannelCountDeviceOutput, 12);
  sonarixsim::AppendRequest(state, RequestCall::Get, 1, request.data(), 12, status::kOk);
  return bytes;
}

struct Damage {
  const char* name;
  std::function<void(std::string& bytes)> apply;
};

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.name; }

std::function<void(std::string&)> InState(void (*edit)(SharedState&)) {
  return [edit](std::string& bytes) { edit(StateIn(bytes)); };
}

void FillRandom(std::string& bytes) {
  std::mt19937 random(20261215);
  for (char& byte : bytes) byte = static_cast<char>(random());
}

const Damage kDamages[] = {
    {"ChannelCountOf33",
     InState([](SharedState& s) { s.devices[0].counts.outputs[wirekind::kDeviceOutput] = 33; })},
    {"ChannelCountNearTheTop",
     InState([](SharedState& s) { s.devices[1].counts.inputs[wirekind::kAppPlayback] = ~0u; })},
    {"ConnectedFlagOf2", InState([](SharedState& s) { s.devices[0].connected = 2; })},
    {"MeterSwitchOf7", InState([](SharedState& s) { s.devices[0].metersRunning = 7; })},
    {"MetersOnWhileUnplugged", InState([](SharedState& s) {
       s.devices[1].connected = 0;
       s.devices[1].metersRunning = 1;
     })},
    {"DuplicateDeviceIds", InState([](SharedState& s) { s.devices[1].id = s.devices[0].id; })},
    {"IdNotBelowTheNextId", InState([](SharedState& s) { s.nextDeviceId = s.devices[1].id; })},
    {"DuplicateConnections",
     InState([](SharedState& s) { s.devices[1].connection = s.devices[0].connection; })},
    {"ConnectionNotBelowTheNext",
     InState([](SharedState& s) { s.nextConnection = s.devices[1].connection; })},
    {"ConnectionZero", InState([](SharedState& s) { s.devices[0].connection = 0; })},
    {"StateSizeField", InState([](SharedState& s) { s.stateSize -= 4; })},
    {"OtherLayoutVersion", InState([](SharedState& s) { s.layoutVersion += 1; })},
    {"FaultTarget99",
     InState([](SharedState& s) { s.faults[0].target = static_cast<FaultTarget>(99); })},
    {"EntryPointWithoutTerminator", InState([](SharedState& s) {
       std::memset(s.faults[0].entryPoint, 'A', sizeof(s.faults[0].entryPoint));
     })},
    {"EntryPointNotFaultable",
     InState([](SharedState& s) { std::strcpy(s.faults[0].entryPoint, "SONARIX_CloseDevice"); })},
    {"FaultAnsweringSuccess", InState([](SharedState& s) { s.faults[0].status = status::kOk; })},
    {"PropertyFaultWithAName",
     InState([](SharedState& s) { s.faults[0].target = FaultTarget::GetProperty; })},
    {"LogCallOf7", InState([](SharedState& s) { s.log[0].call = static_cast<RequestCall>(7); })},
    {"LogKeptBeyondItsEntry", InState([](SharedState& s) {
       s.log[0].size = 100000;
       s.log[0].kept = sonarixsim::kLogBytesPerEntry + 1;
     })},
    {"LogKeptBeyondItsSize", InState([](SharedState& s) { s.log[0].kept = s.log[0].size + 1; })},
    {"LogSequenceOutOfPlace", InState([](SharedState& s) { s.log[0].sequence = 5; })},
    {"LogCountPastTheWrittenEntries", InState([](SharedState& s) { s.logCount = 2; })},
    // Cut inside the log: zeros padding the rest would pass for a state.
    {"TruncatedFile",
     [](std::string& bytes) {
       bytes.resize(offsetof(SharedState, log) + sizeof(sonarixsim::LogRecord) / 2);
     }},
    {"LongerFile", [](std::string& bytes) { bytes.append(4096, '\x5A'); }},
    {"EmptyFile", [](std::string& bytes) { bytes.clear(); }},
    {"RandomBytes", FillRandom},
};

class DamagedStateTest : public SimDriverTest, public ::testing::WithParamInterface<Damage> {
 protected:
  // Writes the state file while no process maps it, so that the next open reads the file.
  void WriteDamagedState() {
    store_.reset();
    std::string bytes = SoundStateBytes();
    GetParam().apply(bytes);
    ASSERT_TRUE(uitest::WriteFileBytes(sonarixsim::StateFilePath(stateName_), bytes));
  }

  void ReopenStore() {
    store_ = std::make_unique<sonarixsim::StateStore>();
    ASSERT_EQ(0u, store_->Open(stateName_));
  }

  uint32_t GetU32(uint32_t handle, std::vector<uint8_t> request, size_t answerOffset) {
    EXPECT_EQ(0u,
              api_.GetDspProperty(handle, request.data(), static_cast<uint32_t>(request.size())));
    return U32At(request, answerOffset);
  }
};

uint64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

}  // namespace

TEST_P(DamagedStateTest, OpensAsTheDefaultDevice) {
  WriteDamagedState();
  ASSERT_EQ(0u, api_.EnumerateDevices());
  ASSERT_EQ(1u, api_.GetDeviceCount());
  uint32_t handle = 0;
  ASSERT_EQ(0u, api_.OpenDeviceByIndex(0, &handle)) << "the stored fault is gone";
  EXPECT_EQ(4u, GetU32(handle, Request(property::kChannelCountDeviceOutput, 12), 8));
  EXPECT_EQ(sonarixsim::kMixerLayoutVersion, GetU32(handle, Request(property::kMixerInfo, 16), 8));
  std::vector<uint8_t> node = Request(property::kNodeWeight, 16);
  PutNode(node, 8, wirekind::kAppPlayback, 3, wirekind::kDeviceOutput, 3);
  EXPECT_EQ(sonarixsim::kUnityWeight, GetU32(handle, node, 12));

  ReopenStore();
  const auto log = RequestLog();
  ASSERT_EQ(3u, log.size()) << "only this test's requests";
  EXPECT_EQ(0u, log[0].sequence);
  std::vector<sonarixsim::FaultRecord> faults;
  WithState([&](SharedState& state) {
    faults = sonarixsim::ListFaults(state);
    return status::kOk;
  });
  EXPECT_TRUE(faults.empty());
  EXPECT_EQ(sizeof(SharedState), FileSize(sonarixsim::StateFilePath(stateName_)));
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedStateTest, ::testing::ValuesIn(kDamages),
                         [](const ::testing::TestParamInfo<Damage>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(SimDriverTest, SoundStateFileIsKeptWhenOpened) {
  store_.reset();
  ASSERT_TRUE(uitest::WriteFileBytes(sonarixsim::StateFilePath(stateName_), SoundStateBytes()));
  ASSERT_EQ(0u, api_.EnumerateDevices());
  EXPECT_EQ(2u, api_.GetDeviceCount());
  uint32_t handle = 0;
  EXPECT_EQ(status::kDeviceRemoved, api_.OpenDeviceByIndex(0, &handle)) << "its fault holds";
}

TEST_F(SimDriverTest, ToolOpeningADamagedStateListsTheDefaultDevice) {
  store_.reset();
  std::string bytes = SoundStateBytes();
  StateIn(bytes).devices[0].counts.outputs[wirekind::kDeviceOutput] = 33;
  ASSERT_TRUE(uitest::WriteFileBytes(sonarixsim::StateFilePath(stateName_), bytes));
  const simtest::ToolRun list = RunTool(L"list");
  ASSERT_EQ(0u, list.exitCode) << list.errors;
  EXPECT_NE(std::string::npos,
            list.output.find("device 1: index 0, counts 4,4,4,4,2,2, layout 2, meters off"))
      << list.output;
  EXPECT_EQ(std::string::npos, list.output.find("device 2")) << list.output;
}

TEST_F(SimDriverTest, CountsRaisedAfterTheOpenNeverReachPastTheTables) {
  Plug(kSmallCounts);
  const uint32_t handle = OpenFirstDevice();
  WithState([](SharedState& state) {
    state.devices[0].counts.inputs[wirekind::kAppPlayback] = 200;
    state.devices[0].counts.outputs[wirekind::kDeviceOutput] = ~0u;
    return status::kOk;
  });
  std::vector<uint8_t> node = Request(property::kNodeWeight, 16);
  PutNode(node, 8, wirekind::kAppPlayback, 31, wirekind::kDeviceOutput, 31);
  EXPECT_EQ(0u, api_.GetDspProperty(handle, node.data(), 16));
  EXPECT_EQ(sonarixsim::kUnityWeight, U32At(node, 12));
  PutNode(node, 8, wirekind::kAppPlayback, 32, wirekind::kDeviceOutput, 0);
  EXPECT_EQ(status::kInvalidChannel, api_.GetDspProperty(handle, node.data(), 16));
  std::vector<uint8_t> gain = Request(property::kOutputGain, 14);
  gain[8] = wirekind::kDeviceOutput;
  gain[9] = 40;
  EXPECT_EQ(status::kInvalidChannel, api_.GetDspProperty(handle, gain.data(), 14));
}

TEST_F(SimDriverTest, LoggedBytesRaisedAfterTheOpenAreReadNoFurtherThanTheirEntry) {
  Plug(kSmallCounts);
  const uint32_t handle = OpenFirstDevice();
  std::vector<uint8_t> request = Request(property::kChannelCountDeviceOutput, 12);
  ASSERT_EQ(0u, api_.GetDspProperty(handle, request.data(), 12));
  WithState([](SharedState& state) {
    state.log[0].kept = ~0u;
    return status::kOk;
  });
  const auto log = RequestLog();
  ASSERT_EQ(1u, log.size());
  EXPECT_EQ(sonarixsim::kLogBytesPerEntry, log[0].bytes.size());
}

TEST(FaultEntryPoint, NameWithoutTerminatorIsReadNoFurtherThanItsField) {
  sonarixsim::FaultRecord fault = {};
  fault.target = FaultTarget::EntryPoint;
  std::memset(fault.entryPoint, 'A', sizeof(fault.entryPoint));
  EXPECT_EQ(std::string(sonarixsim::kEntryPointNameSize, 'A'), sonarixsim::FaultEntryPoint(fault));
  std::strcpy(fault.entryPoint, "SONARIX_EnumerateDevices");
  EXPECT_EQ("SONARIX_EnumerateDevices", sonarixsim::FaultEntryPoint(fault));
}
