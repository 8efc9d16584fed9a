// What the machine identity asks of the system, behind one interface so tests can stand in for it.
#pragma once

#include <string>

#include "platform/iphlpapi.h"
#include "platform/sysinfoapi.h"

class MachineProbe {
 public:
  virtual ~MachineProbe() = default;

  // Processor: the process and system affinity masks, pinning, giving up the time slice, CPUID.
  virtual bool GetAffinityMasks(DWORD_PTR* processMask, DWORD_PTR* systemMask) = 0;
  virtual bool SetAffinityMask(DWORD_PTR processMask) = 0;
  virtual void YieldTimeSlice() = 0;
  virtual void Cpuid(DWORD leaf, DWORD regs[4]) = 0;

  virtual bool GetVersion(OSVERSIONINFOW* info) = 0;

  // Disks: the 512-byte IDENTIFY data of physical drive `drive` through SMART, or of drive 0 or 1 on
  // controller port `port`; the narrow serial-number text of the drive's storage property, or its media
  // serial number. False when the drive cannot be opened or the call fails.
  virtual bool SmartIdentify(int drive, BYTE identify[512]) = 0;
  virtual bool MiniportIdentify(int port, int drive, BYTE identify[512]) = 0;
  virtual bool StorageSerial(int drive, std::string* text) = 0;
  virtual bool MediaSerial(int drive, std::string* text) = 0;

  // Network adapters, with the calling convention of GetAdaptersInfo.
  virtual ULONG GetAdaptersInfo(PIP_ADAPTER_INFO info, PULONG size) = 0;

  // A value of a local-machine key opened read-only; false when the key or the value is missing.
  virtual bool ReadMachineString(const std::wstring& subKey, const std::wstring& valueName,
                                 std::wstring* text) = 0;
  virtual bool ReadMachineDword(const std::wstring& subKey, const std::wstring& valueName, DWORD* value) = 0;
};

// The probe of this computer.
MachineProbe& SystemMachineProbe();
