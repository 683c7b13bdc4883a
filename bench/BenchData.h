// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Synthetic but realistic material for the benchmark programs: a lyrics catalogue
// named "Artist - Title" from a vocabulary with a few very common short words
// ("I", "A", "Me", "Love") and a long tail of rarer ones, some accented letters
// in UTF-8, and MP3 files whose first 500 bytes hold an ID3v2 tag with the song's
// texts followed by binary picture data, most with an ID3v1 block.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "demo/SilentMp3.h"
#include "matching/MatchFolder.h"
#include "matching/Mp3Sample.h"
#include "matching/Mp3Text.h"
#include "tags/TagRecords.h"

namespace versemark::bench {

struct Song {
    std::string Artist;
    std::string Title;
    std::string Album;
};

class Corpus {
  public:
    explicit Corpus(std::uint64_t seed, std::size_t vocabularySize = 40000) : random_(seed) {
        static const std::vector<std::string> common = {
            "I",    "A",    "Me",  "You",  "Love", "The",   "My",    "In",    "Of",
            "On",   "Baby", "Be",  "It",   "Is",   "Don_t", "Night", "Heart", "Time",
            "Girl", "Way",  "All", "Want", "Song", "Blue",  "Rain",  "Home",  "Away"};
        vocabulary_ = common;
        static const std::vector<std::string> syllables = {
            "ka",  "lo",  "mi",  "ra",  "ne",  "so",  "tu",  "vi", "da",   "ber", "gan", "lin",
            "mor", "tes", "val", "xo",  "zu",  "ph",  "qua", "ri", "ston", "el",  "an",  "or",
            "ic",  "us",  "ey",  "dre", "bro", "fla", "gri", "jo", "ku",   "wa",  "ye",  "sha"};
        std::set<std::string> seen(common.begin(), common.end());
        while (vocabulary_.size() < vocabularySize) {
            std::string word;
            const int count = 1 + Pick(4);
            for (int i = 0; i < count; ++i) {
                word += syllables[Pick(static_cast<int>(syllables.size()))];
            }
            word[0] = static_cast<char>(word[0] - 'a' + 'A');
            if (Pick(25) == 0) {
                word += Pick(2) == 0 ? "\xC3\xA9" : "\xC3\xB6";  // é, ö in UTF-8
            }
            if (seen.insert(word).second) {
                vocabulary_.push_back(word);
            }
        }
        // Titles draw common words a third of the time, else from a long tail
        // (weights falling as rank^-0.7); artist names draw the tail evenly.
        std::vector<double> commonWeights;
        for (std::size_t r = 0; r < common.size(); ++r) {
            commonWeights.push_back(1.0 / static_cast<double>(r + 1));
        }
        commonPick_ =
            std::discrete_distribution<std::size_t>(commonWeights.begin(), commonWeights.end());
        std::vector<double> tailWeights;
        for (std::size_t r = common.size(); r < vocabulary_.size(); ++r) {
            tailWeights.push_back(std::pow(static_cast<double>(r - common.size() + 1), -0.7));
        }
        tailPick_ = std::discrete_distribution<std::size_t>(tailWeights.begin(), tailWeights.end());
        commonCount_ = common.size();
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    std::string Word() {
        if (Pick(3) == 0) {
            return vocabulary_[commonPick_(random_)];
        }
        return vocabulary_[commonCount_ + tailPick_(random_)];
    }
    std::string RareWord() {
        return vocabulary_[commonCount_ + static_cast<std::size_t>(Pick(static_cast<int>(
                                              vocabulary_.size() - commonCount_)))];
    }
    std::string Words(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += (i ? " " : "") + Word();
        }
        return text;
    }
    std::string ArtistName() {
        if (Pick(6) == 0) {
            return "The " + RareWord();
        }
        return Pick(2) == 0 ? RareWord() : RareWord() + " " + RareWord();
    }
    // 1 to 3 words, 2 on average.
    std::string Phrase() { return Words(1 + Pick(2) + Pick(2)); }

    // `count` distinct songs by artists with about twenty songs each on one to
    // three albums (the companion fetches whole discographies).
    std::vector<Song> Catalogue(std::size_t count) {
        const std::vector<Artist> artists = Artists(count / 20 + 1);
        std::set<std::string> names;
        std::vector<Song> songs;
        while (songs.size() < count) {
            const Song song = SongBy(artists[Pick(static_cast<int>(artists.size()))]);
            if (names.insert(song.Artist + " - " + song.Title).second) {
                songs.push_back(song);
            }
        }
        return songs;
    }

