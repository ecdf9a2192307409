// The VWIN32 bridge on every host: the registers of each BIOS request, the
// attempts and how the BIOS's answer is judged, against a scripted
// CallVwin32; the device's lifecycle against scripted Win32 calls.
#include <gtest/gtest.h>

#include <array>
#include <deque>

#include "vellonix/physdisk/vwin32.hpp"

namespace vellonix::physdisk {
namespace {

// What the BIOS hands back for one call.
struct BiosAnswer {
  bool Delivered = true;  // false: CallVwin32 itself failed
  std::uint8_t Ah = 0;
  bool Carry = false;
};

class ScriptedChannel : public Vwin32Channel {
 public:
  std::deque<BiosAnswer> Answers;  // the last one repeats
  std::vector<DIOC_REGISTERS> Sent;
  std::vector<std::uint32_t> Codes;

  bool OpenVwin32() override { return true; }
  bool CallVwin32(std::uint32_t controlCode, DIOC_REGISTERS& record) override {
    Codes.push_back(controlCode);
    Sent.push_back(record);
    const BiosAnswer answer = Answers.front();
    if (Answers.size() > 1) Answers.pop_front();
    // The BIOS's registers come back in the record, whatever was sent.
    record = {0xDEAD0001, 0xDEAD0002, 0xDEAD0003, 0xDEAD0000u | std::uint32_t{answer.Ah} << 8, 5, 6,
              answer.Carry ? 0x0203u : 0x0202u};
    return answer.Delivered;
  }
};

std::array<std::uint8_t, 4 * 512> buffer{};

TEST(Vwin32Disk, FillsTheRegistersOfEachRequest) {
  const std::uint32_t address = FlatAddress(buffer.data());
  // A 64-bit build never puts a cut-down address into EBX.
  EXPECT_EQ(address, sizeof(void*) == 4 ? static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(buffer.data())) : 0u);
  const struct {
    const char* Name;
    std::function<bool(Vwin32Disk&)> Request;
    DIOC_REGISTERS Expected;  // EBX, EDX, ECX, EAX
    bool SetsEbx = true;
  } cases[] = {
      {"media type", [](Vwin32Disk& d) { return d.SetMediaType(1, 79, 10); }, {0, 0x0000, 0x4F0A, 0x1800}, false},
      {"read", [](Vwin32Disk& d) { return d.ReadSectors(1, 5, 1, 3, 4, buffer); }, {address, 0x0100, 0x0503, 0x0204}},
      {"write, drive 0", [](Vwin32Disk& d) { return d.WriteSectors(0, 79, 0, 10, 1, buffer); },
       {address, 0x0000, 0x4F0A, 0x0301}},
      {"write, drive 3", [](Vwin32Disk& d) { return d.WriteSectors(3, 0, 1, 1, 2, buffer); },
       {address, 0x0102, 0x0001, 0x0302}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    ScriptedChannel channel;
    channel.Answers = {{true, 0, true}, {true, 0, true}, {true, 0, false}};
    Vwin32Disk disk(channel);
    EXPECT_TRUE(c.Request(disk));
    ASSERT_FALSE(channel.Sent.empty());
    for (std::size_t attempt = 0; attempt < channel.Sent.size(); ++attempt) {
      // Every attempt sends the same registers again, not what came back.
      const DIOC_REGISTERS& sent = channel.Sent[attempt];
      EXPECT_EQ(channel.Codes[attempt], VWIN32_DIOC_DOS_INT13);
      EXPECT_EQ(sent.reg_EAX, c.Expected.reg_EAX) << attempt;
      EXPECT_EQ(sent.reg_ECX, c.Expected.reg_ECX) << attempt;
      EXPECT_EQ(sent.reg_EDX, c.Expected.reg_EDX) << attempt;
      if (c.SetsEbx) {
        EXPECT_EQ(sent.reg_EBX, c.Expected.reg_EBX) << attempt;
      }
    }
  }
}

TEST(Vwin32Disk, MakesUpToThreeAttemptsJudgedByCarryOrStatus) {
  const struct {
    const char* Name;
    bool MediaType;
    std::deque<BiosAnswer> Answers;
    bool Result;
    std::size_t Calls;
  } cases[] = {
      {"carry set, then clear", false, {{true, 0x80, true}, {true, 0, false}}, true, 2},
      {"carry set three times", false, {{true, 0x80, true}}, false, 3},
      {"not delivered, then clear", false, {{false}, {false}, {true, 0, false}}, true, 3},
      {"status set, carry clear", false, {{true, 0x04, false}}, true, 1},
      {"media type: status 0, carry set", true, {{true, 0, true}}, true, 1},
      {"media type: status set, carry clear", true, {{true, 0x0C, false}}, false, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    ScriptedChannel channel;
    channel.Answers = c.Answers;
    Vwin32Disk disk(channel);
    EXPECT_EQ(c.MediaType ? disk.SetMediaType(1, 79, 10) : disk.ReadSectors(1, 0, 0, 1, 4, buffer), c.Result);
    EXPECT_EQ(channel.Sent.size(), c.Calls);
    if (!c.Result) {
      EXPECT_FALSE(disk.LastError().empty());
    }
  }
}

TEST(Vwin32Disk, RefusesARunTheBufferCannotHold) {
  ScriptedChannel channel;
  channel.Answers = {{}};
  Vwin32Disk disk(channel);
  EXPECT_FALSE(disk.ReadSectors(1, 0, 0, 1, 5, buffer));
  EXPECT_FALSE(disk.WriteSectors(1, 0, 0, 1, 0, buffer));
  EXPECT_TRUE(channel.Sent.empty());
}

class ScriptedApi : public Vwin32Api {
 public:
  std::uint32_t Platform = kPlatformWin32Windows;
  std::deque<Win32Handle> Opens{0x44};  // the last one repeats
  int VersionReads = 0;
  int Creates = 0;
  std::vector<Win32Handle> Controls;
  std::vector<Win32Handle> Closes;

  std::uint32_t PlatformId() override {
    ++VersionReads;
    return Platform;
  }
  Win32Handle CreateVwin32() override {
    ++Creates;
    const Win32Handle handle = Opens.front();
    if (Opens.size() > 1) Opens.pop_front();
    return handle;
  }
  bool DeviceIoControl(Win32Handle device, std::uint32_t, DIOC_REGISTERS&) override {
    Controls.push_back(device);
    return true;
  }
  void CloseHandle(Win32Handle device) override { Closes.push_back(device); }
};

TEST(Vwin32, OtherPlatformsFailEveryRequestWithoutOpeningTheDevice) {
  for (const std::uint32_t platform : {0u, 2u}) {  // the version unread, the NT family
    ScriptedApi api;
    api.Platform = platform;
    {
      Vwin32 device(api);
      Vwin32Disk disk(device);
      EXPECT_FALSE(disk.ReadSectors(1, 0, 0, 1, 4, buffer));
      EXPECT_FALSE(disk.SetMediaType(1, 79, 10));
      EXPECT_FALSE(disk.Acquire());
    }
    EXPECT_EQ(api.VersionReads, 1);
    EXPECT_EQ(api.Creates, 0);
    EXPECT_TRUE(api.Controls.empty());
    EXPECT_TRUE(api.Closes.empty());  // the closing request had nothing to close
  }
}

TEST(Vwin32, OpensOnFirstUseRetriesAFailedOpenAndClosesOnceAtTheEnd) {
  ScriptedApi api;
  api.Opens = {kInvalidHandle, 0x44};
  {
    Vwin32 device(api);
    Vwin32Disk disk(device);
    EXPECT_EQ(api.Creates, 0);
    // First attempt: the open fails; the second opens and goes through.
    EXPECT_TRUE(disk.ReadSectors(1, 0, 0, 1, 4, buffer));
    EXPECT_TRUE(disk.ReadSectors(1, 1, 0, 1, 4, buffer));
    EXPECT_EQ(api.Creates, 2);
    EXPECT_EQ(api.Controls, (std::vector<Win32Handle>{0x44, 0x44}));
    EXPECT_TRUE(api.Closes.empty());
  }
  EXPECT_EQ(api.Closes, std::vector<Win32Handle>{0x44});
}

}  // namespace
}  // namespace vellonix::physdisk
