// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/Manifest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "support/NativePath.h"
#include "support/TempDir.h"

namespace versemark {
namespace {

using testing::NativePath;
using testing::ReadFileBytes;
using testing::TempDir;

// The manifest as it must stand, written out line by line with its blanks.
const std::string kExpectedText =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
    "    <assemblyIdentity \r\n"
    "        version=\"1.0.0.0\" \r\n"
    "        processorArchitecture=\"X86\" \r\n"
    "        name=\"Songleaf.Lyrics.Organizer\"   \r\n"
    "        type=\"win32\" />\r\n"
    "    <description>Vatrey</description>\r\n"
    "    <dependency>\r\n"
    "        <dependentAssembly>\r\n"
    "            <assemblyIdentity \r\n"
    "                type=\"win32\" \r\n"
    "                name=\"Microsoft.Windows.Common-Controls\" \r\n"
    "                version=\"6.0.0.0\" \r\n"
    "                processorArchitecture=\"X86\" \r\n"
    "                publicKeyToken=\"6595b64144ccf1df\" \r\n"
    "                language=\"*\" />\r\n"
    "        </dependentAssembly>\r\n"
    "    </dependency>\r\n"
    "</assembly>\r\n";

// The text with another processor architecture in lines 5 and 15.
std::string WithArchitecture(std::string text, std::string_view architecture) {
    for (std::size_t at = text.find("\"X86\""); at != std::string::npos;
         at = text.find("\"X86\"", at + 1)) {
        text.replace(at + 1, 3, architecture);
    }
    return text;
}

// The file as this build writes it: the text, one more line end.
std::string ExpectedFile() {
    return WithArchitecture(kExpectedText, ProcessorArchitecture()) + "\r\n";
}

constexpr float kWindowsXp = 5.01F;
constexpr float kWindows2000 = 5.00F;

bool Exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

TEST(Manifest, TextIsTwentyCrLfLinesOf730Characters) {
    EXPECT_EQ(ManifestText("amd64"), WithArchitecture(kExpectedText, "amd64"));
    const std::string text = ManifestText();
    EXPECT_EQ(text, kExpectedText);
    EXPECT_EQ(text.size(), 730u);
    std::size_t lineEnds = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        lineEnds += text.compare(i, 2, "\r\n") == 0 ? 1 : 0;
    }
    EXPECT_EQ(lineEnds, 20u);
}

TEST(Manifest, FileNameIsTheExecutableNameWithoutExtensionPlusExeManifest) {
    EXPECT_EQ(ManifestFileName(NativePath("/opt/tools"), "versemark"),
              NativePath("/opt/tools/versemark.exe.manifest"));
    EXPECT_EQ(ManifestFileName(NativePath("/opt/tools/"), "other.exe"),
              NativePath("/opt/tools/other.exe.manifest"));
    EXPECT_EQ(ManifestFileName(NativePath("/opt"), "my.tool.exe"),
              NativePath("/opt/my.tool.exe.manifest"));
    EXPECT_EQ(ManifestFileName(NativePath("/"), "Versemark.exe"),
              NativePath("/Versemark.exe.manifest"));
}

TEST(Manifest, FirstStartWritesThe732ByteFile) {
    TempDir folder;
    WriteManifest(folder.Path(), "Versemark.exe", kWindowsXp);
    const std::string written = ReadFileBytes(folder / "Versemark.exe.manifest");
    EXPECT_EQ(written.size(), 732u + (ProcessorArchitecture().size() - 3) * 2);
    EXPECT_EQ(written, ExpectedFile());
}

TEST(Manifest, AnExistingManifestIsNeverTouched) {
    TempDir folder;
    const std::string path = folder.WriteFile("other.exe.manifest", "<hand-made/>");
    WriteManifest(folder.Path(), "other.exe", 6.01F);
    EXPECT_EQ(ReadFileBytes(path), "<hand-made/>");

    const std::string empty = folder.WriteFile("empty.exe.manifest", "");
    WriteManifest(folder.Path(), "empty.exe", 6.01F);
    EXPECT_EQ(ReadFileBytes(empty), "");

    folder.MakeFolder("dir.exe.manifest");
    WriteManifest(folder.Path(), "dir.exe", 6.01F);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "dir.exe.manifest"));

    // A link to nowhere is not followed to create its target.
    std::filesystem::create_symlink(folder / "target", folder / "link.exe.manifest");
    WriteManifest(folder.Path(), "link.exe", 6.01F);
    EXPECT_FALSE(Exists(folder / "target"));
}

TEST(Manifest, OnlyVersionsAboveFiveZeroGetOne) {
    TempDir folder;
    WriteManifest(folder.Path(), "a.exe", kWindows2000);
    WriteManifest(folder.Path(), "b.exe", 4.90F);
    WriteManifest(folder.Path(), "c.exe", std::nanf(""));
    EXPECT_FALSE(Exists(folder / "a.exe.manifest"));
    EXPECT_FALSE(Exists(folder / "b.exe.manifest"));
    EXPECT_FALSE(Exists(folder / "c.exe.manifest"));
    WriteManifest(folder.Path(), "d.exe", 6.01F);
    EXPECT_EQ(ReadFileBytes(folder / "d.exe.manifest"), ExpectedFile());
}

}  // namespace
}  // namespace versemark
