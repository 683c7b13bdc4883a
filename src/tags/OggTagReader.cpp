// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "tags/AudioTag.h"
#include "tags/ByteOrder.h"
#include "tags/FormatLayout.h"

namespace versemark {
namespace {

// The first stream's second packet (the comment header), gathered page by page;
// pages of other streams are skipped.
class CommentPacketReader {
  public:
    CommentPacketReader(RandomAccessFile& file, std::uint64_t length)
        : file_(file), length_(length) {}

    // The packet; nullopt when the pages end, break off or hold too much first.
    std::optional<std::string> Read() {
        std::uint64_t page = 0;
        // Every page moves on by at least its header, so the walk ends.
        while (page + ogg::kPageHeaderSize <= length_) {
            const std::optional<std::uint64_t> next = ReadPage(page);
            if (!next) {
                return std::nullopt;
            }
            if (done_) {
                return std::move(packet_);
            }
            page = *next;
        }
        return std::nullopt;
    }

  private:
    // Takes what the page at `page` adds to the comment packet; the next page's
    // offset, or nullopt when the page cannot be read or is no Ogg page.
    std::optional<std::uint64_t> ReadPage(std::uint64_t page) {
        std::string header;
        if (!file_.ReadAt(page, ogg::kPageHeaderSize, header) ||
            !header.starts_with(ogg::kCapturePattern)) {
            return std::nullopt;
        }
        const auto segmentCount = static_cast<unsigned char>(header[ogg::kSegmentCountOffset]);
        std::string segments;
        if (page + ogg::kPageHeaderSize + segmentCount > length_ ||
            !file_.ReadAt(page + ogg::kPageHeaderSize, segmentCount, segments)) {
            return std::nullopt;
        }
        std::uint64_t at = page + ogg::kPageHeaderSize + segmentCount;
        const std::uint64_t serial =
            LittleEndian(std::string_view(header).substr(ogg::kSerialOffset), ogg::kSerialWidth);
        if (!serial_) {
            serial_ = serial;
        }
        if (serial != *serial_) {  // another stream's page
            for (const char segment : segments) {
                at += static_cast<unsigned char>(segment);
            }
            return at <= length_ ? std::optional(at) : std::nullopt;
        }
        std::uint64_t runStart = at;  // where this page's share of the comment packet starts
        for (const char segment : segments) {
            at += static_cast<unsigned char>(segment);
            if (static_cast<unsigned char>(segment) < ogg::kFullSegment) {  // a packet ends
                if (packetIndex_ == 1) {
                    done_ = true;
                    return Take(runStart, at) ? std::optional(at) : std::nullopt;
                }
                ++packetIndex_;
                runStart = at;
            }
        }
        if (packetIndex_ == 1 && !Take(runStart, at)) {
            return std::nullopt;
        }
        return at;
    }

    // Appends the bytes [from, to) to the packet; false when they lie beyond the
    // file, cannot be read or make the packet too long.
    bool Take(std::uint64_t from, std::uint64_t to) {
        if (to > length_ || to - from > ogg::kMostCommentPacket - packet_.size()) {
            return false;
        }
        std::string piece;
        if (!file_.ReadAt(from, static_cast<std::size_t>(to - from), piece)) {
            return false;
        }
        packet_ += piece;
        return true;
    }

    RandomAccessFile& file_;
    const std::uint64_t length_;
    std::optional<std::uint64_t> serial_;
    int packetIndex_ = 0;  // the packet the next segment belongs to
    bool done_ = false;
    std::string packet_;
};

}  // namespace

std::optional<AudioTag> ReadOggTag(RandomAccessFile& file) {
    const std::optional<std::uint64_t> length = file.Length();
    if (!length) {
        return std::nullopt;
    }
    const std::optional<std::string> packet = CommentPacketReader(file, *length).Read();
    if (!packet) {
        return std::nullopt;
    }
    std::string_view comment = *packet;
    for (const std::string_view magic : {ogg::kVorbisComment, ogg::kOpusComment}) {
        if (comment.starts_with(magic)) {
            comment.remove_prefix(magic.size());
            return ParseVorbisComment(comment);
        }
    }
    return std::nullopt;
}

}  // namespace versemark
