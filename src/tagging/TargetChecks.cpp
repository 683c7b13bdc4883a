// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/TargetChecks.h"

#include <optional>

#include "platform/FileSystem.h"

namespace versemark {

TaggingTarget ResolveTaggingTarget(const std::string& mp3Path, const std::string& folder) {
    const std::optional<std::string> real = ResolvedPath(mp3Path);
    if (!real) {
        return {mp3Path, false};
    }
    const std::string chosen =
        folder.empty() ? Utf8FromPath(PathFromUtf8(AbsolutePath(mp3Path)).parent_path()) : folder;
    const std::optional<std::string> realFolder = ResolvedPath(chosen);
    return {*real, !realFolder || !LiesWithin(*real, *realFolder)};
}

namespace {

// Why the target, open as `file`, may not be written at all: the link and
// permission checks, without the look at its content.
std::string AccessRefusal(RandomAccessFile& file, const TaggingTarget& target) {
    // A file in memory has no rights to check and lies nowhere.
    const std::optional<FileRights> rights = file.Rights();
    if (rights && target.OutOfFolder && !rights->OwnedByUser) {
        return std::string(kReasonLinkOut);
    }
    if (rights && !rights->Writable) {
        return std::string(kReasonNoWritePermission);
    }
    return {};
}

}  // namespace

std::string TargetRefusal(RandomAccessFile& file, const TaggingTarget& target, bool allFormats,
                          ContentKind* kind) {
    if (std::string refusal = AccessRefusal(file, target); !refusal.empty()) {
        return refusal;
    }
    const ContentKind content = DetectContentKind(file);
    if (content != ContentKind::MpegAudio && !(allFormats && HasOwnLyricsField(content))) {
        return std::string(kReasonNotMpeg);
    }
    if (kind) {
        *kind = content;
    }
    return {};
}

}  // namespace versemark
