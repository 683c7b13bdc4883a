// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/DemoLibrary.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "base/Companion.h"
#include "demo/SilentMp3.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "tags/TagRecords.h"
#include "tags/TagWriter.h"
#include "tags/TailLayout.h"

namespace versemark {

namespace {

namespace fs = std::filesystem;
using namespace std::string_view_literals;

constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t kAudioFrames = 24;  // about 0.6 s of silence, 10 KB
constexpr std::string_view kTrailerNewerVersion = "LYRICS300";
constexpr std::string_view kFieldInfo = "INF";
constexpr std::string_view kFilterLine = "[profanity] filter used";
constexpr std::string_view kWineRegistryHeader =
    "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
constexpr std::string_view kWineKeyTime = " 1700000000";
constexpr std::string_view kWineInstallValue = "\"InstallPath\"";

// ----- text in the companion's forms ------------------------------------------

std::string CrLfLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const std::string_view line : lines) {
        text += line;
        text += kCrLf;
    }
    return text;
}

std::string Filtered(std::initializer_list<std::string_view> lines) {
    return CrLfLines(lines) + std::string(kCrLf) + std::string(kFilterLine) + std::string(kCrLf);
}

std::string WithFooter(std::initializer_list<std::string_view> lines, std::string_view source) {
    return CrLfLines(lines) + std::string(kCrLf) + std::string(kCrLf) +
           std::string(companion::kFooterMarker) + " " + std::string(source) + std::string(kCrLf);
}

struct LyricsFile {
    std::string Name;
    std::string Text;
};

std::vector<LyricsFile> LyricsFiles() {
    return {
        {"Amber Coast - Harbour Lights.txt",
         Filtered({"Harbour lights are burning low", "Every boat has somewhere to go",
                   "I keep my lantern by the door", "Waiting for you on the shore"})},
        // Filtered by a no-break space near its end rather than by the marker.
        {"Birch Lane - Paper Moon.txt",
         CrLfLines({"Cut a moon from paper white", "Pin it up to light the night",
                    "Paper moon,\xA0paper sky,\xA0never say goodbye"})},
        {"Cinder Hall - Slow River.txt",
         WithFooter({"Slow river, carry me home", "Over the stones where the willows have grown",
                     "", "Slow river, slow river", "Carry me home"},
                    "https://lyrics.example/cinder-hall/slow-river")},
        {"Delta Nine - Glass House.txt",
         Filtered({"We live in a house of glass", "Watching the seasons pass",
                   "Throw no stones, say no word", "Every whisper here is heard"})},
        // "Don_t" is shown as "Don't" and matched as "Dont".
        {"Don_t Stop - Lumen.txt",
         Filtered({"Don't stop the music now", "Keep on dancing anyhow"})},
        {"Ember Falls - Night Train.txt",
         Filtered({"Night train rolling through the rain", "Carry me away from pain"})},
        {"Fern Gully Band - Open Road.txt",
         Filtered({"Open road beneath my feet", "Summer dust and summer heat"})},
        {"Grey Wolves - Moon Song.txt",
         Filtered({"Sing a song to the silver moon", "Wolves are howling out of tune"})},
        {"Grey Wolves - Moon.txt", CrLfLines({"Moon, moon, moon", "(instrumental)"})},
        {"Harbor Kids - Summer.txt",
         Filtered({"Summer days on the harbor wall", "We were young and we had it all"})},
        // The marker stands too far from the end to count: not filtered.
        {"Juniper - Falling Snow.txt",
         CrLfLines({std::string(kFilterLine), "Falling snow on the juniper tree",
                    "Covers the hills and covers me", "Falling snow, falling slow",
                    "Where you are I cannot go"})},
        {"Kite Runners - Blue Sky.txt",
         Filtered({"Blue sky, blue sky", "Kites are running way up high"})},
        {"Zo\xC3\xAB Vance - \xC3\x89lan.txt",
         Filtered({"Avec \xC3\xA9lan, with open arms", "Into the light, away from harm"})},
        // Without a hyphen: not lyrics.
        {"Readme.txt", CrLfLines({"Lyrics saved by Songleaf."})},
        {"notes.txt", CrLfLines({"Remember to check the filters."})},
    };
}

