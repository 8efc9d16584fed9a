// The network adapter list behind GetAdaptersInfo, and the adapters' connection keys answered from sysfs.
#pragma once

#include <string>
#include <vector>

#include "platform/iphlpapi.h"

namespace glider::core::probes {

struct AdapterRecord {
  std::string name;
  unsigned index = 0;
  UINT type = MIB_IF_TYPE_OTHER;
  std::vector<BYTE> address;
  struct Ipv4 {
    std::string address;
    std::string mask;
  };
  std::vector<Ipv4> ipv4;
};

// The interfaces of getifaddrs except loopback, classified from the sysfs folder netRoot ("/sys/class/net").
std::vector<AdapterRecord> ListAdapters(const std::string& netRoot);

// Wireless (71) when the interface folder has "wireless" or "phy80211", wired Ethernet (6) for an Ethernet
// hardware type, PPP (23), else other (1).
UINT AdapterType(const std::string& interfaceDir, unsigned hardwareType);

// Lays the records out in the caller's buffer as GetAdaptersInfo does.
ULONG FillAdapterInfo(const std::vector<AdapterRecord>& adapters, PIP_ADAPTER_INFO info, PULONG size);

// The "PnpInstanceID" the adapter's connection key would hold: "PCI\\VEN_...&DEV_..." for a PCI function
// (also a virtio device on PCI), "USB\\VID_...&PID_..." for USB, "ROOT\\NET\\<name>" for a virtual
// interface. False when interfaceDir does not exist.
bool AdapterPnpInstanceId(const std::string& interfaceDir, std::wstring* id);

// Answers the local-machine key
// "System\\CurrentControlSet\\Control\\Network\\{4D36E972-...}\\<name>\\Connection" from sysfs: only
// "PnpInstanceID" exists there. False for any other key or value.
bool ReadNetworkConnectionValue(const std::wstring& subKey, const std::wstring& valueName, std::wstring* text,
                                const std::string& netRoot = "/sys/class/net");

}  // namespace glider::core::probes
