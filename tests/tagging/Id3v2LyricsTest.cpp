// SPDX-License-Identifier: GPL-3.0-or-later
// The ID3v2 tag with the lyrics frame, byte for byte against tags built here from
// the layout: a 10-byte header ("ID3", version, revision, flags, size in four
// 7-bit bytes), then frames of a 10-byte header (id, size: plain in 2.3,
// 7-bit bytes in 2.4, two flag bytes) and their data, then zero padding.
#include <gtest/gtest.h>

#include <vector>

#include "tags/Id3v2Lyrics.h"

namespace versemark::testing {
namespace {

std::string SizeBytes(std::size_t size, int bitsPerByte) {
    std::string bytes;
    for (int shift = 3 * bitsPerByte; shift >= 0; shift -= bitsPerByte) {
        bytes += static_cast<char>((size >> shift) & ((1u << bitsPerByte) - 1));
    }
    return bytes;
}

std::string Tag(char version, char flags, const std::string& body) {
    return std::string("ID3") + version + '\0' + flags + SizeBytes(body.size(), 7) + body;
}

std::string Frame(char version, std::string_view id, const std::string& data) {
    return std::string(id) + SizeBytes(data.size(), version == 4 ? 7 : 8) + std::string(2, '\0') +
           data;
}

std::string Utf16(std::string_view ascii) {
    std::string bytes = "\xff\xfe";
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

TEST(Id3v2Lyrics, FileWithoutTagGetsVersion23WithUtf16Text) {
    std::string reason;
    // A byte that is not UTF-8 reads as Windows-1252: 0xE9 is U+00E9.
    const auto tag = BuildId3v2WithLyrics("", "ab\xe9\r\n", reason);
    ASSERT_TRUE(tag) << reason;
    const std::string text = Utf16("ab") + std::string("\xe9\0\r\0\n\0", 6);
    const std::string data = std::string("\x01XXX") + Utf16("") + std::string(2, '\0') + text;
    // A tag that grows (here from nothing) gets 4 KiB of padding.
    const std::string padding(4096, '\0');
    EXPECT_EQ(*tag, Tag(3, 0, Frame(3, "USLT", data) + padding));
    EXPECT_EQ(Id3v2TagSize(*tag), tag->size());
    EXPECT_TRUE(HasId3v2LyricsFrame(*tag));

    // With the file's ID3v1 block (ID3v1.1: a zero byte, then the track), its
    // values come first as text frames; blank fields get none.
    const std::string block = std::string("TAG") + "Title" + std::string(25, '\0') + "Art\xe9st" +
                              std::string(24, ' ') + std::string(30, '\0') + "1999" + "Nice" +
                              std::string(24, '\0') + '\0' + '\x07' + '\x11';
    ASSERT_EQ(block.size(), 128u);
    const auto withValues = BuildId3v2WithLyrics("", "ab\xe9\r\n", reason, block);
    ASSERT_TRUE(withValues) << reason;
    const auto utf16 = [](std::string_view ascii) { return "\x01" + Utf16(ascii); };
    const std::string artist =
        "\x01" + Utf16("Art") + std::string("\xe9\0", 2) + Utf16("st").substr(2);
    const std::string values =
        Frame(3, "TIT2", utf16("Title")) + Frame(3, "TPE1", artist) +
        Frame(3, "TYER", utf16("1999")) +
        Frame(3, "COMM", "\x01XXX" + Utf16("") + std::string(2, '\0') + Utf16("Nice")) +
        Frame(3, "TRCK", utf16("7")) + Frame(3, "TCON", utf16("(17)"));
    EXPECT_EQ(*withValues, Tag(3, 0, values + Frame(3, "USLT", data) + padding));
    // ID3v1.0: the comment runs over the track's two bytes.
    std::string v10 = block;
    v10.replace(97, 30, "Comment of thirty characters!!");
    const auto longComment = BuildId3v2WithLyrics("", "ab\xe9\r\n", reason, v10);
    ASSERT_TRUE(longComment) << reason;
    const std::string v10Values = Frame(3, "TIT2", utf16("Title")) + Frame(3, "TPE1", artist) +
                                  Frame(3, "TYER", utf16("1999")) +
                                  Frame(3, "COMM",
                                        "\x01XXX" + Utf16("") + std::string(2, '\0') +
                                            Utf16("Comment of thirty characters!!")) +
                                  Frame(3, "TCON", utf16("(17)"));
    EXPECT_EQ(*longComment, Tag(3, 0, v10Values + Frame(3, "USLT", data) + padding));
    // A file that has a tag keeps it as it is.
    const std::string old = Tag(3, 0, Frame(3, "TIT2", std::string("\0Other", 6)) + padding);
    const auto kept = BuildId3v2WithLyrics(old, "ab\xe9\r\n", reason, block);
    ASSERT_TRUE(kept) << reason;
    EXPECT_EQ(*kept, Tag(3, 0,
                         Frame(3, "TIT2", std::string("\0Other", 6)) + Frame(3, "USLT", data) +
                             std::string(4096 - Frame(3, "USLT", data).size(), '\0')));
}

TEST(Id3v2Lyrics, Version24KeepsOtherFramesAndSizeAndReplacesItsOwnFrameInPlace) {
    const std::string title = Frame(4, "TIT2", "\x03T\xc3\xaftle");
    const std::string otherLyrics = Frame(4, "USLT", std::string("\x03XXXother\0words", 15));
    const std::string ownLyrics = Frame(4, "USLT", std::string("\x03XXX\0old", 8));
    const std::string sortName = Frame(4, "TSOP",
                                       "\x03"
                                       "Band, The");
    const std::string padding(200, '\0');
    const std::string old = Tag(4, 0, title + otherLyrics + ownLyrics + sortName + padding);

    std::string reason;
    const auto tag = BuildId3v2WithLyrics(old, "new \xc3\xbc", reason);
    ASSERT_TRUE(tag) << reason;
    const std::string newLyrics = Frame(4, "USLT", std::string("\x03XXX\0new \xc3\xbc", 11));
    const std::string frames = title + otherLyrics + newLyrics + sortName;
    EXPECT_EQ(*tag, Tag(4, 0, frames + std::string(old.size() - 10 - frames.size(), '\0')));

    // The first frame with an empty description is what readers show, whatever
    // its language: it is replaced where it stands and keeps its language; the
    // own frame after it goes. One without a language gets "XXX".
    const std::string english = Frame(4, "USLT",
                                      std::string("\x03"
                                                  "eng\0english",
                                                  12));
    const auto first =
        BuildId3v2WithLyrics(Tag(4, 0, title + english + ownLyrics + padding), "new", reason);
    ASSERT_TRUE(first) << reason;
    const std::string replaced = title + Frame(4, "USLT",
                                               std::string("\x03"
                                                           "eng\0new",
                                                           8));
    EXPECT_EQ(*first, Tag(4, 0, replaced + std::string(200 + ownLyrics.size() + 4, '\0')));
    const std::string noLanguage = Frame(4, "USLT", std::string("\x03\0\0\0\0none", 9));
    const auto named = BuildId3v2WithLyrics(Tag(4, 0, noLanguage + padding), "new", reason);
    ASSERT_TRUE(named) << reason;
    EXPECT_EQ(*named,
              Tag(4, 0, Frame(4, "USLT", std::string("\x03XXX\0new", 8)) + std::string(201, '\0')));
}

// A 2.4 tag whose frames carry plain sizes (a walk with 7-bit sizes runs astray,
// one with plain sizes ends at the padding) gets its new frame the same way.
TEST(Id3v2Lyrics, Version24WithPlainFrameSizesKeepsThem) {
    const auto plainFrame = [](std::string_view id, const std::string& data) {
        return std::string(id) + SizeBytes(data.size(), 8) + std::string(2, '\0') + data;
    };
    // 256 bytes of data: plain 00 00 01 00, which as 7-bit bytes reads 128.
    const std::string comment = plainFrame("TXXX", "\x03" + std::string(255, 'c'));
    const std::string title = plainFrame("TIT2", "\x03Title");
    const std::string old = Tag(4, 0, comment + title + std::string(300, '\0'));
    std::string reason;
    const auto tag = BuildId3v2WithLyrics(old, std::string(140, 'w'), reason);
    ASSERT_TRUE(tag) << reason;
    const std::string lyrics =
        plainFrame("USLT", "\x03XXX" + std::string(1, '\0') + std::string(140, 'w'));
    EXPECT_EQ(*tag, Tag(4, 0, comment + title + lyrics + std::string(300 - lyrics.size(), '\0')));
    // Synchsafe sizes that a plain walk would also fit stay synchsafe.
    const std::string synchsafe = Frame(4, "TIT2", "\x03Title") + std::string(300, '\0');
    const auto same = BuildId3v2WithLyrics(Tag(4, 0, synchsafe), std::string(140, 'w'), reason);
    ASSERT_TRUE(same) << reason;
    const std::string synchsafeLyrics =
        Frame(4, "USLT", "\x03XXX" + std::string(1, '\0') + std::string(140, 'w'));
    EXPECT_EQ(*same, Tag(4, 0,
                         Frame(4, "TIT2", "\x03Title") + synchsafeLyrics +
                             std::string(300 - synchsafeLyrics.size(), '\0')));
}

TEST(Id3v2Lyrics, TagsWhoseFramesCannotBeKeptAreRefusedWithTheirReason) {
    const std::string title = Frame(3, "TIT2", std::string("\0Title", 6));
    const struct {
        std::string Tag;
        std::string Reason;
    } cases[] = {
        {Tag(2, 0, std::string(20, '\0')), "ID3v2.2"},
        {Tag(3, '\x80', title), "unsynchronised"},
        {Tag(3, '\x40', std::string(10, '\0') + title), "extended header"},
        {Tag(4, '\x10', title) + "3DI", "footer"},
        {Tag(3, 0, title.substr(0, title.size() - 1)), "beyond the tag's end"},
        {std::string("ID3\x03\0\0\0\0\x80\0", 10) + title, "damaged size"},
    };
    for (const auto& c : cases) {
        std::string reason;
        EXPECT_FALSE(BuildId3v2WithLyrics(c.Tag, "words", reason));
        EXPECT_NE(reason.find(c.Reason), std::string::npos) << reason;
    }
    EXPECT_EQ(Id3v2TagSize("no tag here"), 0u);
    EXPECT_FALSE(HasId3v2LyricsFrame(Tag(3, 0, title)));
}

// Every cut and every byte turned to 0xFF of a tag with frames: a new tag that
// measures what it says, or a reason; never a read beyond the bytes given.
TEST(Id3v2Lyrics, DamagedTagsGiveATagOfTheRightSizeOrAReason) {
    const std::string good =
        Tag(3, 0,
            Frame(3, "TIT2", std::string("\0Title", 6)) +
                Frame(3, "USLT", std::string("\0XXX\0old", 8)) + std::string(16, '\0'));
    std::vector<std::string> damaged;
    for (std::size_t size = 0; size < good.size(); ++size) {
        damaged.push_back(good.substr(0, size));
    }
    for (std::size_t at = 0; at < good.size(); ++at) {
        damaged.push_back(good);
        damaged.back()[at] = '\xff';
    }
    for (const std::string& tag : damaged) {
        std::string reason;
        const auto built = BuildId3v2WithLyrics(tag, "words", reason);
        if (built) {
            EXPECT_EQ(Id3v2TagSize(*built), built->size());
        } else {
            EXPECT_FALSE(reason.empty());
        }
        HasId3v2LyricsFrame(tag);
    }
}

}  // namespace
}  // namespace versemark::testing
