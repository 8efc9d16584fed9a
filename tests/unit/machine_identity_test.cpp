#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>

#include "platform/core/probes/adapters.h"
#include "stats/MachineIdentity.h"
#include "stats/UsageReporter.h"

namespace {

using glider::core::probes::AdapterRecord;
using Identify = std::array<BYTE, 512>;

// IDENTIFY data whose serial words hold `serial` in reading order (high byte of each word first).
Identify IdentifyWithSerial(const std::string& serial, char model = 'M') {
  Identify data{};
  std::string padded = serial;
  padded.resize(20, ' ');
  for (int i = 0; i < 10; ++i) {
    data[20 + 2 * i + 1] = static_cast<BYTE>(padded[2 * i]);
    data[20 + 2 * i] = static_cast<BYTE>(padded[2 * i + 1]);
  }
  data[54] = static_cast<BYTE>(model);
  return data;
}

std::wstring AtaText(const Identify& data) {
  wchar_t out[kDiskSerialChars];
  AtaSerialText(data.data(), out);
  return out;
}

std::wstring HexText(const std::string& text) {
  wchar_t out[kDiskSerialChars];
  HexPairText(text, out);
  return out;
}

class FakeMachineProbe : public MachineProbe {
 public:
  DWORD_PTR processMask = 3, systemMask = 3, currentMask = 3, maskAtCpuid = 0;
  DWORD regs[4] = {0x000306C3, 0x01100800, 0x7FFAFBFF, 0xBFEBFBFF};
  int cpuidCalls = 0;
  DWORD platform = VER_PLATFORM_WIN32_NT, major = 10;
  std::map<int, Identify> smart;
  std::map<std::pair<int, int>, Identify> miniport;
  std::map<int, std::string> storage, media;
  int smartCalls = 0, miniportCalls = 0, storageCalls = 0;
  std::vector<AdapterRecord> adapters;
  std::map<std::wstring, std::wstring> pnpIds;  // by adapter name
  std::map<std::wstring, DWORD> mediaSubTypes;

  bool GetAffinityMasks(DWORD_PTR* process, DWORD_PTR* system) override {
    *process = processMask;
    *system = systemMask;
    return true;
  }
  bool SetAffinityMask(DWORD_PTR mask) override {
    currentMask = mask;
    return true;
  }
  void YieldTimeSlice() override {}
  void Cpuid(DWORD leaf, DWORD out[4]) override {
    ++cpuidCalls;
    maskAtCpuid = currentMask;
    std::memcpy(out, regs, sizeof regs);
  }
  bool GetVersion(OSVERSIONINFOW* info) override {
    info->dwPlatformId = platform;
    info->dwMajorVersion = major;
    return true;
  }
  bool SmartIdentify(int drive, BYTE identify[512]) override {
    ++smartCalls;
    return Copy(smart.find(drive), smart.end(), identify);
  }
  bool MiniportIdentify(int port, int drive, BYTE identify[512]) override {
    ++miniportCalls;
    return Copy(miniport.find({port, drive}), miniport.end(), identify);
  }
  bool StorageSerial(int drive, std::string* text) override {
    ++storageCalls;
    return Find(storage, drive, text);
  }
  bool MediaSerial(int drive, std::string* text) override { return Find(media, drive, text); }
  ULONG GetAdaptersInfo(PIP_ADAPTER_INFO info, PULONG size) override {
    return glider::core::probes::FillAdapterInfo(adapters, info, size);
  }
  bool ReadMachineString(const std::wstring& key, const std::wstring& value, std::wstring* text) override {
    auto it = pnpIds.find(AdapterOf(key));
    if (value != L"PnpInstanceID" || it == pnpIds.end()) return false;
    *text = it->second;
    return true;
  }
  bool ReadMachineDword(const std::wstring& key, const std::wstring& value, DWORD* out) override {
    auto it = mediaSubTypes.find(AdapterOf(key));
    if (value != L"MediaSubType" || it == mediaSubTypes.end()) return false;
    *out = it->second;
    return true;
  }

