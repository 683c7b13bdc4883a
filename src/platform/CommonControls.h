#pragma once

// The Windows common controls and the Windows version, as start-up asks for them.
namespace versemark {

// True when the extended common controls could be initialised (the probe looks
// only at whether the call could be made): false on Linux.
bool ProbeCommonControls();

// The Windows version as major + minor / 100 (5.01 for Windows XP); 0 on Linux.
float WindowsVersion();

}  // namespace versemark
