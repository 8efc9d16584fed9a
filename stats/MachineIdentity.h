// The machine identifier's raw text (processor signature, disk serial, adapter address) and the
// installation identifier.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "stats/MachineProbe.h"

constexpr int kDiskSerialSlots = 32;
constexpr int kDiskSerialChars = 64;  // terminator included
constexpr int kDiskProbeCount = 16;   // drives or ports tried by each disk method

// Serial numbers found by the disk methods; a fresh one for each query.
struct DiskSerialReader {
  int32_t count = 0;
  int32_t next = 0;
  wchar_t slots[kDiskSerialSlots][kDiskSerialChars] = {};

  bool Full() const { return count >= kDiskSerialSlots; }
};

// The processor signature, computed once per cache.
struct CpuSignatureCache {
  bool set = false;
  wchar_t text[36] = {};
};

// ATA text rule: the serial of IDENTIFY words 10 to 19, high byte first, every space dropped.
void AtaSerialText(const BYTE identify[512], wchar_t out[kDiskSerialChars]);

// Hex-pair rule: groups of four hex digits, second pair decoded first; bytes 0 and space dropped. A short
// final group reads as if padded with "0", so "57" gives "W".
void HexPairText(const std::string& text, wchar_t out[kDiskSerialChars]);

bool ReadSmartSerials(MachineProbe& probe, DiskSerialReader& reader);
bool ReadMiniportSerials(MachineProbe& probe, DiskSerialReader& reader);
bool ReadStorageSerials(MachineProbe& probe, DiskSerialReader& reader);

// "%08X-%08X-%08X-%08X" of CPUID leaf 1, or empty for a process restricted to some processors.
std::wstring GetCpuSignature(MachineProbe& probe, CpuSignatureCache& cache);
std::wstring GetCpuSignature();  // this computer, cached for the process

// The first serial the disk methods found (at most 63 characters), or empty.
std::wstring GetDiskSerial(MachineProbe& probe);

bool IsVistaOrLater(MachineProbe& probe);
bool IsWiredPciAdapter(MachineProbe& probe, const IP_ADAPTER_INFO& adapter);

// 12 upper-case hex digits of the first wired PCI adapter, else of the first adapter; empty without any.
std::wstring GetAdapterMac(MachineProbe& probe);

std::wstring BuildRawMachineText(MachineProbe& probe, CpuSignatureCache& cache);
std::wstring BuildRawMachineText();  // this computer

// 32 lower-case hex digits of an MD5 digest of the narrow raw text; md5 writes the 16 digest bytes.
using Md5Function = std::function<void(const void* data, size_t size, BYTE digest[16])>;
std::wstring MachineIdOf(const std::string& narrowRawText, const Md5Function& md5);

// A GUID text with every "-" removed: the 32 digits kept as the installation identifier.
std::wstring GuidTextWithoutDashes(const std::wstring& guidText);

// The stored installation identifier; when none is stored, a new one from newGuidText, written back at once.
std::wstring LoadInstallGuid(const std::function<std::wstring()>& readStored,
                             const std::function<void(const std::wstring&)>& writeStored,
                             const std::function<std::wstring()>& newGuidText);
