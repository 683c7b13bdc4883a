// SPDX-License-Identifier: GPL-3.0-or-later
// Tagging by a copy in a build without the ID3v2 lyrics frame: never done.
#include "tagging/ReplaceByCopy.h"

namespace versemark {

TagResult TagFileByCopy(const std::string& mp3Path, const std::string&, std::string_view,
                        PassJournal*) {
    return {mp3Path, false, "this build cannot write ID3v2 lyrics frames"};
}

TagResult TagOpenFileWithId3v2(std::unique_ptr<RandomAccessFile> old, const std::string& mp3Path,
                               const std::string&, const std::string&, std::string_view,
                               PassJournal*, const FileOpener&) {
    old->Close();
    return {mp3Path, false, "this build cannot write ID3v2 lyrics frames"};
}

}  // namespace versemark
