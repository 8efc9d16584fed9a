#include "stats/MachineIdentity.h"

#include <cstring>
#include <cwchar>
#include <cwctype>
#include <mutex>
#include <vector>

namespace {

constexpr BYTE kSpace = 0x20;

// Windows widens a signed char into a 16-bit WCHAR (0x80 becomes 0xFF80); our wchar_t is 32-bit, so keep
// the character Windows produces rather than a negative value.
wchar_t WidenSigned(BYTE b) { return b < 0x80 ? static_cast<wchar_t>(b) : static_cast<wchar_t>(0xFF00 | b); }

bool StartsWithLetterOrDigit(const wchar_t* text) {
  wchar_t c = text[0];
  return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

// Every fifth character of the media serial number (positions 0, 4, 8, ...), spaces dropped.
void MediaSerialText(const std::string& text, wchar_t out[kDiskSerialChars]) {
  size_t length = std::strlen(text.c_str());
  int n = 0;
  for (size_t i = 0; i < length && n < kDiskSerialChars - 1; i += 4)
    if (static_cast<BYTE>(text[i]) != kSpace) out[n++] = WidenSigned(static_cast<BYTE>(text[i]));
  out[n] = L'\0';
}

bool PutIdentifySerial(DiskSerialReader& reader, const BYTE identify[512]) {
  if (reader.Full()) return false;
  AtaSerialText(identify, reader.slots[reader.count++]);
  return true;
}

const wchar_t kAdapterKeyPrefix[] =
    L"System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

}  // namespace

void AtaSerialText(const BYTE identify[512], wchar_t out[kDiskSerialChars]) {
  int n = 0;
  for (int word = 10; word < 20; ++word) {
    BYTE bytes[2] = {identify[2 * word + 1], identify[2 * word]};
    for (BYTE b : bytes)
      if (b != kSpace) out[n++] = WidenSigned(b);
  }
  out[n] = L'\0';
}

void HexPairText(const std::string& text, wchar_t out[kDiskSerialChars]) {
  size_t length = std::strlen(text.c_str());
  auto digit = [&](size_t i) { return i < length ? HexValue(text[i]) : 0; };
  int n = 0;
  size_t groups = length == 0 ? 0 : (length - 1) / 4 + 1;
  for (size_t g = 0; g < groups; ++g) {
    for (size_t pair : {4 * g + 2, 4 * g}) {
      BYTE b = static_cast<BYTE>(digit(pair) * 16 + digit(pair + 1));
      if (b != 0 && b != kSpace && n < kDiskSerialChars - 1) out[n++] = WidenSigned(b);
    }
  }
  out[n] = L'\0';
}

bool ReadSmartSerials(MachineProbe& probe, DiskSerialReader& reader) {
  int before = reader.count;
  BYTE identify[512];
  for (int drive = 0; drive < kDiskProbeCount && !reader.Full(); ++drive)
    if (probe.SmartIdentify(drive, identify)) PutIdentifySerial(reader, identify);
  return reader.count > before;
}

bool ReadMiniportSerials(MachineProbe& probe, DiskSerialReader& reader) {
  int before = reader.count;
  BYTE identify[512];
  for (int port = 0; port < kDiskProbeCount && !reader.Full(); ++port) {
    for (int drive = 0; drive < 2 && !reader.Full(); ++drive) {
      // IDENTIFY word 27 starts the model number; a drive without one is no drive.
      if (probe.MiniportIdentify(port, drive, identify) && identify[54] != 0)
        PutIdentifySerial(reader, identify);
    }
  }
  return reader.count > before;
}

bool ReadStorageSerials(MachineProbe& probe, DiskSerialReader& reader) {
  int before = reader.count;
  for (int drive = 0; drive < kDiskProbeCount && !reader.Full(); ++drive) {
    wchar_t* slot = reader.slots[reader.count];
    std::string text;
    bool filled = false;
    if (probe.StorageSerial(drive, &text)) {
      HexPairText(text, slot);
      filled = StartsWithLetterOrDigit(slot);
    }
    if (!filled && probe.MediaSerial(drive, &text)) {
      MediaSerialText(text, slot);
      filled = StartsWithLetterOrDigit(slot);
    }
    if (filled) ++reader.count;
  }
  return reader.count > before;
}

std::wstring GetCpuSignature(MachineProbe& probe, CpuSignatureCache& cache) {
  if (cache.set) return cache.text;
  DWORD_PTR processMask = 0, systemMask = 0;
  if (!probe.GetAffinityMasks(&processMask, &systemMask) || processMask != systemMask) return std::wstring();
  // CPUID answers for the processor it runs on; read it on the first one.
  bool pinned = (processMask & 1) && probe.SetAffinityMask(1);
  if (pinned) probe.YieldTimeSlice();
  DWORD regs[4] = {};
  probe.Cpuid(1, regs);
  std::swprintf(cache.text, 36, L"%08X-%08X-%08X-%08X", regs[0], regs[1], regs[2], regs[3]);
  if (pinned) probe.SetAffinityMask(processMask);
  cache.set = true;
  return cache.text;
}

std::wstring GetCpuSignature() {
  static std::mutex mutex;
  static CpuSignatureCache cache;
  std::lock_guard<std::mutex> lock(mutex);
  return GetCpuSignature(SystemMachineProbe(), cache);
}

std::wstring GetDiskSerial(MachineProbe& probe) {
  DiskSerialReader reader;
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  bool nt = probe.GetVersion(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  // Systems outside the NT family are not supported: they find no disk.
  if (nt && !ReadSmartSerials(probe, reader) && !ReadMiniportSerials(probe, reader))
    ReadStorageSerials(probe, reader);
  if (reader.next >= reader.count) return std::wstring();
  const wchar_t* slot = reader.slots[reader.next++];
  return std::wstring(slot, wcsnlen(slot, kDiskSerialChars - 1));
}

bool IsVistaOrLater(MachineProbe& probe) {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return probe.GetVersion(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
         version.dwMajorVersion > 5;
}

bool IsWiredPciAdapter(MachineProbe& probe, const IP_ADAPTER_INFO& adapter) {
  // Adapter names are ASCII (interface GUIDs, or interface names here).
  size_t length = strnlen(adapter.AdapterName, sizeof adapter.AdapterName);
  std::wstring key = kAdapterKeyPrefix;
  key.append(adapter.AdapterName, adapter.AdapterName + length);
  key += L"\\Connection";
  std::wstring pnp;
  if (!probe.ReadMachineString(key, L"PnpInstanceID", &pnp) || pnp.size() < 3) return false;
  for (int i = 0; i < 3; ++i)
    if (std::towupper(static_cast<wint_t>(pnp[i])) != static_cast<wint_t>(L"PCI"[i])) return false;
  if (IsVistaOrLater(probe)) return adapter.Type == MIB_IF_TYPE_ETHERNET;
  DWORD subType = 0;
  return probe.ReadMachineDword(key, L"MediaSubType", &subType) && subType == 1;
}

std::wstring GetAdapterMac(MachineProbe& probe) {
  // The adapter records hold pointers: keep the buffer 8-byte aligned.
  ULONG size = 648;
  std::vector<uint64_t> buffer((size + 7) / 8);
  ULONG rc = probe.GetAdaptersInfo(reinterpret_cast<PIP_ADAPTER_INFO>(buffer.data()), &size);
  if (rc == static_cast<ULONG>(ERROR_BUFFER_OVERFLOW)) {
    buffer.assign((size + 7) / 8, 0);
    rc = probe.GetAdaptersInfo(reinterpret_cast<PIP_ADAPTER_INFO>(buffer.data()), &size);
  }
  if (rc != static_cast<ULONG>(ERROR_SUCCESS)) return std::wstring();
  const auto* first = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data());
  const IP_ADAPTER_INFO* chosen = first;
  for (const IP_ADAPTER_INFO* a = first; a; a = a->Next) {
    if (IsWiredPciAdapter(probe, *a)) {
      chosen = a;
      break;
    }
  }
  const BYTE* m = chosen->Address;
  wchar_t text[13];
  std::swprintf(text, 13, L"%02X%02X%02X%02X%02X%02X", m[0], m[1], m[2], m[3], m[4], m[5]);
  return text;
}

std::wstring BuildRawMachineText(MachineProbe& probe, CpuSignatureCache& cache) {
  return GetCpuSignature(probe, cache) + GetDiskSerial(probe) + GetAdapterMac(probe);
}

std::wstring BuildRawMachineText() {
  MachineProbe& probe = SystemMachineProbe();
  return GetCpuSignature() + GetDiskSerial(probe) + GetAdapterMac(probe);
}

std::wstring MachineIdOf(const std::string& narrowRawText, const Md5Function& md5) {
  BYTE digest[16] = {};
  md5(narrowRawText.data(), narrowRawText.size(), digest);
  static const wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring text;
  for (BYTE b : digest) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0xF];
  }
  return text;
}

std::wstring GuidTextWithoutDashes(const std::wstring& guidText) {
  std::wstring text;
  for (wchar_t c : guidText)
    if (c != L'-') text += c;
  return text;
}

std::wstring LoadInstallGuid(const std::function<std::wstring()>& readStored,
                             const std::function<void(const std::wstring&)>& writeStored,
                             const std::function<std::wstring()>& newGuidText) {
  std::wstring guid = readStored();
  if (guid.empty()) {
    guid = GuidTextWithoutDashes(newGuidText());
    writeStored(guid);
  }
  return guid;
}
