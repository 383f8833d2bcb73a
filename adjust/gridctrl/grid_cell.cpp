#include "gridctrl/grid_cell.hpp"

#include "gridctrl/grid_model.hpp"
#include "gridctrl/toolkit_seams.hpp"

namespace gridctrl {

CGridDefaultCell* CGridCellBase::GetDefaultCell() const {
    GridModel* grid = GetGrid();
    if (grid == nullptr)
        return nullptr;
    const unsigned state = GetState();
    return grid->GetDefaultCell((state & GRIDSTATE_FIXEDROW) != 0,
                                (state & GRIDSTATE_FIXEDCOL) != 0);
}

void CGridCellBase::CopySettings(const CGridCellBase& source) {
    if (&source == this)
        return;
    SetGrid(source.GetGrid());
    SetText(source.GetText());
    SetImage(source.GetImage());
    SetDataWord(source.GetDataWord());
    SetState(source.GetState());
    SetFormat(source.GetFormat());
    SetTextColour(source.GetTextColour());
    SetBackColour(source.GetBackColour());
    SetFont(source.HasDefaultFont() ? nullptr : source.GetFont());
    SetMargin(source.GetMargin());
}

void CGridCell::SetFont(const CellFont* font) {
    if (font == nullptr)
        font_.reset();
    else
        font_ = *font;
}

unsigned CGridCell::GetFormat() const {
    if (format_ != FORMAT_DEFAULT)
        return format_;
    const CGridDefaultCell* fallback = GetDefaultCell();
    return fallback != nullptr ? fallback->GetFormat() : 0;
}

const CellFont* CGridCell::GetFont() const {
    if (font_)
        return &*font_;
    const CGridDefaultCell* fallback = GetDefaultCell();
    return fallback != nullptr ? fallback->GetFont() : nullptr;
}

int CGridCell::GetMargin() const {
    if (margin_ != MARGIN_DEFAULT)
        return margin_;
    const CGridDefaultCell* fallback = GetDefaultCell();
    return fallback != nullptr ? fallback->GetMargin() : 0;
}

void CGridCell::Reset() {
    CGridCellBase::Reset();
    text_.clear();
    image_ = -1;
    format_ = FORMAT_DEFAULT;
    margin_ = MARGIN_DEFAULT;
    data_ = 0;
    grid_ = nullptr;
    editing_ = false;
    editWindow_ = nullptr;
    textColour_ = CLR_DEFAULT;
    backColour_ = CLR_DEFAULT;
    font_.reset();
}

void CGridCell::beginEditing(wxWindow* editor) {
    editWindow_ = editor;
    editing_ = editor != nullptr;
}

void CGridCell::EditEnded() {
    editing_ = false;
    editWindow_ = nullptr;
}

CGridDefaultCell::CGridDefaultCell() {
    SetFormat(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    const CellFont messageFont = systemMessageFont();
    SetFont(&messageFont);
}

void CGridDefaultCell::SetFont(const CellFont* font) {
    if (font == nullptr)
        return;
    CGridCell::SetFont(font);
    const DefaultCellMetrics metrics = measureDefaultCell(*font);
    SetMargin(metrics.margin);
    width_ = metrics.width;
    height_ = metrics.height;
}

const CellFont* CGridDefaultCell::GetFont() const {
    const auto& own = ownFont();
    return own ? &*own : nullptr;
}

} // namespace gridctrl