    // Songs for the MP3 files, album by album: whole albums of the catalogue until
    // `knownShare` of `count` is reached, then albums of artists the cache does not
    // know.
    std::vector<Song> Mp3Songs(const std::vector<Song>& catalogue, std::size_t count,
                               double knownShare) {
        std::map<std::pair<std::string, std::string>, std::vector<Song>> albums;
        for (const Song& song : catalogue) {
            albums[{song.Artist, song.Album}].push_back(song);
        }
        std::vector<const std::vector<Song>*> order;
        for (const auto& [key, tracks] : albums) {
            order.push_back(&tracks);
        }
        std::shuffle(order.begin(), order.end(), random_);
        std::vector<Song> songs;
        const auto known = static_cast<std::size_t>(knownShare * static_cast<double>(count));
        for (const auto* tracks : order) {
            if (songs.size() >= known) {
                break;
            }
            for (const Song& song : *tracks) {
                if (songs.size() < known) {
                    songs.push_back(song);
                }
            }
        }
        while (songs.size() < count) {
            const Artist stranger = Artists(1).front();
            for (int track = 0; track < 8 + Pick(5) && songs.size() < count; ++track) {
                songs.push_back(SongBy(stranger));
            }
        }
        return songs;
    }

    // The bytes of an MP3 file: ID3v2 text frames, picture bytes, audio, and mostly
    // an ID3v1 block; now and then a Lyrics3 tag.
    std::string Mp3Bytes(const Song& song, int track, std::size_t audioFrames) {
        std::string frames;
        AddFrame(frames, "TIT2", Display(song.Title));
        AddFrame(frames, "TPE1", Display(song.Artist));
        AddFrame(frames, "TALB", Display(song.Album));
        AddFrame(frames, "TRCK", std::to_string(track));
        AddFrame(frames, "TSSE", "LAME3.99r");
        std::string picture;
        for (int i = 0; i < 2000; ++i) {
            picture += static_cast<char>(Pick(256));
        }
        AddFrame(frames, "APIC", picture);
        std::string bytes = "ID3\x03";
        bytes += std::string(2, '\0');
        bytes += SyncSafe(frames.size());
        bytes += frames;
        bytes += SilentMp3Audio(audioFrames);
        if (Pick(20) == 0) {
            bytes += "LYRICSBEGININD00003100LYR00005la la000033LYRICS200";
        }
        if (Pick(5) != 0) {
            // Taggers pad with NULs or with blanks.
            const char pad = Pick(2) == 0 ? '\0' : ' ';
            auto padded = [pad](std::string text) {
                text.resize(30, pad);
                return text;
            };
            Id3v1Tag tag;
            tag.TagId = "TAG";
            tag.Title = padded(Display(song.Title));
            tag.Artist = padded(Display(song.Artist));
            tag.Album = padded(Display(song.Album));
            tag.Year = std::to_string(1960 + Pick(60));
            tag.Comment = "Ripped";
            tag.Track = static_cast<std::uint8_t>(track);
            tag.Genre = static_cast<std::uint8_t>(Pick(80));
            bytes += Id3v1ToBytes(tag);
        }
        return bytes;
    }

    // The folder and file name of a song: "<Artist>/<Album>/<NN> <Title>.mp3".
    static std::string Mp3RelativePath(const Song& song, int track, int serial) {
        return FileSafe(Display(song.Artist)) + "/" + FileSafe(Display(song.Album)) + "/" +
               (track < 10 ? "0" : "") + std::to_string(track) + " " +
               FileSafe(Display(song.Title)) + " " + std::to_string(serial) + ".mp3";
    }

    // Lyrics text, with the filter mark at its end for most files.
    std::string LyricsText() {
        std::string text;
        for (int line = 0; line < 12; ++line) {
            text += Words(3 + Pick(4)) + "\r\n";
        }
        if (Pick(10) < 6) {
            text += "\r\n[Songleaf] filter used\r\n";
        }
        return text;
    }

    static std::string LyricsFileName(const Song& song) {
        return FileSafe(song.Artist) + " - " + FileSafe(song.Title) + ".txt";
    }

  private:
    struct Artist {
        std::string Name;
        std::vector<std::string> Albums;
    };

    std::vector<Artist> Artists(std::size_t count) {
        std::vector<Artist> artists;
        for (std::size_t i = 0; i < count; ++i) {
            Artist artist{ArtistName(), {}};
            for (int a = 0; a < 1 + Pick(3); ++a) {
                artist.Albums.push_back(Phrase());
            }
            artists.push_back(artist);
        }
        return artists;
    }

    Song SongBy(const Artist& artist) {
        return {
            artist.Name, Phrase(),
            artist.Albums[static_cast<std::size_t>(Pick(static_cast<int>(artist.Albums.size())))]};
    }

    // The name as a tag would show it: "Don_t" is "Don't".
    static std::string Display(std::string text) {
        std::replace(text.begin(), text.end(), '_', '\'');
        return text;
    }
    static std::string FileSafe(std::string text) {
        std::replace(text.begin(), text.end(), '/', ' ');
        return text;
    }
    static std::string SyncSafe(std::size_t size) {
        std::string bytes(4, '\0');
        for (int i = 3; i >= 0; --i) {
            bytes[static_cast<std::size_t>(i)] = static_cast<char>(size & 0x7F);
            size >>= 7;
        }
        return bytes;
    }
    static void AddFrame(std::string& frames, const char* id, const std::string& text) {
        const std::size_t size = text.size() + 1;
        frames += id;
        for (int shift = 24; shift >= 0; shift -= 8) {
            frames += static_cast<char>((size >> shift) & 0xFF);
        }
        frames += std::string(2, '\0');
        frames += '\0';  // text encoding byte / picture header
        frames += text;
    }

