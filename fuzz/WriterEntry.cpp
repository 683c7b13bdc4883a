// SPDX-License-Identifier: GPL-3.0-or-later
#include "WriterEntry.h"

#include <memory>

#include "tagging/TaggingPass.h"

namespace versemark::fuzz {
namespace {

// The pass owns the file it opens; this hands it the caller's file instead.
class BorrowedFile final : public RandomAccessFile {
  public:
    explicit BorrowedFile(RandomAccessFile& file) : file_(file) {}

    std::optional<std::uint64_t> Length() override { return file_.Length(); }
    bool ReadAt(std::uint64_t offset, std::size_t count, std::string& out) override {
        return file_.ReadAt(offset, count, out);
    }
    bool WriteAt(std::uint64_t offset, std::string_view data) override {
        return file_.WriteAt(offset, data);
    }
    bool Truncate(std::uint64_t length) override { return file_.Truncate(length); }
    bool Close() override { return file_.Close(); }

  private:
    RandomAccessFile& file_;
};

constexpr const char* kMp3Path = "memory.mp3";

}  // namespace

bool TagMemoryFile(MemoryFile& mp3, const std::string& lyricsPath, const std::string& lyricsName) {
    const FileOpener open = [&mp3](const std::string& path,
                                   FileAccess) -> std::unique_ptr<RandomAccessFile> {
        if (path != kMp3Path) {
            return nullptr;
        }
        return std::make_unique<BorrowedFile>(mp3);
    };
    return TagFile(kMp3Path, lyricsPath, lyricsName, open);
}

}  // namespace versemark::fuzz
