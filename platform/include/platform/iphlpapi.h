// The IPv4 adapter list.
#pragma once

#include <ctime>

#include "platform/windef.h"

constexpr UINT MAX_ADAPTER_NAME_LENGTH = 256;
constexpr UINT MAX_ADAPTER_DESCRIPTION_LENGTH = 128;
constexpr UINT MAX_ADAPTER_ADDRESS_LENGTH = 8;

constexpr UINT MIB_IF_TYPE_OTHER = 1;
constexpr UINT MIB_IF_TYPE_ETHERNET = 6;
constexpr UINT MIB_IF_TYPE_PPP = 23;
constexpr UINT MIB_IF_TYPE_LOOPBACK = 24;
constexpr UINT IF_TYPE_IEEE80211 = 71;

constexpr ULONG ERROR_NO_DATA = 232;

struct IP_ADDRESS_STRING {
  char String[16];
};
using IP_MASK_STRING = IP_ADDRESS_STRING;

struct IP_ADDR_STRING {
  IP_ADDR_STRING* Next;
  IP_ADDRESS_STRING IpAddress;
  IP_MASK_STRING IpMask;
  DWORD Context;
};
using PIP_ADDR_STRING = IP_ADDR_STRING*;

struct IP_ADAPTER_INFO {
  IP_ADAPTER_INFO* Next;
  DWORD ComboIndex;
  char AdapterName[MAX_ADAPTER_NAME_LENGTH + 4];
  char Description[MAX_ADAPTER_DESCRIPTION_LENGTH + 4];
  UINT AddressLength;
  BYTE Address[MAX_ADAPTER_ADDRESS_LENGTH];
  DWORD Index;
  UINT Type;
  UINT DhcpEnabled;
  PIP_ADDR_STRING CurrentIpAddress;
  IP_ADDR_STRING IpAddressList;
  IP_ADDR_STRING GatewayList;
  IP_ADDR_STRING DhcpServer;
  BOOL HaveWins;
  IP_ADDR_STRING PrimaryWinsServer;
  IP_ADDR_STRING SecondaryWinsServer;
  time_t LeaseObtained;
  time_t LeaseExpires;
};
using PIP_ADAPTER_INFO = IP_ADAPTER_INFO*;
using PULONG = ULONG*;

// Lists the network interfaces except loopback, in interface-index order. AdapterName is the interface
// name (Linux has no interface GUIDs); Type is 6 for wired Ethernet and 71 for wireless. A buffer that is
// too small gives ERROR_BUFFER_OVERFLOW with the size needed in *size; no adapters gives ERROR_NO_DATA.
ULONG GetAdaptersInfo(PIP_ADAPTER_INFO info, PULONG size);
