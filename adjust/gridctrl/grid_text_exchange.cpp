// Cell text to and from plain text: the clipboard and drag-and-drop format.
// Copy: one line per row of the selected range, lines joined by CR LF with
// none after the last, fields joined by tabs, an unselected cell an empty
// field, hidden rows and columns left out. Paste: lines at "\n", fields at a
// tab or a comma, each trimmed.
#include "gridctrl/grid_model.hpp"

#include <algorithm>

namespace gridctrl {

namespace {

std::string trimmed(const std::string& field) {
    constexpr const char* blanks = " \t\r\n\v\f";
    const auto first = field.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return field.substr(first, field.find_last_not_of(blanks) - first + 1);
}

std::vector<std::string> splitAny(const std::string& text, const char* separators) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find_first_of(separators, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

} // namespace

bool GridModel::CopyText(std::string& text) {
    text.clear();
    const CCellSpan range = GetSelectedCellRange();
    if (!IsValid(range))
        return false;
    if (virtualMode_)
        SendCacheHint(range);
    bool firstLine = true;
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        if (rowHeights_[row] <= 0)
            continue;
        if (!firstLine)
            text += "\r\n";
        firstLine = false;
        bool firstField = true;
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            if (colWidths_[col] <= 0)
                continue;
            if (!firstField)
                text += '\t';
            firstField = false;
            if (IsCellSelected(row, col))
                text += GetCellText(row, col);
        }
    }
    if (virtualMode_)
        SendCacheHint(CCellSpan());
    return true;
}

void GridModel::CutSelectedText() {
    if (!options_.editable)
        return;
    const auto selected = selection_;
    for (const auto& [key, cell] : selected)
        ReplaceCellText(cell.row, cell.col, "");
}

void GridModel::pasteField(int row, int col, const std::string& field, CCellSpan& pasted) {
    ReplaceCellText(row, col, trimmed(field));
    SetCellState(row, col, GetCellState(row, col) & ~GRIDSTATE_SELECTED);
    pasted.maxRow = std::max(pasted.maxRow, row);
    pasted.maxCol = std::max(pasted.maxCol, col);
}

bool GridModel::PasteText(const CCellID& cell, const std::string& text, bool selectPastedCells) {
    if (!IsValid(cell) || !IsCellEditable(cell))
        return false;
    CCellSpan pasted(cell.row, cell.col, -1, -1);
    const std::string upToZero = text.substr(0, text.find('\0'));
    int linesUsed = 0;
    for (const std::string& line : splitAny(upToZero, "\n")) {
        int row = cell.row + linesUsed;
        while (row < rowCount_ && rowHeights_[row] == 0)
            ++row, ++linesUsed;
        ++linesUsed;
        if (line.empty())
            continue;
        int fieldsUsed = 0;
        for (const std::string& field : splitAny(line, "\t,")) {
            int col = cell.col + fieldsUsed;
            while (col < colCount_ && colWidths_[col] == 0)
                ++col, ++fieldsUsed;
            ++fieldsUsed;
            if (IsValid(row, col))
                pasteField(row, col, field, pasted);
        }
    }
    lastPasted_ = pasted.maxRow >= 0 ? pasted : CCellSpan();
    if (selectPastedCells) {
        SetSelectedRange(pasted, true);
    } else {
        ResetSelectedRange();
        RedrawAll();
    }
    return true;
}

} // namespace gridctrl
