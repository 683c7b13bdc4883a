// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/SongLibrary.h"

#include "matching/LyricsIndex.h"

namespace versemark::testing {
namespace {

constexpr std::size_t kAudioBytes = 2000;

}  // namespace

SongLibrary::SongLibrary() {
    dir_.MakeFolder("cache");
    dir_.MakeFolder("music");
}

std::string SongLibrary::AddLyrics(std::string_view name, std::string_view text) const {
    return dir_.WriteFile("cache/" + std::string(name) + ".txt", text);
}

std::string SongLibrary::AddMp3(std::string_view relative, const TailBuilder& file) const {
    return dir_.WriteFile("music/" + std::string(relative), file.bytes());
}

void SongLibrary::IndexInto(ProgramValues& values) const {
    values.Cache.CachePath = CachePath();
    values.Cache.SingleDir = true;
    BuildLyricsIndex(values.Cache.CachePath, values.Cache.SingleDir, values.Index);
}

std::string FilteredLyrics(std::string_view words) {
    return std::string(words) + "\r\nla la la\r\n\r\n[Profanity] filter used\r\n";
}

std::string UnfilteredLyrics(std::string_view words) {
    return std::string(words) + "\r\nla la la\r\nthe end of the song\r\n";
}

TailBuilder PlainMp3() {
    TailBuilder file;
    file.audio(kAudioBytes);
    return file;
}

int EntryNamed(const ProgramValues& values, std::string_view displayName) {
    const auto& entries = values.Index.Entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].DisplayName == displayName) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace versemark::testing
