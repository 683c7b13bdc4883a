// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <taglib/tiostream.h>

#include <cstdint>
#include <string>

#include "platform/RandomAccessFile.h"
#include "tags/PieceTable.h"

namespace versemark {

// A TagLib stream over a file that is never written: every write, insert,
// removal and cut TagLib makes goes into a piece table over the file's bytes,
// and reads go through that table. After TagLib saved, the table is the new
// file. A read of the file that fails is remembered (TagLib would take it for
// the file's end): Failed() tells, and the table must not be used then.
class PieceStream : public TagLib::IOStream {
  public:
    PieceStream(RandomAccessFile& source, std::uint64_t sourceLength, std::string name);

    const PieceTable& Table() const { return table_; }
    bool Failed() const { return failed_; }
    SourceReader Reader() const;

    TagLib::FileName name() const override;
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector& data) override;
    void insert(const TagLib::ByteVector& data, unsigned long start = 0,
                unsigned long replace = 0) override;
    void removeBlock(unsigned long start = 0, unsigned long length = 0) override;
    bool readOnly() const override { return false; }
    bool isOpen() const override { return true; }
    void seek(long offset, Position p = Beginning) override;
    long tell() const override;
    long length() override;
    void truncate(long length) override;

  private:
    RandomAccessFile& source_;
    std::string name_;
    PieceTable table_;
    std::uint64_t position_ = 0;
    bool failed_ = false;
};

}  // namespace versemark
