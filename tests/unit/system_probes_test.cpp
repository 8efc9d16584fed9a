#include <gtest/gtest.h>
#include <net/if_arp.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/core/probes/adapters.h"
#include "platform/core/probes/disks.h"
#include "platform/sysinfoapi.h"

namespace {

namespace fs = std::filesystem;
using namespace glider::core::probes;

// A scratch folder laid out like the parts of sysfs a test needs.
class SysfsFixture : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "glider-sysfs-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root = pattern;
  }
  void TearDown() override { fs::remove_all(root); }

  void Write(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(root + "/" + path).parent_path());
    std::ofstream(root + "/" + path, std::ios::binary) << text;
  }
  void Link(const std::string& path, const std::string& target) {
    fs::create_directories(fs::path(root + "/" + path).parent_path());
    fs::create_directories(root + "/" + target);
    fs::create_directory_symlink(root + "/" + target, root + "/" + path);
  }
  void PciFunction(const std::string& dir) {
    Link(dir + "/subsystem", "bus/pci");
    Write(dir + "/vendor", "0x8086\n");
    Write(dir + "/device", "0x100e\n");
    Write(dir + "/subsystem_vendor", "0x1af4\n");
    Write(dir + "/subsystem_device", "0x1100\n");
    Write(dir + "/revision", "0x03\n");
  }
  std::wstring PnpId(const std::string& name) {
    std::wstring id;
    return AdapterPnpInstanceId(root + "/net/" + name, &id) ? id : L"(none)";
  }

  std::string root;
};

TEST_F(SysfsFixture, AdapterTypeTellsWirelessFromWired) {
  Write("net/wlan0/wireless/x", "");
  Write("net/wlp2s0/phy80211/x", "");
  Write("net/eth0/type", "1");
  EXPECT_EQ(AdapterType(root + "/net/wlan0", ARPHRD_ETHER), IF_TYPE_IEEE80211);
  EXPECT_EQ(AdapterType(root + "/net/wlp2s0", ARPHRD_ETHER), IF_TYPE_IEEE80211);
  EXPECT_EQ(AdapterType(root + "/net/eth0", ARPHRD_ETHER), MIB_IF_TYPE_ETHERNET);
  EXPECT_EQ(AdapterType(root + "/net/ppp0", ARPHRD_PPP), MIB_IF_TYPE_PPP);
  EXPECT_EQ(AdapterType(root + "/net/tun0", ARPHRD_NONE), MIB_IF_TYPE_OTHER);
}

TEST_F(SysfsFixture, PnpInstanceIdNamesTheBus) {
  PciFunction("devices/pci0000:00/0000:00:03.0");
  Link("net/eth0/device", "devices/pci0000:00/0000:00:03.0");
  PciFunction("devices/pci0000:00/0000:00:04.0");
  Link("devices/pci0000:00/0000:00:04.0/virtio1/subsystem", "bus/virtio");
  Link("net/eth1/device", "devices/pci0000:00/0000:00:04.0/virtio1");
  Link("devices/usb1/1-1/1-1:1.0/subsystem", "bus/usb");
  Write("devices/usb1/1-1/idVendor", "0b95\n");
  Write("devices/usb1/1-1/idProduct", "1790\n");
  Link("net/usb0/device", "devices/usb1/1-1/1-1:1.0");
  Write("net/veth0/type", "1");

  EXPECT_EQ(PnpId("eth0"), L"PCI\\VEN_8086&DEV_100E&SUBSYS_11001AF4&REV_03\\0000:00:03.0");
  EXPECT_EQ(PnpId("eth1"), L"PCI\\VEN_8086&DEV_100E&SUBSYS_11001AF4&REV_03\\0000:00:04.0");
  EXPECT_EQ(PnpId("usb0"), L"USB\\VID_0B95&PID_1790\\1-1:1.0");
  EXPECT_EQ(PnpId("veth0"), L"ROOT\\NET\\veth0");
  EXPECT_EQ(PnpId("missing"), L"(none)");
}

TEST_F(SysfsFixture, ConnectionKeyAnswersOnlyPnpInstanceId) {
  PciFunction("devices/pci0000:00/0000:00:03.0");
  Link("net/eth0/device", "devices/pci0000:00/0000:00:03.0");
  const std::wstring key =
      L"SYSTEM\\CurrentControlSet\\Control\\Network\\{4d36e972-e325-11ce-bfc1-08002be10318}"
      L"\\eth0\\connection";
  std::wstring text;
  EXPECT_TRUE(ReadNetworkConnectionValue(key, L"pnpinstanceid", &text, root + "/net"));
  EXPECT_EQ(text.substr(0, 4), L"PCI\\");
  EXPECT_FALSE(ReadNetworkConnectionValue(key, L"MediaSubType", &text, root + "/net"));
  for (const wchar_t* other :
       {L"System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\eth0",
        L"System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\.."
        L"\\Connection",
        L"System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}"
        L"\\eth9\\Connection",
        L"Software\\eth0\\Connection"})
    EXPECT_FALSE(ReadNetworkConnectionValue(other, L"PnpInstanceID", &text, root + "/net")) << other;
}

TEST_F(SysfsFixture, PhysicalDrivesInKernelOrderWithHardwareOnly) {
  for (const char* disk : {"sdaa", "sdb", "sda", "vda", "sr0", "nvme0n1"})
    Write(std::string("block/") + disk + "/device/x", "");
  Write("block/loop0/size", "0");
  EXPECT_EQ(PhysicalDrives(root + "/block"),
            (std::vector<std::string>{"sda", "sdb", "vda", "sdaa", "nvme0n1"}));
}

