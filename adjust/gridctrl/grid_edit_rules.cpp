// How an edited or replaced text reaches a cell: the owner may refuse the
// start of an edit (GRIDN_BEGINEDIT) and the new text (GRIDN_ENDEDIT), and
// the cell may refuse it (AcceptEditedText). A refused text leaves the cell
// as it was, its modified flags included.
#include "gridctrl/grid_model.hpp"

namespace gridctrl {

bool GridModel::ValidateEdit(int row, int col, const std::string& text) {
    CGridCellBase* cell = GetCell(row, col);
    return cell == nullptr || cell->AcceptEditedText(text);
}

bool GridModel::offerText(int row, int col, const std::string& text) {
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr)
        return false;
    const std::string old = cell->GetText();
    if (text == old)
        return true;
    cell->SetText(text);
    if (ValidateEdit(row, col, text) && NotifyParent(row, col, GRIDN_ENDEDIT) >= 0) {
        SetModified(true, row, col);
        RedrawCell(row, col);
        return true;
    }
    // The owner's handler may have rebuilt a virtual cell: look it up again.
    if (CGridCellBase* same = GetCell(row, col))
        same->SetText(old);
    return false;
}

bool GridModel::ReplaceCellText(int row, int col, const std::string& text) {
    if (!IsCellEditable(row, col) || NotifyParent(row, col, GRIDN_BEGINEDIT) < 0)
        return false;
    return offerText(row, col, text);
}

void GridModel::OnEndEditCell(int row, int col, const std::string& text) {
    offerText(row, col, text);
    if (CGridCellBase* cell = GetCell(row, col))
        cell->EditEnded();
}

} // namespace gridctrl
