// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds the journal reader journals of every shape. The first byte chooses how
// the rest is used: as a journal's bytes as they are (forged entries), or as the
// fields of a well-formed journal of the writer's entries that is then cut short
// or has one bit flipped at a place the input gives. The reader must never read
// beyond its input, give its records in index order, give only records that hold
// together, and from a cut or flipped journal give no record the writer did not
// write, and every record of a cut journal before the cut.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Check.h"
#include "tagging/JournalFormat.h"

namespace versemark::fuzz {
namespace {

constexpr std::string_view kFile = "fuzz.journal";
constexpr std::uint8_t kModeRaw = 0;
constexpr std::uint8_t kModeCut = 1;
constexpr std::size_t kFieldBytes = 3;  // one record: a tail length, a new length, a mark

// Takes bytes from the front of the input, as numbers.
class InputReader {
  public:
    explicit InputReader(std::string_view input) : rest_(input) {}
    std::uint64_t Take(std::size_t width) {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width && !rest_.empty(); ++i) {
            value = (value << 8) | static_cast<unsigned char>(rest_.front());
            rest_.remove_prefix(1);
        }
        return value;
    }
    bool Empty() const { return rest_.empty(); }

  private:
    std::string_view rest_;
};

void CheckRecords(const JournalContent& content) {
    for (std::size_t i = 0; i < content.Records.size(); ++i) {
        const JournalRecord& record = content.Records[i];
        Check(i == 0 || content.Records[i - 1].Index < record.Index, "records in index order");
        if (record.Kind == RecordKind::Tail) {
            Check(record.Offset <= record.OldLength &&
                      record.OldLength - record.Offset == record.OldTail.size(),
                  "a tail record's old tail runs from its offset to its old length");
        }
    }
}

// A journal of the writer's entries whose records come from the input; their
// paths and tails are told by the record's index, so a record read back can be
// checked against the one written.
// `ends` gets where each record's entry ends.
std::string WrittenJournal(InputReader& in, std::vector<std::size_t>& ends) {
    PassHeader header;
    header.Started = 1;
    header.Folder = "folder";
    std::string bytes = HeaderEntry(header);
    std::size_t records = 0;
    while (!in.Empty()) {
        const std::size_t oldBytes = static_cast<std::size_t>(in.Take(1));
        const std::size_t newBytes = static_cast<std::size_t>(in.Take(1));
        const std::uint64_t mark = in.Take(1);
        TailChange change;
        change.Offset = records;
        change.OldTail = std::string(oldBytes, static_cast<char>('a' + records % 26));
        change.OldLength = change.Offset + change.OldTail.size();
        const std::string newTail(newBytes, 'n');
        change.NewTail = newTail;
        bytes += TailRecordEntry(records, "/f" + std::to_string(records), FileStamp{}, change);
        ends.push_back(bytes.size());
        bytes += mark % 2 == 0 ? DoneEntry(records, FileStamp{}) : ResolvedEntry(records);
        ++records;
    }
    JournalSummary summary;
    summary.Records = records;
    bytes += SummaryEntry(summary, bytes.size());
    return bytes;
}

void CheckAgainstWritten(const JournalContent& content, std::size_t written) {
    for (const JournalRecord& record : content.Records) {
        Check(record.Index < written, "no record the writer did not write");
        Check(record.Path == "/f" + std::to_string(record.Index) && record.Offset == record.Index &&
                  record.OldTail.find_first_not_of(static_cast<char>('a' + record.Index % 26)) ==
                      std::string::npos &&
                  record.NewTail.find_first_not_of('n') == std::string::npos,
              "a record read is the record written");
    }
}

void FuzzWritten(InputReader& in) {
    const bool cut = in.Take(1) % 2 == 0;
    const std::uint64_t place = in.Take(2);
    std::vector<std::size_t> ends;
    std::string bytes = WrittenJournal(in, ends);
    const std::size_t whole = bytes.size();
    const std::size_t at = static_cast<std::size_t>(place % whole);
    if (cut) {
        bytes.resize(at);
    } else {
        bytes[at] = static_cast<char>(bytes[at] ^ (1 << (place % 8)));
    }
    const auto content = ParseJournal(bytes, std::string(kFile));
    if (!content) {
        return;  // the header itself is cut or damaged
    }
    CheckRecords(*content);
    CheckAgainstWritten(*content, ends.size());
    if (cut) {
        std::size_t before = 0;
        while (before < ends.size() && ends[before] <= at) {
            ++before;
        }
        Check(content->Records.size() == before, "a cut journal gives every record before the cut");
    } else {
        Check(!content->Problems.empty(), "a flipped bit is told");
    }
}

}  // namespace
}  // namespace versemark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace versemark;
    using namespace versemark::fuzz;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    InputReader in(input);
    const std::uint64_t mode = in.Take(1) % 2;
    if (mode == kModeRaw) {
        if (const auto content = ParseJournal(input.substr(size > 0 ? 1 : 0), std::string(kFile))) {
            CheckRecords(*content);
        }
    } else if (mode == kModeCut) {
        FuzzWritten(in);
    }
    return 0;
}
