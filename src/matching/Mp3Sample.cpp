#include "matching/Mp3Sample.h"

#include <algorithm>

#include "platform/RandomAccessFile.h"

namespace versemark {

Mp3Sample Mp3SampleFromBytes(std::string head, std::string_view tail, std::uint64_t length) {
    Mp3Sample sample;
    sample.Head = std::move(head);
    if (tail.size() != std::min<std::uint64_t>(length, kMp3TailSize)) {
        return sample;
    }
    std::uint64_t lyricsEnd = length;
    std::string_view beforeBlock = tail;
    if (tail.size() >= tail::kId3v1Size) {
        const std::string_view block = tail.substr(tail.size() - tail::kId3v1Size);
        if (block.starts_with(tail::kId3v1Marker)) {
            sample.Id3Block = std::string(block);
            lyricsEnd = length - tail::kId3v1Size;
            beforeBlock = tail.substr(0, tail.size() - tail::kId3v1Size);
        }
    }
    if (lyricsEnd >= tail::kTrailerSize && beforeBlock.size() >= tail::kTrailerSize) {
        sample.Kind =
            TagKindFromTrailer(beforeBlock.substr(beforeBlock.size() - tail::kTrailerSize));
    }
    return sample;
}

Mp3Sample ReadMp3Sample(const std::string& path) {
    const auto file = OpenFile(path, FileAccess::Read);
    if (!file) {
        return {};
    }
    const std::optional<std::uint64_t> length = file->Length();
    if (!length) {
        return {};
    }
    std::string head;
    file->ReadAt(0, static_cast<std::size_t>(std::min<std::uint64_t>(*length, kMp3HeadSize)),
                 head);  // a short read keeps the bytes that were there
    const std::size_t tailSize =
        static_cast<std::size_t>(std::min<std::uint64_t>(*length, kMp3TailSize));
    std::string tail;
    if (!file->ReadAt(*length - tailSize, tailSize, tail)) {
        tail.clear();
    }
    const std::optional<FileStamp> stamp = file->Stamp();
    file->Close();
    Mp3Sample sample = Mp3SampleFromBytes(std::move(head), tail, *length);
    sample.Stamp = stamp;
    return sample;
}

}  // namespace versemark
