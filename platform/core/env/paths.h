// Folders of the current user, as the platform's file functions see them.
#pragma once

#include <string>

namespace glider::core {

// $XDG_CONFIG_HOME, or $HOME/.config, without a final '/'.
std::string ConfigHome();

// The file that holds the mapping containing the address (the executable or a
// shared object); empty when none does.
std::string ObjectFileOf(const void* address);

}  // namespace glider::core
