// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "platform/CommonControls.h"

// The visual-styles manifest written beside the executable on Windows versions
// that support visual styles. On Linux the common-controls probe is false and the
// writer is never called; it is built and tested with an injected folder and version.
namespace versemark {

// The 20 lines, each ending with CR LF (730 characters with the architecture
// "X86"); `architecture` is the program's processor architecture.
std::string ManifestText(std::string_view architecture = "X86");

// "<folder>/<name without extension>.exe.manifest".
std::string ManifestFileName(const std::string& exeFolder, const std::string& exeFileName);

// Writes the manifest unless it exists or `windowsVersion` (major + minor / 100)
// is not above 5.0. Reports nothing; never fails the caller.
void WriteManifest(const std::string& exeFolder, const std::string& exeFileName,
                   float windowsVersion);

}  // namespace versemark
