// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/AudioTag.h"

namespace versemark {

std::optional<AudioTag> ReadAudioTag(RandomAccessFile& file, ContentKind kind) {
    switch (kind) {
        case ContentKind::Flac:
            return ReadFlacTag(file);
        case ContentKind::Ogg:
            return ReadOggTag(file);
        case ContentKind::Mp4:
            return ReadMp4Tag(file);
        default:
            return std::nullopt;
    }
}

}  // namespace versemark