// ----- MP3 tails, built from the layout ----------------------------------------

// A version 2 tag through the writer's own layout; the demo's fields always fit.
std::string Lyrics3v2Tag(FieldList fields, std::string_view trailer) {
    return BuildLyrics3v2Tag(fields, trailer).value_or(std::string());
}

std::string Lyrics3v1Tag(std::string_view lyrics) {
    return std::string(tail::kLyricsBegin) + std::string(lyrics) + std::string(tail::kLyricsV1End);
}

enum class LyricsTail { None, Version1, Version200, NewerVersion };

struct Mp3File {
    std::string_view RelativePath;
    LyricsTail Tail = LyricsTail::None;
    std::optional<Id3v1Tag> Id3;
};

constexpr std::string_view kDemoAlbum = "Versemark Demo";
constexpr std::string_view kDemoYear = "2024";
constexpr std::uint8_t kGenrePop = 13;

Id3v1Tag Id3(std::string_view artist, std::string_view title, std::uint8_t track) {
    return BuildId3v1Tag(artist, title, kDemoAlbum, kDemoYear, "", track, kGenrePop);
}

std::vector<Mp3File> Mp3Files() {
    return {
        // No ID3v1 block, a filtered lyrics file of its own: checked.
        {"Amber Coast - Harbour Lights.mp3", LyricsTail::None, std::nullopt},
        // Artist and title only in the folder name and the ID3v1 block: checked.
        {"Birch Lane/Paper Moon.mp3", LyricsTail::None, Id3("Birch Lane", "Paper Moon", 2)},
        // Unfiltered lyrics: left unchecked.
        {"Cinder Hall - Slow River.mp3", LyricsTail::None, Id3("Cinder Hall", "Slow River", 3)},
        // Already tagged (v2.00, v1, a newer version): left unchecked.
        {"Delta Nine - Glass House.mp3", LyricsTail::Version200,
         Id3("Delta Nine", "Glass House", 4)},
        {"Ember Falls - Night Train.mp3", LyricsTail::Version1,
         Id3("Ember Falls", "Night Train", 5)},
        {"Fern Gully Band - Open Road.mp3", LyricsTail::NewerVersion, std::nullopt},
        // Matches two lyrics files; the better scored one is filtered: checked.
        {"Grey Wolves - Moon Song (Live).mp3", LyricsTail::None,
         Id3("Grey Wolves", "Moon Song (Live)", 7)},
        // Two files share one lyrics file: both left unchecked.
        {"Harbor Kids - Summer.mp3", LyricsTail::None, std::nullopt},
        {"Remixes/Harbor Kids - Summer (Remix).mp3", LyricsTail::None,
         Id3("Harbor Kids", "Summer (Remix)", 1)},
        // Matches nothing.
        {"Intro Jingle.mp3", LyricsTail::None, std::nullopt},
        {"Juniper - Falling Snow.mp3", LyricsTail::None, std::nullopt},
        // "Don't" in the file name finds the lyrics word "Dont".
        {"Lumen - Don't Stop.mp3", LyricsTail::None, std::nullopt},
        // Found only through its ID3v1 artist and title.
        {"Mixtape/Side A/Track 07.mp3", LyricsTail::None, Id3("Kite Runners", "Blue Sky", 7)},
        // Capitals in UTF-8 find the small letters of the lyrics name.
        {"ZO\xC3\x8B VANCE - \xC3\x89LAN.mp3", LyricsTail::None, std::nullopt},
    };
}

std::string LyricsTailBytes(LyricsTail kind) {
    switch (kind) {
        case LyricsTail::Version1:
            return Lyrics3v1Tag(CrLfLines({"Night train (older lyrics)", "Rolling on and on"}));
        case LyricsTail::Version200:
            return Lyrics3v2Tag(
                {{std::string(tail::kFieldInd), std::string(tail::kIndLyricsPresent)},
                 {std::string(tail::kFieldLyrics),
                  CrLfLines({"Glass house (saved earlier)", "No stones"})},
                 {std::string(kFieldInfo), "Saved by hand"}},
                tail::kTrailerV200);
        case LyricsTail::NewerVersion:
            return Lyrics3v2Tag({{std::string(tail::kFieldLyrics), "Open road, a later format"}},
                                kTrailerNewerVersion);
        case LyricsTail::None:
            break;
    }
    return {};
}

