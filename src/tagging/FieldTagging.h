// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "platform/RandomAccessFile.h"
#include "tagging/Journal.h"
#include "tagging/JournaledWrite.h"
#include "tagging/TagResult.h"
#include "tags/FieldLyrics.h"

namespace versemark {

// Tags a FLAC, Ogg or MP4 file (open as `file` from `path`, really lying at
// `realPath`) with the lyrics file at `lyricsPath` in its own lyrics field: the
// prepared lyrics (as the MP3 tag gets them) as UTF-8 text. TagLib's save is
// caught in pieces over the file; a save that leaves every old byte in its
// place changes only the ranges that really differ, in place, and any other is
// written as a copy renamed over the file. Both are journaled so that recovery
// finds the old or the new file and undo gives the old bytes back. A file
// TagLib cannot read or save is left unchanged, with the reason.
TagResult TagFieldLyrics(std::unique_ptr<RandomAccessFile> file, const std::string& path,
                         const std::string& realPath, FieldFormat format,
                         const std::string& lyricsPath, PassJournal* journal,
                         const FileOpener& open);

}  // namespace versemark
