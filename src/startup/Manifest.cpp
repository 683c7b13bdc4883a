// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/Manifest.h"

#include <array>

#include "base/FileNames.h"
#include "platform/FileSystem.h"

namespace versemark {

namespace {

constexpr std::string_view kManifestLineEnd = "\r\n";
constexpr std::string_view kManifestSuffix = ".exe.manifest";
constexpr char kExtensionDot = '.';
// Windows 2000 is 5.0; visual styles start above it.
constexpr float kFirstVersionWithoutManifest = 5.0F;

// Lines 5 and 15 name the program's processor architecture: "X86" as written,
// the build's own where it is another (a 64-bit program given an X86 manifest
// does not get the version 6 controls, or does not start at all).
constexpr std::string_view kArchitectureLine = "processorArchitecture=\"X86\"";
constexpr std::string_view kArchitectureX86 = "X86";

struct ManifestLine {
    int LeadingBlanks;
    std::string_view Text;
    int TrailingBlanks;
};

// The application's identity, then the documented identity of the common-controls
// library, version 6.
constexpr std::array<ManifestLine, 20> kManifestLines = {{
    {0, R"(<?xml version="1.0" encoding="UTF-8" standalone="yes" ?>)", 0},
    {0, R"(<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">)", 0},
    {4, R"(<assemblyIdentity)", 1},
    {8, R"(version="1.0.0.0")", 1},
    {8, kArchitectureLine, 1},
    {8, R"(name="Songleaf.Lyrics.Organizer")", 3},
    {8, R"(type="win32" />)", 0},
    {4, R"(<description>Vatrey</description>)", 0},
    {4, R"(<dependency>)", 0},
    {8, R"(<dependentAssembly>)", 0},
    {12, R"(<assemblyIdentity)", 1},
    {16, R"(type="win32")", 1},
    {16, R"(name="Microsoft.Windows.Common-Controls")", 1},
    {16, R"(version="6.0.0.0")", 1},
    {16, kArchitectureLine, 1},
    {16, R"(publicKeyToken="6595b64144ccf1df")", 1},
    {16, R"(language="*" />)", 0},
    {8, R"(</dependentAssembly>)", 0},
    {4, R"(</dependency>)", 0},
    {0, R"(</assembly>)", 0},
}};

// The name without its last extension (".exe"); a leading dot is not one.
std::string_view WithoutExtension(std::string_view name) {
    const std::size_t dot = name.rfind(kExtensionDot);
    return (dot == std::string_view::npos || dot == 0) ? name : name.substr(0, dot);
}

}  // namespace

std::string ManifestText(std::string_view architecture) {
    std::string text;
    for (const ManifestLine& line : kManifestLines) {
        text.append(static_cast<std::size_t>(line.LeadingBlanks), ' ');
        std::string lineText(line.Text);
        if (line.Text == kArchitectureLine) {
            lineText.replace(lineText.find(kArchitectureX86), kArchitectureX86.size(),
                             architecture);
        }
        text += lineText;
        text.append(static_cast<std::size_t>(line.TrailingBlanks), ' ');
        text += kManifestLineEnd;
    }
    return text;
}

std::string ManifestFileName(const std::string& exeFolder, const std::string& exeFileName) {
    std::string name = EnsureBackslash(exeFolder);
    name += WithoutExtension(exeFileName);
    name += kManifestSuffix;
    return name;
}

void WriteManifest(const std::string& exeFolder, const std::string& exeFileName,
                   float windowsVersion) {
    const std::string path = ManifestFileName(exeFolder, exeFileName);
    // Anything at all at the path counts: an existing manifest, a folder or a
    // link of that name is never replaced.
    if (PathExists(path)) {
        return;
    }
    if (!(windowsVersion > kFirstVersionWithoutManifest)) {
        return;
    }
    // A file that could not be written whole is removed again, so that the next
    // start writes it afresh instead of finding a broken manifest.
    WriteNewFile(path, ManifestText(ProcessorArchitecture()) + std::string(kManifestLineEnd));
}

}  // namespace versemark