std::string Mp3Bytes(const Mp3File& file) {
    std::string bytes = SilentMp3Audio(kAudioFrames);
    bytes += LyricsTailBytes(file.Tail);
    if (file.Id3) {
        bytes += Id3v1ToBytes(*file.Id3);
    }
    return bytes;
}

// ----- the stand-in companion --------------------------------------------------

std::string SettingsText(const std::string& lyricsFolder) {
    return std::string(companion::kCachePathKey) + " " + lyricsFolder + std::string(kCrLf) +
           std::string(companion::kSingleDirKey) + " " + std::string(companion::kSingleDirOn) +
           std::string(kCrLf);
}

// Backslashes and quotes escaped as the registry file writes them.
std::string RegistryEscaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

std::string WineRegistryText(const std::string& companionFolder) {
    return std::string(kWineRegistryHeader) + "[" + RegistryEscaped(companion::kRegistryKey) + "]" +
           std::string(kWineKeyTime) + "\n" + std::string(kWineInstallValue) + "=\"" +
           RegistryEscaped(companionFolder) + "\"\n";
}

// ----- writing ----------------------------------------------------------------

bool WriteBytes(const fs::path& path, std::string_view bytes) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) {
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

std::optional<std::string> FirstExisting(const std::vector<fs::path>& paths) {
    for (const fs::path& path : paths) {
        std::error_code error;
        if (fs::exists(fs::symlink_status(path, error))) {
            return Utf8FromPath(path);
        }
    }
    return std::nullopt;
}

}  // namespace

DemoLibraryResult WriteDemoLibrary(const std::string& dir) {
    DemoLibraryResult result;
    std::error_code error;
    // Names inside the program are UTF-8 on both systems; a path made from them
    // directly would read them in the Windows code page there.
    fs::path root = fs::absolute(PathFromUtf8(dir), error);
    if (error) {
        result.Error = "cannot resolve " + dir;
        return result;
    }
    root = root.lexically_normal();
    if (!root.has_filename()) {
        root = root.parent_path();
    }
    const fs::path music = root / kDemoMusicFolder;
    const fs::path lyrics = root / kDemoLyricsFolder;
    const fs::path companionFolder = root / kDemoCompanionFolder;
    const fs::path winePrefix = root / kDemoWinePrefixFolder;
    std::vector<fs::path> written = {music, lyrics, companionFolder};
    if (kRegistryInWinePrefix) {
        written.push_back(winePrefix);
    }
    if (const auto existing = FirstExisting(written)) {
        result.Error = *existing + " already exists; choose a new or empty folder";
        return result;
    }
    result.MusicFolder = Utf8FromPath(music);
    result.LyricsFolder = Utf8FromPath(lyrics);
    result.CompanionFolder = Utf8FromPath(companionFolder);
    if (kRegistryInWinePrefix) {
        result.WinePrefix = Utf8FromPath(winePrefix);
    }

    const auto fail = [&](const fs::path& path) {
        result.Error = "cannot write " + Utf8FromPath(path);
        return result;
    };
    for (const LyricsFile& file : LyricsFiles()) {
        const fs::path path = lyrics / PathFromUtf8(file.Name);
        if (!WriteBytes(path, file.Text)) {
            return fail(path);
        }
        ++result.LyricsFiles;
    }
    for (const Mp3File& file : Mp3Files()) {
        const fs::path path = music / PathFromUtf8(file.RelativePath);
        if (!WriteBytes(path, Mp3Bytes(file))) {
            return fail(path);
        }
        ++result.Mp3Files;
    }
    const fs::path settings = companionFolder / companion::kSettingsFileName;
    if (!WriteBytes(settings, SettingsText(result.LyricsFolder))) {
        return fail(settings);
    }
    // On Windows the companion's entry lies in the system's own registry, which
    // the demo leaves alone.
    const fs::path registry = winePrefix / kWineRegistryFile;
    if (kRegistryInWinePrefix && !WriteBytes(registry, WineRegistryText(result.CompanionFolder))) {
        return fail(registry);
    }
    result.Ok = true;
    return result;
}

}  // namespace versemark
