// Internet-cafe detection: traces of net-bar management software in the registry and the process list.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class NetbarProbe {
 public:
  virtual ~NetbarProbe() = default;
  // True when the local-machine key opens with the right to query values; it is closed again at once.
  virtual bool OpenMachineKey(const std::wstring& subKey) = 0;
  // Takes a fresh snapshot of all processes and hands each executable name (no path) to visit until it
  // returns true. False when no snapshot could be taken.
  virtual bool WalkProcesses(const std::function<bool(const wchar_t* exeName)>& visit) = 0;
};

// The probe of this computer: the registry and the process snapshot.
NetbarProbe& SystemNetbarProbe();

bool HasMachineKey(NetbarProbe& probe, const std::wstring& subKey);
bool HasMachineKey(const std::wstring& subKey);

// A process whose executable name equals exeName exactly, case included.
bool IsProcessRunning(NetbarProbe& probe, const std::wstring& exeName);
bool IsProcessRunning(const std::wstring& exeName);

// The code of the first trace found in table order, or -1.
int32_t DetectNetbar(NetbarProbe& probe);
int32_t DetectNetbar();