 private:
  template <typename It>
  static bool Copy(It it, It end, BYTE* out) {
    if (it == end) return false;
    std::memcpy(out, it->second.data(), 512);
    return true;
  }
  static bool Find(const std::map<int, std::string>& m, int drive, std::string* text) {
    auto it = m.find(drive);
    if (it == m.end()) return false;
    *text = it->second;
    return true;
  }
  // The adapter name inside "...\{4D36E972-E325-11CE-BFC1-08002BE10318}\<name>\Connection".
  static std::wstring AdapterOf(const std::wstring& key) {
    const std::wstring prefix =
        L"System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
    const std::wstring suffix = L"\\Connection";
    if (key.rfind(prefix, 0) != 0 || key.size() < prefix.size() + suffix.size()) return L"";
    return key.substr(prefix.size(), key.size() - prefix.size() - suffix.size());
  }
};

// True when text has the shape of pattern, where 'X' stands for an upper-case hex digit.
bool HasShape(const std::wstring& text, const std::wstring& pattern) {
  if (text.size() != pattern.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    bool hex = (text[i] >= L'0' && text[i] <= L'9') || (text[i] >= L'A' && text[i] <= L'F');
    if (pattern[i] == L'X' ? !hex : text[i] != pattern[i]) return false;
  }
  return true;
}

AdapterRecord Adapter(const std::string& name, UINT type, BYTE last) {
  AdapterRecord a;
  a.name = name;
  a.type = type;
  a.address = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, last};
  return a;
}

