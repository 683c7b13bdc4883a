// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/PieceStream.h"

#include <taglib/tbytevector.h>

#include <algorithm>
#include <limits>

namespace versemark {
namespace {

std::string_view View(const TagLib::ByteVector& bytes) {
    return {bytes.data(), bytes.size()};
}

}  // namespace

PieceStream::PieceStream(RandomAccessFile& source, std::uint64_t sourceLength, std::string name)
    : source_(source), name_(std::move(name)), table_(sourceLength) {}

SourceReader PieceStream::Reader() const {
    return [this](std::uint64_t offset, std::size_t count, std::string& out) {
        return source_.ReadAt(offset, count, out);
    };
}

TagLib::FileName PieceStream::name() const {
    return name_.c_str();
}

TagLib::ByteVector PieceStream::readBlock(unsigned long length) {
    if (position_ >= table_.Length() || length == 0) {
        return {};
    }
    std::string bytes;
    if (!table_.Read(position_, static_cast<std::size_t>(length), bytes, Reader())) {
        failed_ = true;
        return {};
    }
    position_ += bytes.size();
    return TagLib::ByteVector(bytes.data(), static_cast<unsigned>(bytes.size()));
}

void PieceStream::writeBlock(const TagLib::ByteVector& data) {
    table_.Write(position_, View(data));
    position_ += data.size();
}

// As TagLib's own streams: `replace` bytes at `start` give way to `data`, and
// the position is left behind the new bytes.
void PieceStream::insert(const TagLib::ByteVector& data, unsigned long start,
                         unsigned long replace) {
    if (start > table_.Length()) {
        failed_ = true;  // no stream of TagLib's inserts past the end
        return;
    }
    table_.Remove(start, replace);
    table_.Insert(start, View(data));
    position_ = start + data.size();
}

// As TagLib's own streams: the position is left at the new end.
void PieceStream::removeBlock(unsigned long start, unsigned long length) {
    table_.Remove(start, length);
    position_ = table_.Length();
}

void PieceStream::seek(long offset, Position p) {
    std::int64_t base = 0;
    if (p == Current) {
        base = static_cast<std::int64_t>(position_);
    } else if (p == End) {
        base = static_cast<std::int64_t>(table_.Length());
    }
    const std::int64_t target = base + offset;
    position_ = target < 0 ? 0 : static_cast<std::uint64_t>(target);
}

long PieceStream::tell() const {
    return static_cast<long>(std::min<std::uint64_t>(position_, std::numeric_limits<long>::max()));
}

long PieceStream::length() {
    return static_cast<long>(
        std::min<std::uint64_t>(table_.Length(), std::numeric_limits<long>::max()));
}

void PieceStream::truncate(long length) {
    table_.Truncate(length < 0 ? 0 : static_cast<std::uint64_t>(length));
}

}  // namespace versemark