TEST_F(SysfsFixture, KernelDiskSerialFromSerialFileOrUnitSerialPage) {
  Write("block/vda/serial", "overlayblk\n");
  Write("block/sda/device/vpd_pg80", std::string("\x00\x80\x00\x0A  S3Z9NB0K", 14));
  Write("block/sdb/device/vendor", "ATA");
  std::string serial;
  EXPECT_TRUE(KernelDiskSerial(root + "/block/vda", &serial));
  EXPECT_EQ(serial, "overlayblk");
  EXPECT_TRUE(KernelDiskSerial(root + "/block/sda", &serial));
  EXPECT_EQ(serial, "S3Z9NB0K");
  EXPECT_FALSE(KernelDiskSerial(root + "/block/sdb", &serial));
}

TEST(AdapterInfo, LaysTheListOutAsGetAdaptersInfoDoes) {
  std::vector<AdapterRecord> adapters(2);
  adapters[0].name = "eth0";
  adapters[0].index = 2;
  adapters[0].type = MIB_IF_TYPE_ETHERNET;
  adapters[0].address = {0x52, 0x54, 0x00, 0x12, 0x34, 0x56};
  adapters[0].ipv4 = {{"10.0.0.2", "255.255.255.0"}, {"10.0.1.2", "255.255.0.0"}};
  adapters[1].name = "wlan0";
  adapters[1].index = 3;
  adapters[1].type = IF_TYPE_IEEE80211;

  ULONG size = 0;
  EXPECT_EQ(FillAdapterInfo({}, nullptr, &size), static_cast<ULONG>(ERROR_NO_DATA));
  EXPECT_EQ(FillAdapterInfo(adapters, nullptr, nullptr), static_cast<ULONG>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(FillAdapterInfo(adapters, nullptr, &size), static_cast<ULONG>(ERROR_BUFFER_OVERFLOW));
  EXPECT_EQ(size, 2 * sizeof(IP_ADAPTER_INFO) + sizeof(IP_ADDR_STRING));
  std::vector<uint64_t> buffer(size / 8 + 1);
  auto* info = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
  ULONG small = size - 1;
  EXPECT_EQ(FillAdapterInfo(adapters, info, &small), static_cast<ULONG>(ERROR_BUFFER_OVERFLOW));
  ASSERT_EQ(FillAdapterInfo(adapters, info, &size), static_cast<ULONG>(ERROR_SUCCESS));

  EXPECT_STREQ(info->AdapterName, "eth0");
  EXPECT_EQ(info->Type, MIB_IF_TYPE_ETHERNET);
  EXPECT_EQ(info->AddressLength, 6u);
  EXPECT_EQ(info->Address[5], 0x56);
  EXPECT_STREQ(info->IpAddressList.IpAddress.String, "10.0.0.2");
  ASSERT_NE(info->IpAddressList.Next, nullptr);
  EXPECT_STREQ(info->IpAddressList.Next->IpMask.String, "255.255.0.0");
  const IP_ADAPTER_INFO* second = info->Next;
  ASSERT_NE(second, nullptr);
  EXPECT_STREQ(second->AdapterName, "wlan0");
  EXPECT_EQ(second->Type, IF_TYPE_IEEE80211);
  EXPECT_STREQ(second->IpAddressList.IpAddress.String, "0.0.0.0");
  EXPECT_EQ(second->Next, nullptr);
}

TEST(AdapterInfo, ThisComputerHasNoLoopbackAndKnowsItsSize) {
  ULONG size = 0;
  ULONG rc = GetAdaptersInfo(nullptr, &size);
  if (rc == static_cast<ULONG>(ERROR_NO_DATA)) GTEST_SKIP() << "no network adapters";
  ASSERT_EQ(rc, static_cast<ULONG>(ERROR_BUFFER_OVERFLOW));
  std::vector<uint64_t> buffer(size / 8 + 1);
  auto* info = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
  ASSERT_EQ(GetAdaptersInfo(info, &size), static_cast<ULONG>(ERROR_SUCCESS));
  for (const IP_ADAPTER_INFO* a = info; a; a = a->Next) EXPECT_STRNE(a->AdapterName, "lo");
}

TEST(SystemVersion, ReportsWindowsTenOnTheNtPlatform) {
  OSVERSIONINFOW info = {};
  EXPECT_FALSE(GetVersionExW(&info));
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExW(&info));
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(info.dwMajorVersion, 10u);
}

TEST(Affinity, PinsTheCallingThreadAndRestoresIt) {
  DWORD_PTR process = 0, system = 0;
  ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &process, &system));
  EXPECT_NE(process, 0u);
  EXPECT_EQ(process & ~system, 0u);
  EXPECT_FALSE(SetProcessAffinityMask(GetCurrentProcess(), 0));
  DWORD_PTR lowest = process & (~process + 1);
  ASSERT_TRUE(SetProcessAffinityMask(GetCurrentProcess(), lowest));
  DWORD_PTR pinned = 0;
  ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &pinned, &system));
  EXPECT_EQ(pinned, lowest);
  ASSERT_TRUE(SetProcessAffinityMask(GetCurrentProcess(), process));
}

}  // namespace
