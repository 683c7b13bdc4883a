// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"
#include "tagging/JournaledWrite.h"
#include "tagging/TagResult.h"

namespace versemark {

class PassJournal;

// Tags one MP3 file (through a link at `mp3Path`, which stays) with one lyrics
// file twice over: the Lyrics3 tag and ID3v1 block at its end as always, and the
// lyrics frame in the ID3v2 tag at its start.
// A new ID3v2 tag may move the audio, so the whole file is written anew beside
// the old one, flushed, and renamed over it: the name never leads to a half
// written file. Tagged when the new file is in place; otherwise the old file is
// unchanged, no new file is left, and the reason says why. The copy is recorded in
// `journal` (when there is one), so that recovery can remove a copy a killed run
// left behind.
TagResult TagFileByCopy(const std::string& mp3Path, const std::string& lyricsPath,
                        std::string_view lyricsName, PassJournal* journal = nullptr);

// The same for a file already open (for writing) and checked as `old`, which
// really lies at `realPath` (resolved, replaced without following a link); the
// result and the journal name it `mp3Path`. Where the new ID3v2 tag has the old
// one's size, the file is written in place instead: the changed bytes of the tag
// and the new tail under one journal record (`open` opens it again should its
// close fail). Otherwise the audio is copied from `old` a block at a time. `old`
// is closed either way.
TagResult TagOpenFileWithId3v2(std::unique_ptr<RandomAccessFile> old, const std::string& mp3Path,
                               const std::string& realPath, const std::string& lyricsPath,
                               std::string_view lyricsName, PassJournal* journal,
                               const FileOpener& open);

}  // namespace versemark
