// SPDX-License-Identifier: GPL-3.0-or-later
// Tags an arbitrary file held in memory with arbitrary lyrics while one file
// operation fails, and checks the writer's promises: the audio part is never
// touched; a failure leaves the file as it was; a success ends with the new
// Lyrics3 tag and a 128-byte ID3v1 block and reads back the lyrics written;
// tagging the result again changes nothing.
//
// Input: byte 0 the number of the operation that fails (modulo 16; 0: none),
// bytes 1-2 how many bytes a failing write stores, bytes 3-4 the length of the
// lyrics (both little-endian), then the lyrics, then the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Check.h"
#include "MemoryFile.h"
#include "NamedMemoryFile.h"
#include "WriterEntry.h"
#include "tags/DecimalDigits.h"
#include "tags/LyricsText.h"
#include "tags/SavedLyrics.h"
#include "tags/TagReaders.h"
#include "tags/TailLayout.h"

namespace versemark::fuzz {
namespace {

constexpr std::size_t kHeaderSize = 5;
// A tagging makes about a dozen calls on the file; higher numbers would mostly
// mean no failure at all.
constexpr std::size_t kOperationsTried = 16;
constexpr std::string_view kLyricsName = "Some Band - Some Song";

struct Case {
    std::size_t FailingOperation = 0;  // 0: none
    std::size_t BytesBeforeFailure = 0;
    std::string Lyrics;
    std::string Mp3;
};

std::size_t TwoBytes(const std::uint8_t* at) {
    return at[0] | (static_cast<std::size_t>(at[1]) << 8);
}

std::optional<Case> CaseFromInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderSize) {
        return std::nullopt;
    }
    Case c;
    c.FailingOperation = data[0] % kOperationsTried;
    c.BytesBeforeFailure = TwoBytes(data + 1);
    const std::string_view rest(reinterpret_cast<const char*>(data + kHeaderSize),
                                size - kHeaderSize);
    const std::size_t lyricsSize = std::min(TwoBytes(data + 3), rest.size());
    c.Lyrics = std::string(rest.substr(0, lyricsSize));
    c.Mp3 = std::string(rest.substr(lyricsSize));
    return c;
}

// The field data the writer stores for `lyrics`: the text in the code page and
// prepared, cut to the field's 5 digits, the character 255 made a blank.
std::string StoredLyrics(std::string lyrics) {
    PrepareStoredLyrics(lyrics);
    lyrics.resize(std::min(lyrics.size(), tail::kMaxFieldData));
    for (char& c : lyrics) {
        if (c == tail::kForbiddenChar) {
            c = tail::kForbiddenReplacement;
        }
    }
    return lyrics;
}

bool HasId3v1Block(std::string_view file) {
    return file.size() >= tail::kId3v1Size &&
           file.substr(file.size() - tail::kId3v1Size).starts_with(tail::kId3v1Marker);
}

std::size_t LyricsEndOf(std::string_view file) {
    return HasId3v1Block(file) ? file.size() - tail::kId3v1Size : file.size();
}

// The layout after a successful tagging, read here from the bytes alone: old
// bytes up to S, where an old tag began or at the old E; a version 2 tag; the
// old ID3v1 block or a new one.
void CheckNewTail(std::string_view before, std::string_view after) {
    using namespace tail;
    Check(after.size() >= kId3v1Size + kLyricsBeginSize + kTagOverhead, "the new tail fits");
    const std::size_t newEnd = after.size() - kId3v1Size;
    Check(after.substr(newEnd).starts_with(kId3v1Marker),
          "the file ends with a 128-byte TAG block");
    Check(
        !HasId3v1Block(before) || after.substr(newEnd) == before.substr(before.size() - kId3v1Size),
        "an existing ID3v1 block is kept byte for byte");
    Check(after.substr(newEnd - kTrailerSize, kTrailerV2Prefix.size()) == kTrailerV2Prefix,
          "the tag ends with a version 2 trailer");
    const auto tagSize = ParseDigits(after.substr(newEnd - kTagOverhead, kTagSizeDigits));
    Check(tagSize && *tagSize <= newEnd - kTagOverhead, "the tag size is digits within the file");
    const std::size_t start = newEnd - kTagOverhead - *tagSize;
    Check(after.substr(start, kLyricsBeginSize) == kLyricsBegin, "the tag starts at its size");
    const std::size_t oldEnd = LyricsEndOf(before);
    Check(start <= oldEnd, "the new tag starts at or before the old lyrics end");
    Check(start == oldEnd || before.substr(start, kLyricsBeginSize) == kLyricsBegin,
          "the new tag replaces an old tag or follows the old lyrics end");
    Check(after.substr(0, start) == before.substr(0, start), "the audio part is unchanged");
}

// The lyrics read back are those written; data shorter than the field held is
// padded with NULs to its old length.
void CheckLyricsReadBack(std::string_view after, const std::string& lyrics) {
    MemoryFile copy{std::string(after)};
    const std::string readBack = ReadSavedLyrics(copy);
    const std::string stored = StoredLyrics(lyrics);
    Check(readBack.starts_with(stored), "the lyrics read back are the lyrics written");
    Check(readBack.find_first_not_of('\0', stored.size()) == std::string::npos,
          "only NULs follow the lyrics written");
}

void CheckTaggingTwice(std::string_view after, const std::string& lyricsPath) {
    MemoryFile again{std::string(after)};
    Check(TagMemoryFile(again, lyricsPath, std::string(kLyricsName)),
          "a tagged file can be tagged again");
    Check(again.Bytes().size() == after.size(), "tagging twice keeps the length");
    Check(again.Bytes() == after, "tagging twice with the same lyrics changes nothing");
}

}  // namespace
}  // namespace versemark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace versemark::fuzz;
    // The tagging pass reads the lyrics from a file.
    static NamedMemoryFile lyricsFile("versemark-fuzz-lyrics");
    const std::optional<Case> c = CaseFromInput(data, size);
    if (!c) {
        return 0;
    }
    const std::string& lyricsPath = lyricsFile.Write(c->Lyrics);

    MemoryFile file(c->Mp3);
    if (c->FailingOperation > 0) {
        file.FailingOperation = c->FailingOperation;
        file.BytesBeforeFailure = c->BytesBeforeFailure;
    }
    const bool tagged = TagMemoryFile(file, lyricsPath, std::string(kLyricsName));
    const std::string& after = file.Bytes();
    Check(file.ReadsPastEnd() == 0, "the writer reads nothing beyond the end of the file");
    Check(!tagged || !file.FailedOperation(), "a failed operation is never reported as tagged");

    if (!tagged && after == c->Mp3) {
        return 0;
    }
    Check(tagged, "a failed tagging leaves the file unchanged");
    CheckNewTail(c->Mp3, after);
    CheckLyricsReadBack(after, c->Lyrics);
    CheckTaggingTwice(after, lyricsPath);
    return 0;
}
