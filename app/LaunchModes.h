// Command-line switches, launch modes and run counters.
#pragma once

bool IsSetupSuccess();
bool IsUninstallSuccess();
bool IsShowDesktop();
bool IsActivated();
void SetActivated();
void ToggleDesktop();
void StartDeskGlow();