    std::mt19937_64 random_;
    std::vector<std::string> vocabulary_;
    std::size_t commonCount_ = 0;
    std::discrete_distribution<std::size_t> commonPick_;
    std::discrete_distribution<std::size_t> tailPick_;
};

// The lyrics index of a catalogue laid out in `folders` cache folders under /cache.
inline LyricsIndex IndexOf(const std::vector<Song>& catalogue, std::size_t folders) {
    LyricsIndex index;
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const std::string folder = "/cache/f" + std::to_string(i % folders);
        if (auto entry = MakeLyricsEntry(folder, Corpus::LyricsFileName(catalogue[i]))) {
            index.Entries.push_back(*entry);
        }
    }
    return index;
}

// The text of an MP3 file held in memory under `path`, before normalisation.
inline std::string RawMp3TextOf(const std::string& path, const std::string& bytes) {
    const std::string head = bytes.substr(0, kMp3HeadSize);
    const std::size_t tailSize = std::min(bytes.size(), kMp3TailSize);
    const Mp3Sample sample = Mp3SampleFromBytes(
        head, std::string_view(bytes).substr(bytes.size() - tailSize), bytes.size());
    return BuildMp3Text(std::string_view(path).substr(0, path.size() - 4), head, sample.Id3Block);
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Writes a cache of `catalogue` in `folders` subfolders and `mp3Count` MP3 files
// under `root` ("cache/" and "music/"); returns the number of files written.
inline std::size_t WriteLibrary(const std::filesystem::path& root, Corpus& corpus,
                                const std::vector<Song>& catalogue, std::size_t folders,
                                std::size_t mp3Count, double knownShare) {
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        WriteBytes(root / "cache" / ("f" + std::to_string(i % folders)) /
                       Corpus::LyricsFileName(catalogue[i]),
                   corpus.LyricsText());
    }
    const std::vector<Song> songs = corpus.Mp3Songs(catalogue, mp3Count, knownShare);
    for (std::size_t i = 0; i < songs.size(); ++i) {
        const int track = 1 + corpus.Pick(15);
        WriteBytes(root / "music" / Corpus::Mp3RelativePath(songs[i], track, static_cast<int>(i)),
                   corpus.Mp3Bytes(songs[i], track, 4));
    }
    return catalogue.size() + songs.size();
}

}  // namespace versemark::bench

namespace versemark::bench {

// Song names that differ early and late, with mixed case, so that sorting works.
inline std::string SongName(std::size_t i) {
    static const char* artists[] = {"alpha", "Bravo", "charlie", "Delta", "echo", "Foxtrot"};
    return std::string(artists[i % 6]) + " " + std::to_string((i * 7919) % 100003) + " - Song " +
           std::to_string(i);
}

// A cache of `count` lyrics files in one folder and a folder of `count` MP3 files
// named after the same songs: every file matches one lyrics file, every row is checked.
inline void WriteAllMatchLibrary(const std::filesystem::path& root, std::size_t count) {
    constexpr std::size_t kId3v1Size = 128;
    const std::string audio = SilentMp3Audio(1) + std::string(kId3v1Size, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = SongName(i);
        WriteBytes(root / "cache" / (name + ".txt"),
                   "Words of " + name + "\r\nla la la\r\n[Profanity] filter used\r\n");
        WriteBytes(root / "music" / (name + ".mp3"), audio);
    }
}

// A library on disk under `root`, written once and reused by later runs (a file
// "complete" marks a finished one).
inline void EnsureLibrary(const std::filesystem::path& root, std::size_t lyrics,
                          std::size_t folders, std::size_t mp3Count, std::uint64_t seed) {
    const std::filesystem::path marker = root / "complete";
    if (std::filesystem::exists(marker)) {
        return;
    }
    std::filesystem::remove_all(root);
    Corpus corpus(seed);
    const std::vector<Song> catalogue = corpus.Catalogue(lyrics);
    const std::size_t files = WriteLibrary(root, corpus, catalogue, folders, mp3Count, 0.7);
    WriteBytes(marker, std::to_string(files) + "\n");
}

// Timings of repeated runs, in milliseconds.
struct Timings {
    std::vector<double> Ms;

    double Median() const {
        std::vector<double> sorted = Ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[sorted.size() / 2];
    }
    double Min() const { return Ms.empty() ? 0 : *std::min_element(Ms.begin(), Ms.end()); }
    double Max() const { return Ms.empty() ? 0 : *std::max_element(Ms.begin(), Ms.end()); }
};

template <typename F>
double TimeMs(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Processor time of this process, in milliseconds: less disturbed than the clock
// on a machine that others share.
inline double ProcessCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

template <typename F>
double CpuMs(F&& f) {
    const double start = ProcessCpuMs();
    f();
    return ProcessCpuMs() - start;
}

inline void PrintTimings(const char* name, const Timings& t) {
    std::printf("%-30s median %8.1f ms   min %8.1f   max %8.1f   (%zu runs)\n", name, t.Median(),
                t.Min(), t.Max(), t.Ms.size());
}

}  // namespace versemark::bench
