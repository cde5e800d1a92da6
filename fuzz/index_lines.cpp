// The unit's index file turned into the lines the program lists, those lines read back by
// position and re-marked, and the names received event files are stored under.
//
// The input's first byte chooses the model and which slots count as stored on the PC; the rest
// is the index file. The whole input is also read back as if it were a listed line, and its
// first bytes named as a received file.
//
// What must hold whatever the file holds:
// - 40 records for an "M-S32", 20 for any other model, each the file's 18 bytes at its place or
//   zeros past the end of the file;
// - an event name is 17 characters "dd-dd-dd dd-dd-dd", an index line 23 characters and a
//   last-index line 24, and reading an index line back by position gives its event name, slot
//   text, emptiness and mark;
// - re-marking a line changes its mark and nothing else;
// - a received file is stored under a safe 21-character name, and that name is the event name
//   its index line is matched by.
#include "FuzzCheck.h"
#include "common/Text.h"
#include "retrieval/EventStem.h"
#include "retrieval/IndexLines.h"
#include "retrieval/ReceivedFileRules.h"

#include <algorithm>
#include <cctype>
#include <string>

using namespace mr3x;
using namespace mr3x::retrieval;

namespace {

bool isEventName(std::string_view name)
{
    if (name.size() != stemLength)
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool ok = i == 8 ? c == ' ' : (i % 3 == 2 ? c == '-' : std::isdigit(static_cast<unsigned char>(c)) != 0);
        if (!ok)
            return false;
    }
    return true;
}

void checkStoredName(std::span<const std::uint8_t> head, ReceivedKind kind)
{
    const std::optional<std::string> name = storedName(head, kind);
    if (head.size() < receivedHeadLength) {
        FUZZ_CHECK(!name);
        return;
    }
    const std::string stem = eventStem(head.first<6>());
    FUZZ_CHECK(isEventName(stem));
    FUZZ_CHECK(name.has_value() == !stem.starts_with("00"));
    if (!name)
        return;
    FUZZ_CHECK(name->size() == stemLength + 4);
    FUZZ_CHECK(isSafeName(*name));
    FUZZ_CHECK(name->substr(0, stemLength) == stem);
    FUZZ_CHECK(name->substr(stemLength) == storedExtension(kind));
}

void checkRecord(const IndexRecord& record, bool stored, ReceivedKind kind)
{
    const std::string name = eventName(record);
    FUZZ_CHECK(isEventName(name));
    const std::string slot = slotText(record);
    FUZZ_CHECK(slot.size() == 2 && std::isdigit(static_cast<unsigned char>(slot[0]))
               && std::isdigit(static_cast<unsigned char>(slot[1])));
    if (isEmptySlot(record))
        FUZZ_CHECK(slot == "00");

    const std::string line = indexLine(record, stored);
    FUZZ_CHECK(line.size() == indexLineLength);
    FUZZ_CHECK(lineEventName(line) == name);
    FUZZ_CHECK(lineSlotText(line) == slot);
    FUZZ_CHECK(lineIsEmptySlot(line) == isEmptySlot(record));
    FUZZ_CHECK(line.back() == markFor(stored));
    FUZZ_CHECK(lineIsStored(line) == stored);
    FUZZ_CHECK(lineIsWanted(line) == (!isEmptySlot(record) && !stored));
    FUZZ_CHECK(remarkedLine(line, stored) == line);
    FUZZ_CHECK(remarkedLine(line, !stored) == indexLine(record, !stored));

    const std::string last = lastIndexLine(record, stored);
    FUZZ_CHECK(last.size() == lastIndexLineLength);
    FUZZ_CHECK(last.substr(0, stemLength) == name);
    FUZZ_CHECK(last.back() == markFor(stored));

    // The event's file as it arrives: its first six bytes are the date and time the index holds.
    std::array<std::uint8_t, receivedHeadLength> head{};
    std::copy_n(record.bytes.begin() + 2, receivedHeadLength, head.begin());
    checkStoredName(head, kind);
    const std::optional<std::string> storedAs = storedName(head, kind);
    if (storedAs)
        FUZZ_CHECK(std::string(lineEventName(line)) + std::string(storedExtension(kind)) == *storedAs);
}

/// Any text read back as if it were a listed line.
void checkReadBack(std::string_view text)
{
    FUZZ_CHECK(lineEventName(text) == text.substr(0, std::min(text.size(), stemLength)));
    FUZZ_CHECK(lineSlotText(text).size() <= 2);
    for (const bool stored : {false, true}) {
        const std::string line = remarkedLine(text, stored);
        FUZZ_CHECK(lineIsStored(line) == stored);
        FUZZ_CHECK(line.starts_with(lineEventName(text)));
        FUZZ_CHECK(line.size() == lineEventName(text).size() + 4 + lineSlotText(text).size());
        if (text.size() >= indexLineLength)
            FUZZ_CHECK(line.size() == indexLineLength);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t flags = data[0];
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    const bool longIndex = (flags & 1) != 0;
    const ReceivedKind kind = (flags & 2) != 0 ? ReceivedKind::ManualRecording : ReceivedKind::EventRecord;

    const int count = indexRecordCount(longIndex ? "M-S32" : "M-R32");
    FUZZ_CHECK(count == (longIndex ? 40 : 20));
    const std::vector<IndexRecord> records = indexRecords(file, count);
    FUZZ_CHECK(records.size() == static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < records.size(); ++i) {
        for (std::size_t b = 0; b < indexRecordSize; ++b) {
            const std::size_t at = i * indexRecordSize + b;
            FUZZ_CHECK(records[i].bytes[b] == (at < file.size() ? file[at] : 0));
        }
        // Past the end of the file every record is the same empty slot: one of them is enough.
        if (i == 0 || (i - 1) * indexRecordSize < file.size())
            checkRecord(records[i], ((flags >> 2) + i) % 3 == 0, kind);
    }

    checkStoredName(file.first(std::min(file.size(), receivedHeadLength)), kind);
    checkReadBack(std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
    return 0;
}
