// The machine probe over this computer's processor, disks and network adapters.
#include <thread>

#include "platform/core/probes/adapters.h"
#include "platform/core/probes/cpuid.h"
#include "platform/core/probes/disks.h"
#include "stats/MachineProbe.h"

namespace {

namespace probes = glider::core::probes;

std::string DriveName(int drive) {
  std::vector<std::string> drives = probes::PhysicalDrives();
  return drive >= 0 && static_cast<size_t>(drive) < drives.size() ? drives[drive] : std::string();
}

class SystemProbe final : public MachineProbe {
 public:
  bool GetAffinityMasks(DWORD_PTR* processMask, DWORD_PTR* systemMask) override {
    return GetProcessAffinityMask(GetCurrentProcess(), processMask, systemMask) != FALSE;
  }
  bool SetAffinityMask(DWORD_PTR processMask) override {
    return SetProcessAffinityMask(GetCurrentProcess(), processMask) != FALSE;
  }
  void YieldTimeSlice() override { std::this_thread::yield(); }
  void Cpuid(DWORD leaf, DWORD regs[4]) override { probes::ReadCpuid(leaf, regs); }

  bool GetVersion(OSVERSIONINFOW* info) override { return GetVersionExW(info) != FALSE; }

  bool SmartIdentify(int drive, BYTE identify[512]) override {
    std::string name = DriveName(drive);
    return !name.empty() && probes::AtaIdentify(name, identify);
  }
  bool MiniportIdentify(int port, int drive, BYTE identify[512]) override {
    std::string name = probes::DiskOnPort(port, drive);
    return !name.empty() && probes::AtaIdentify(name, identify);
  }
  bool StorageSerial(int drive, std::string* text) override {
    std::string name = DriveName(drive);
    return !name.empty() && probes::KernelDiskSerial("/sys/block/" + name, text);
  }
  // Linux keeps no media serial numbers.
  bool MediaSerial(int, std::string*) override { return false; }

  ULONG GetAdaptersInfo(PIP_ADAPTER_INFO info, PULONG size) override { return ::GetAdaptersInfo(info, size); }

  // The only local-machine keys the identity reads are the adapters' connection keys, which sysfs answers.
  bool ReadMachineString(const std::wstring& subKey, const std::wstring& valueName,
                         std::wstring* text) override {
    return probes::ReadNetworkConnectionValue(subKey, valueName, text);
  }
  bool ReadMachineDword(const std::wstring&, const std::wstring&, DWORD*) override { return false; }
};

}  // namespace

MachineProbe& SystemMachineProbe() {
  static SystemProbe probe;
  return probe;
}
