#include "systems/UnitGrid.h"

#include "common/Text.h"

#include <algorithm>

namespace mr3x {

std::string invalidCharactersCaption()
{
    std::string caption;
    for (const char c : kInvalidNameCharacters) {
        caption += ' ';
        caption += c;
    }
    return caption;
}

bool isInvalidName(std::string_view name)
{
    return name.find_first_of(kInvalidNameCharacters) != std::string_view::npos;
}

bool breaksTheLine(std::string_view text)
{
    return text.find(',') != std::string_view::npos;
}

std::string folderNameAnswer(std::string_view answer)
{
    return trim(answer);
}

bool isNotSet(std::string_view answer)
{
    return answer.find("Not set") != std::string_view::npos;
}

namespace {

bool anyRow(const UnitGrid& grid, GridColumn column, auto&& test)
{
    return std::any_of(grid.begin(), grid.end(), [&](const GridRow& row) { return test(cell(row, column)); });
}

} // namespace

bool unitNameInUse(const UnitGrid& grid, std::string_view name)
{
    return anyRow(grid, GridColumn::SerialNo, [&](const std::string& c) { return containsNoCase(c, name); });
}

bool btIdInUse(const UnitGrid& grid, std::string_view answer)
{
    return anyRow(grid, GridColumn::BtId, [&](const std::string& c) { return containsNoCase(c, answer); });
}

std::size_t rowsEqualTo(const UnitGrid& grid, GridColumn column, std::string_view answer)
{
    return static_cast<std::size_t>(
        std::count_if(grid.begin(), grid.end(), [&](const GridRow& row) { return cell(row, column) == answer; }));
}

bool simNoInUse(const UnitGrid& grid, std::string_view answer)
{
    return rowsEqualTo(grid, GridColumn::SimNo, answer) > 0;
}

std::vector<std::string> configFileLines(const UnitGrid& grid)
{
    std::vector<std::string> lines;
    lines.reserve(grid.size());
    for (const GridRow& row : grid) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                line += ',';
            line += row[c];
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace mr3x