TEST(AtaSerialText, DropsEverySpaceAndWidensWithSign) {
  struct Case {
    std::string serial;
    std::wstring expected;
  } cases[] = {
      {"     WD-WCC4E1234567", L"WD-WCC4E1234567"},
      {"  AB CD  EF", L"ABCDEF"},
      {"S1\x80Z\xFF", std::wstring(L"S1") + wchar_t(0xFF80) + L"Z" + wchar_t(0xFFFF)},
      {"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(AtaText(IdentifyWithSerial(c.serial)), c.expected) << c.serial;
}

TEST(AtaSerialText, ReadsTheHighByteOfEachWordFirst) {
  Identify data{};
  std::memset(data.data() + 20, ' ', 20);
  data[20] = 'B';  // word 10, low byte
  data[21] = 'A';  // word 10, high byte
  data[38] = 'Z';  // word 19, low byte
  EXPECT_EQ(AtaText(data), L"ABZ");
}

TEST(HexPairText, DecodesTheSecondPairOfEachGroupFirst) {
  struct Case {
    std::string text;
    std::wstring expected;
  } cases[] = {
      {"5744", L"DW"},
      {"2020", L""},
      {"57443130", L"DW01"},
      {"6a6B", L"kj"},
      {"4X41", L"A@"},  // a character that is no hex digit counts as 0
      {"0000", L""},
      {"00C1", std::wstring(1, wchar_t(0xFFC1))},
      {"574457", L"DWW"},  // a short final group reads as if padded with "0"
      {"57", L"W"},
      {"5", L"P"},
      {"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(HexText(c.text), c.expected) << c.text;
}

TEST(HexPairText, StopsAtSixtyThreeCharacters) {
  EXPECT_EQ(HexText(std::string(400, '4')), std::wstring(63, L'D'));
}

TEST(DiskSerial, SmartFindsASerialSoTheOtherMethodsAreNotTried) {
  FakeMachineProbe probe;
  probe.smart[2] = IdentifyWithSerial("  SMART-2");
  probe.smart[5] = IdentifyWithSerial("SMART-5");
  probe.miniport[{0, 0}] = IdentifyWithSerial("PORT");
  probe.storage[0] = "5744";
  EXPECT_EQ(GetDiskSerial(probe), L"SMART-2");
  EXPECT_EQ(probe.smartCalls, kDiskProbeCount);
  EXPECT_EQ(probe.miniportCalls, 0);
  EXPECT_EQ(probe.storageCalls, 0);
}

TEST(DiskSerial, FallsBackToMiniportThenStorage) {
  FakeMachineProbe probe;
  probe.miniport[{3, 0}] = IdentifyWithSerial("NOMODEL", '\0');
  probe.miniport[{3, 1}] = IdentifyWithSerial("PORT-3-1");
  EXPECT_EQ(GetDiskSerial(probe), L"PORT-3-1");

  FakeMachineProbe storageOnly;
  storageOnly.storage[0] = "2D2D";      // "--": not a letter or digit first
  storageOnly.storage[1] = "44573031";  // "WD10"
  EXPECT_EQ(GetDiskSerial(storageOnly), L"WD10");
}

TEST(DiskSerial, StorageSerialMustStartWithLetterOrDigit) {
  FakeMachineProbe probe;
  probe.storage[0] = "2020412D";  // "-A"
  probe.media[1] = "X   Y   Z   ";
  probe.storage[2] = "31303332";  // "0123"
  DiskSerialReader reader;
  EXPECT_TRUE(ReadStorageSerials(probe, reader));
  ASSERT_EQ(reader.count, 2);
  EXPECT_STREQ(reader.slots[0], L"XYZ");
  EXPECT_STREQ(reader.slots[1], L"0123");
}

TEST(DiskSerial, MethodsStopAtThirtyTwoSlots) {
  FakeMachineProbe probe;
  for (int port = 0; port < kDiskProbeCount; ++port)
    for (int drive = 0; drive < 2; ++drive) probe.miniport[{port, drive}] = IdentifyWithSerial("S");
  DiskSerialReader reader;
  reader.count = 29;
  EXPECT_TRUE(ReadMiniportSerials(probe, reader));
  EXPECT_EQ(reader.count, kDiskSerialSlots);
  EXPECT_EQ(probe.miniportCalls, 3);  // no drive is asked once the slots are full
}

TEST(DiskSerial, NothingOutsideTheNtPlatform) {
  FakeMachineProbe probe;
  probe.platform = VER_PLATFORM_WIN32_WINDOWS;
  probe.smart[0] = IdentifyWithSerial("SMART");
  EXPECT_EQ(GetDiskSerial(probe), L"");
  EXPECT_EQ(probe.smartCalls, 0);
}

TEST(AdapterMac, PrefersTheFirstWiredPciAdapter) {
  struct Case {
    const char* name;
    std::vector<AdapterRecord> adapters;
    std::wstring expected;
  } cases[] = {
      {"wireless first, wired PCI second",
       {Adapter("wlan0", IF_TYPE_IEEE80211, 0x01), Adapter("eth0", MIB_IF_TYPE_ETHERNET, 0x02)},
       L"001A2B3C4D02"},
      {"wired USB first, wired PCI second",
       {Adapter("usb0", MIB_IF_TYPE_ETHERNET, 0x03), Adapter("eth0", MIB_IF_TYPE_ETHERNET, 0xEF)},
       L"001A2B3C4DEF"},
      {"none passing",
       {Adapter("wlan0", IF_TYPE_IEEE80211, 0x01), Adapter("usb0", 6, 0x03)},
       L"001A2B3C4D01"},
      {"none", {}, L""},
  };
  for (const Case& c : cases) {
    FakeMachineProbe probe;
    probe.adapters = c.adapters;
    probe.pnpIds = {{L"wlan0", L"PCI\\VEN_8086&DEV_08B1"},
                    {L"eth0", L"pci\\VEN_8086&DEV_100E"},
                    {L"usb0", L"USB\\VID_0B95&PID_1790"}};
    EXPECT_EQ(GetAdapterMac(probe), c.expected) << c.name;
  }
}

TEST(AdapterMac, BeforeVistaAWiredAdapterIsMediaSubTypeOne) {
  FakeMachineProbe probe;
  probe.major = 5;
  probe.adapters = {Adapter("eth0", MIB_IF_TYPE_ETHERNET, 0x01), Adapter("eth1", IF_TYPE_IEEE80211, 0x02)};
  probe.pnpIds = {{L"eth0", L"PCI\\A"}, {L"eth1", L"PCI\\B"}};
  probe.mediaSubTypes = {{L"eth0", 2}, {L"eth1", 1}};
  EXPECT_FALSE(IsVistaOrLater(probe));
  EXPECT_EQ(GetAdapterMac(probe), L"001A2B3C4D02");
}

TEST(CpuSignature, FormatsLeafOneOnTheFirstProcessorAndCachesIt) {
  FakeMachineProbe probe;
  CpuSignatureCache cache;
  EXPECT_EQ(GetCpuSignature(probe, cache), L"000306C3-01100800-7FFAFBFF-BFEBFBFF");
  EXPECT_EQ(probe.maskAtCpuid, 1u);
  EXPECT_EQ(probe.currentMask, 3u);
  probe.regs[0] = 0;
  EXPECT_EQ(GetCpuSignature(probe, cache), L"000306C3-01100800-7FFAFBFF-BFEBFBFF");
  EXPECT_EQ(probe.cpuidCalls, 1);
}

TEST(CpuSignature, ARestrictedProcessHasNoProcessorPartAndCachesNothing) {
  FakeMachineProbe probe;
  probe.processMask = 2;
  CpuSignatureCache cache;
  EXPECT_EQ(GetCpuSignature(probe, cache), L"");
  EXPECT_FALSE(cache.set);
  EXPECT_EQ(probe.cpuidCalls, 0);
  EXPECT_EQ(BuildRawMachineText(probe, cache), L"");

  probe.processMask = 3;
  EXPECT_EQ(GetCpuSignature(probe, cache).size(), 35u);
  EXPECT_TRUE(cache.set);
}

TEST(RawMachineText, JoinsProcessorDiskAndAdapter) {
  FakeMachineProbe probe;
  probe.smart[0] = IdentifyWithSerial("DISK1");
  probe.adapters = {Adapter("eth0", MIB_IF_TYPE_ETHERNET, 0x09)};
  CpuSignatureCache cache;
  EXPECT_EQ(BuildRawMachineText(probe, cache), L"000306C3-01100800-7FFAFBFF-BFEBFBFFDISK1001A2B3C4D09");
}

TEST(RawMachineText, HasTheRightShapeOnThisComputer) {
  std::wstring cpu = GetCpuSignature();
  std::wstring disk = GetDiskSerial(SystemMachineProbe());
  std::wstring mac = GetAdapterMac(SystemMachineProbe());
  EXPECT_TRUE(cpu.empty() || HasShape(cpu, L"XXXXXXXX-XXXXXXXX-XXXXXXXX-XXXXXXXX")) << cpu;
  EXPECT_LE(disk.size(), 63u);
  EXPECT_TRUE(mac.empty() || HasShape(mac, L"XXXXXXXXXXXX")) << mac;
  EXPECT_EQ(BuildRawMachineText(), cpu + disk + mac);
  EXPECT_EQ(BuildRawMachineText(), BuildRawMachineText());
}

TEST(MachineId, IsTheLowerCaseHexOfTheDigestOfTheNarrowText) {
  std::string seen;
  auto md5 = [&](const void* data, size_t size, BYTE digest[16]) {
    seen.assign(static_cast<const char*>(data), size);
    for (int i = 0; i < 16; ++i) digest[i] = static_cast<BYTE>(i * 17);
  };
  EXPECT_EQ(MachineIdOf("raw", md5), L"00112233445566778899aabbccddeeff");
  EXPECT_EQ(seen, "raw");
}

TEST(InstallGuid, IsMadeOnceAndKept) {
  std::wstring stored;
  int writes = 0;
  auto read = [&] { return stored; };
  auto write = [&](const std::wstring& v) {
    stored = v;
    ++writes;
  };
  auto fresh = [] { return std::wstring(L"0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9"); };
  EXPECT_EQ(LoadInstallGuid(read, write, fresh), L"0A1B2C3D4E5F60718293A4B5C6D7E8F9");
  EXPECT_EQ(stored, L"0A1B2C3D4E5F60718293A4B5C6D7E8F9");
  EXPECT_EQ(LoadInstallGuid(read, write, [] { return std::wstring(L"OTHER"); }), stored);
  EXPECT_EQ(writes, 1);
}

}  // namespace

// On this machine: the identifier is an MD5 in lower-case hex, the same every time.
TEST(MachineIdentity, TheMachineIdentifierIsStableLowerCaseHex) {
  UsageReporter first, second;
  std::wstring a = first.GetMachineId();
  std::wstring b = second.GetMachineId();
  ASSERT_EQ(a.size(), 32u);
  for (wchar_t c : a) EXPECT_TRUE((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'));
  EXPECT_EQ(a, b);
  first.machineId = L"0123456789abcdef0123456789abcdef";
  EXPECT_EQ(first.GetMachineId(), L"0123456789abcdef0123456789abcdef");  // kept once known
}
