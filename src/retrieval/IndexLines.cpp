#include "retrieval/IndexLines.h"

#include "common/Text.h"

#include <algorithm>

namespace mr3x::retrieval {

namespace {

constexpr int longIndexRecords = 40;
constexpr int shortIndexRecords = 20;
constexpr std::size_t slotTextStart = 19; // characters 20 and 21
constexpr std::size_t slotTextLength = 2;

std::string indexLineFrom(std::string_view name, std::string_view slot, bool stored)
{
    std::string line;
    line.reserve(indexLineLength);
    line.append(name).append(" (").append(slot).append(")");
    line.push_back(markFor(stored));
    return line;
}

std::string_view part(std::string_view line, std::size_t start, std::size_t length)
{
    return start < line.size() ? line.substr(start, length) : std::string_view();
}

} // namespace

int indexRecordCount(std::string_view model)
{
    return model == "M-S32" ? longIndexRecords : shortIndexRecords;
}

std::vector<IndexRecord> indexRecords(std::span<const std::uint8_t> file, int count)
{
    std::vector<IndexRecord> records(static_cast<std::size_t>(std::max(count, 0)));
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::size_t start = i * indexRecordSize;
        if (start >= file.size())
            break;
        const std::size_t length = std::min(indexRecordSize, file.size() - start);
        std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(start), length, records[i].bytes.begin());
    }
    return records;
}

std::string eventName(const IndexRecord& record)
{
    return eventStem(record.dateAndTime());
}

bool isEmptySlot(const IndexRecord& record)
{
    return fieldText(record.dateAndTime().first<3>()) == emptyDateText;
}

std::string slotText(const IndexRecord& record)
{
    return isEmptySlot(record) ? std::string("00") : twoDigits(record.slot() + 1);
}

char markFor(bool stored)
{
    return stored ? storedMark : missingMark;
}

std::string indexLine(const IndexRecord& record, bool stored)
{
    return indexLineFrom(eventName(record), slotText(record), stored);
}

std::string lastIndexLine(const IndexRecord& record, bool stored)
{
    std::string line = eventName(record);
    line.append("   ").append(slotText(record)).append(" ");
    line.push_back(markFor(stored));
    return line;
}

std::string_view lineEventName(std::string_view line)
{
    return part(line, 0, stemLength);
}

std::string_view lineSlotText(std::string_view line)
{
    return part(line, slotTextStart, slotTextLength);
}

bool lineIsEmptySlot(std::string_view line)
{
    return part(line, 0, dateTextLength) == emptyDateText;
}

bool lineIsStored(std::string_view line)
{
    return !line.empty() && line.back() == storedMark;
}

bool lineIsWanted(std::string_view line)
{
    return !lineIsEmptySlot(line) && !line.empty() && line.back() == missingMark;
}

std::string remarkedLine(std::string_view line, bool stored)
{
    return indexLineFrom(lineEventName(line), lineSlotText(line), stored);
}

} // namespace mr3x::retrieval
