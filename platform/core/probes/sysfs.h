// Small readers of the kernel's sysfs and proc files used by the system probes.
#pragma once

#include <string>

namespace glider::core::probes {

// The file's contents, up to 64 KiB; false when it cannot be read.
bool ReadSmallFile(const std::string& path, std::string* text);

// The file's first line without surrounding white space; false when it cannot be read.
bool ReadTrimmedLine(const std::string& path, std::string* line);

bool PathExists(const std::string& path);

// The last component of the target of a symbolic link ("pci" for ".../bus/pci"); empty when none.
std::string LinkTargetName(const std::string& path);

}  // namespace glider::core::probes
