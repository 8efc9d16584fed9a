#include "platform/core/probes/adapters.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <netpacket/packet.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <map>

#include "platform/core/probes/sysfs.h"

namespace glider::core::probes {

namespace {

std::string Dotted(const sockaddr* address) {
  char text[INET_ADDRSTRLEN] = "0.0.0.0";
  if (address && address->sa_family == AF_INET)
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
  return text;
}

void CopyText(char* out, size_t capacity, const std::string& text) {
  std::snprintf(out, capacity, "%s", text.c_str());
}

void SetAddress(IP_ADDR_STRING* entry, const AdapterRecord::Ipv4& ip) {
  CopyText(entry->IpAddress.String, sizeof entry->IpAddress.String, ip.address);
  CopyText(entry->IpMask.String, sizeof entry->IpMask.String, ip.mask);
}

unsigned ReadHex(const std::string& path) {
  std::string text;
  if (!ReadTrimmedLine(path, &text)) return 0;
  return static_cast<unsigned>(std::strtoul(text.c_str(), nullptr, 16));
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring PciId(const std::string& pciDir) {
  char text[96];
  std::snprintf(text, sizeof text, "PCI\\VEN_%04X&DEV_%04X&SUBSYS_%04X%04X&REV_%02X\\",
                ReadHex(pciDir + "/vendor"), ReadHex(pciDir + "/device"),
                ReadHex(pciDir + "/subsystem_device"), ReadHex(pciDir + "/subsystem_vendor"),
                ReadHex(pciDir + "/revision"));
  char* real = realpath(pciDir.c_str(), nullptr);
  std::string address = real ? BaseName(real) : std::string("0");
  std::free(real);
  return Widen(text) + Widen(address);
}

bool EqualsIgnoringCase(const std::wstring& a, size_t offset, const std::wstring& b) {
  if (a.size() < offset + b.size()) return false;
  for (size_t i = 0; i < b.size(); ++i)
    if (std::towlower(a[offset + i]) != std::towlower(b[i])) return false;
  return true;
}

}  // namespace

UINT AdapterType(const std::string& interfaceDir, unsigned hardwareType) {
  if (hardwareType == ARPHRD_ETHER) {
    bool wireless = PathExists(interfaceDir + "/wireless") || PathExists(interfaceDir + "/phy80211");
    return wireless ? IF_TYPE_IEEE80211 : MIB_IF_TYPE_ETHERNET;
  }
  if (hardwareType == ARPHRD_PPP) return MIB_IF_TYPE_PPP;
  return MIB_IF_TYPE_OTHER;
}

std::vector<AdapterRecord> ListAdapters(const std::string& netRoot) {
  std::vector<AdapterRecord> adapters;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return adapters;
  std::map<std::string, AdapterRecord> byName;
  for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
    if (!entry->ifa_name || !entry->ifa_addr || (entry->ifa_flags & IFF_LOOPBACK)) continue;
    AdapterRecord& record = byName[entry->ifa_name];
    record.name = entry->ifa_name;
    if (entry->ifa_addr->sa_family == AF_PACKET) {
      const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
      record.index = static_cast<unsigned>(link->sll_ifindex);
      size_t length = std::min<size_t>(link->sll_halen, sizeof link->sll_addr);
      record.address.assign(link->sll_addr, link->sll_addr + length);
      record.type = AdapterType(netRoot + "/" + record.name, link->sll_hatype);
    } else if (entry->ifa_addr->sa_family == AF_INET) {
      record.ipv4.push_back({Dotted(entry->ifa_addr), Dotted(entry->ifa_netmask)});
    }
  }
  freeifaddrs(list);
  for (auto& [name, record] : byName)
    if (record.index == 0) record.index = if_nametoindex(name.c_str());
  for (auto& [name, record] : byName) adapters.push_back(std::move(record));
  std::stable_sort(adapters.begin(), adapters.end(),
                   [](const AdapterRecord& a, const AdapterRecord& b) { return a.index < b.index; });
  return adapters;
}

ULONG FillAdapterInfo(const std::vector<AdapterRecord>& adapters, PIP_ADAPTER_INFO info, PULONG size) {
  if (!size) return ERROR_INVALID_PARAMETER;
  if (adapters.empty()) return ERROR_NO_DATA;
  size_t extra = 0;
  for (const AdapterRecord& a : adapters)
    if (a.ipv4.size() > 1) extra += a.ipv4.size() - 1;
  size_t needed = adapters.size() * sizeof(IP_ADAPTER_INFO) + extra * sizeof(IP_ADDR_STRING);
  if (!info || *size < needed) {
    *size = static_cast<ULONG>(needed);
    return ERROR_BUFFER_OVERFLOW;
  }
  std::memset(static_cast<void*>(info), 0, needed);
  auto* more = reinterpret_cast<IP_ADDR_STRING*>(info + adapters.size());
  for (size_t i = 0; i < adapters.size(); ++i) {
    const AdapterRecord& a = adapters[i];
    IP_ADAPTER_INFO& out = info[i];
    out.Next = i + 1 < adapters.size() ? &info[i + 1] : nullptr;
    out.ComboIndex = a.index;
    CopyText(out.AdapterName, sizeof out.AdapterName, a.name);
    CopyText(out.Description, sizeof out.Description, a.name);
    out.AddressLength = static_cast<UINT>(std::min<size_t>(a.address.size(), MAX_ADAPTER_ADDRESS_LENGTH));
    std::copy_n(a.address.begin(), out.AddressLength, out.Address);
    out.Index = a.index;
    out.Type = a.type;
    SetAddress(&out.IpAddressList, a.ipv4.empty() ? AdapterRecord::Ipv4{"0.0.0.0", "0.0.0.0"} : a.ipv4[0]);
    IP_ADDR_STRING* last = &out.IpAddressList;
    for (size_t k = 1; k < a.ipv4.size(); ++k) {
      SetAddress(more, a.ipv4[k]);
      last->Next = more;
      last = more++;
    }
  }
  return ERROR_SUCCESS;
}

bool AdapterPnpInstanceId(const std::string& interfaceDir, std::wstring* id) {
  if (!PathExists(interfaceDir)) return false;
  std::string device = interfaceDir + "/device";
  if (!PathExists(device)) {
    *id = L"ROOT\\NET\\" + Widen(BaseName(interfaceDir));
    return true;
  }
  std::string bus = LinkTargetName(device + "/subsystem");
  std::string deviceName = LinkTargetName(device);
  if (bus == "pci") {
    *id = PciId(device);
  } else if (bus == "virtio" && LinkTargetName(device + "/../subsystem") == "pci") {
    // A virtio adapter is a PCI function, as Windows lists it.
    *id = PciId(device + "/..");
  } else if (bus == "usb") {
    char text[64];
    std::snprintf(text, sizeof text, "USB\\VID_%04X&PID_%04X\\", ReadHex(device + "/../idVendor"),
                  ReadHex(device + "/../idProduct"));
    *id = Widen(text) + Widen(deviceName);
  } else {
    std::string upper = bus.empty() ? "ROOT" : bus;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    *id = Widen(upper) + L"\\" + Widen(deviceName);
  }
  return true;
}

bool ReadNetworkConnectionValue(const std::wstring& subKey, const std::wstring& valueName, std::wstring* text,
                                const std::string& netRoot) {
  static const std::wstring prefix =
      L"System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
  static const std::wstring suffix = L"\\Connection";
  if (!EqualsIgnoringCase(subKey, 0, prefix) || subKey.size() <= prefix.size() + suffix.size()) return false;
  size_t nameLength = subKey.size() - prefix.size() - suffix.size();
  if (!EqualsIgnoringCase(subKey, prefix.size() + nameLength, suffix)) return false;
  if (valueName.size() != 13 || !EqualsIgnoringCase(valueName, 0, L"PnpInstanceID")) return false;
  std::string name;
  for (wchar_t c : subKey.substr(prefix.size(), nameLength)) {
    if (c <= L' ' || c > 0x7E || c == L'/' || c == L'\\') return false;
    name += static_cast<char>(c);
  }
  if (name == "." || name == "..") return false;
  return AdapterPnpInstanceId(netRoot + "/" + name, text);
}

}  // namespace glider::core::probes

ULONG GetAdaptersInfo(PIP_ADAPTER_INFO info, PULONG size) {
  using namespace glider::core::probes;
  return FillAdapterInfo(ListAdapters("/sys/class/net"), info, size);
}
