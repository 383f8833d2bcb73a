#pragma once
// Two cell classes for SetCellType: CGridCellCheck, a cell with a check box
// in front of its text that toggles on a click inside the box, and
// CGridCellCombo, a cell edited through a combo box (CInPlaceList) filled
// with the cell's options. The box and the drop button are drawn by the
// platform's own renderer.

#include "gridctrl/grid_cell.hpp"

#include <wx/combobox.h>

#include <string>
#include <vector>

namespace gridctrl {

// Combo styles: a list with an edit part, or a pick-only list.
inline constexpr unsigned CBS_DROPDOWN = 2;
inline constexpr unsigned CBS_DROPDOWNLIST = 3;

class CGridCellCheck : public CGridCell {
public:
    // Returns the previous state; repaints the cell once it has been drawn.
    bool SetCheck(bool checked);
    bool GetCheck() const { return checked_; }
    // The box inside the cell's last drawn rectangle (grid client pixels).
    GridRect GetCheckBoxRect() const;

    bool Draw(wxDC* dc, int row, int col, GridRect rect, bool eraseBackground = true) override;
    bool GetTextArea(GridRect* rect) override;
    GridSize MeasureCell(wxDC* dc) override;
    void NotifyClick(int x, int y) override;

private:
    bool checked_ = false;
    GridRect lastRect_;
};

class CInPlaceList;

class CGridCellCombo : public CGridCell {
public:
    void SetOptions(const std::vector<std::string>& options) { options_ = options; }
    const std::vector<std::string>& GetOptions() const { return options_; }
    void SetStyle(unsigned style) { style_ = style; }
    unsigned GetStyle() const { return style_; }

    // The open combo when it has an edit part; null for a pick-only list.
    wxWindow* GetEditWindow() const override;
    bool Draw(wxDC* dc, int row, int col, GridRect rect, bool eraseBackground = true) override;
    GridSize MeasureCell(wxDC* dc) override;
    bool StartEdit(int row, int col, GridRect rect, int pointX, int pointY, int id,
                   unsigned firstChar) override;
    void StopEdit() override;

private:
    std::vector<std::string> options_;
    unsigned style_ = CBS_DROPDOWN;
};

// The combo box of one edit. It ends on Tab, Enter, Esc (which puts the
// text back), Ctrl+arrow or page keys, and when it loses the focus, and
// reports like the text editor (EVT_GRIDN_ENDEDIT to the grid).
class CInPlaceList : public wxComboBox {
public:
    CInPlaceList(int row, int col, const std::string& initialText);
    bool Create(wxWindow* grid, const GridRect& rect, unsigned style, int id,
                const std::vector<std::string>& options, unsigned firstChar);
    void FinishEdit();
    // The widest option plus a scroll bar and a "0", at most 200 pixels.
    int GetDropWidth();
    bool IsPickOnly() const { return pickOnly_; }

private:
    void onKeyDown(wxKeyEvent& event);
    void onCharHook(wxKeyEvent& event);
    // Escape: the cell keeps the text it had.
    void cancel();
    void onKillFocus(wxFocusEvent& event);
    void endWith(unsigned key);

    int row_;
    int col_;
    std::string initialText_;
    unsigned endingKey_ = 0;
    bool pickOnly_ = false;
    bool listShown_ = false;
    bool finished_ = false;
};

} // namespace gridctrl
