#pragma once
// The grid's content and rules, without the toolkit: counts of rows, columns
// and fixed headings with their sizes, the cell objects, insertion and
// deletion, modified flags, the virtual mode in which the owner supplies the
// cells' contents, the focus cell and the selection, text replacement under
// the owner's veto, clipboard text, and sorting. The window (CGridCtrl)
// derives from it and fills in the hooks that repaint, scroll and notify.

#include "gridctrl/grid_cell.hpp"
#include "gridctrl/grid_types.hpp"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class wxImageList;

namespace gridctrl {

// Mouse modes of a gesture in progress.
enum MouseMode {
    MOUSE_NOTHING = 0,
    MOUSE_SELECT_ALL = 1,
    MOUSE_SELECT_COL = 2,
    MOUSE_SELECT_ROW = 3,
    MOUSE_SELECT_CELLS = 4,
    MOUSE_OVER_ROW_DIVIDE = 6,
    MOUSE_SIZING_ROW = 7,
    MOUSE_OVER_COL_DIVIDE = 8,
    MOUSE_SIZING_COL = 9,
    MOUSE_PREPARE_EDIT = 10,
    MOUSE_PREPARE_DRAG = 11,
    MOUSE_DRAGGING = 12,
};

// Compares two cells (passed as CGridCellBase*) for sorting: negative, zero
// or positive.
using GridCompareFunc = int (*)(std::intptr_t cell1, std::intptr_t cell2, std::intptr_t data);
// Fills a virtual cell's item in place of the display-info notification.
using GridDispInfoCallback = void (*)(CGridItem& item, std::intptr_t data);

// Settings of the grid that callers set directly; the window reads them
// when it next paints or handles input.
struct GridOptions {
    int gridLines = GRIDLINES_BOTH;
    bool editable = true;
    bool dragAndDrop = false;
    bool listMode = false;
    bool singleRowSelection = false;
    bool singleColSelection = false;
    bool selectionEnabled = true;
    bool fixedColumnClickSelectsRows = true;
    bool fixedRowClickSelectsColumns = true;
    bool sortOnHeadingClick = false;
    bool wantsTab = true;
    bool doubleBuffer = true;
    bool titleTips = true;
    bool horizontalPaging = false;
    bool revealHiddenColumns = true;
    bool revealHiddenRows = true;
    bool columnsMayHide = true;
    bool rowsMayHide = true;
    bool focusShownInHeadings = true;
    bool frameFocusCell = true;
    bool allowRowResize = true;
    bool allowColumnResize = true;
    bool printColour = true;
    int autoSizeStyle = GRIDAUTOSIZE_FIXED | GRIDAUTOSIZE_NONFIXED;
    COLORREF gridLineColour = rgb(0xC0, 0xC0, 0xC0);
    COLORREF titleTipBackColour = CLR_DEFAULT;
    COLORREF titleTipTextColour = CLR_DEFAULT;
};

class GridModel {
public:
    GridModel(int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0);
    virtual ~GridModel();
    GridModel(const GridModel&) = delete;
    GridModel& operator=(const GridModel&) = delete;

    GridOptions& options() { return options_; }
    const GridOptions& options() const { return options_; }

    // Counts and sizes; the setters answer false on failure.
    int GetRowCount() const { return rowCount_; }
    int GetColumnCount() const { return colCount_; }
    int GetFixedRowCount() const { return fixedRows_; }
    int GetFixedColumnCount() const { return fixedCols_; }
    bool SetRowCount(int rows);
    bool SetColumnCount(int cols);
    bool SetFixedRowCount(int fixedRows);
    bool SetFixedColumnCount(int fixedCols);
    // The new index, or -1 (a row index must lie inside the non-fixed rows;
    // -1 appends; a column index equal to the count appends too).
    int InsertRow(const std::string& heading, int row = -1);
    int InsertColumn(const std::string& heading,
                     unsigned format = DT_CENTER | DT_VCENTER | DT_SINGLELINE, int col = -1);
    bool DeleteRow(int row);
    bool DeleteColumn(int col);
    bool DeleteNonFixedRows();
    bool DeleteAllItems();
    // Pixels; -1 out of range. A size of 0 hides the row or column.
    int GetRowHeight(int row) const;
    int GetColumnWidth(int col) const;
    bool SetRowHeight(int row, int height);
    bool SetColumnWidth(int col, int width);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    int GetTotalHeight() const;
    int GetTotalWidth() const;
    const std::vector<int>& rowHeights() const { return rowHeights_; }
    const std::vector<int>& columnWidths() const { return colWidths_; }

    // Cells. In virtual mode GetCell builds a temporary cell from the
    // owner's answer, valid until the next call.
    bool IsValid(int row, int col) const;
    bool IsValid(const CCellID& cell) const { return IsValid(cell.row, cell.col); }
    bool IsValid(const CCellSpan& span) const;
    CGridCellBase* GetCell(int row, int col);
    const CGridCellBase* GetCell(int row, int col) const;
    bool SetCell(int row, int col, std::unique_ptr<CGridCellBase> cell);
    virtual std::unique_ptr<CGridCellBase> CreateCell(int row, int col);
    virtual void DestroyCell(int row, int col);
    // The class of the cells made from now on (null makes none).
    void SetDefaultCellType(CellFactory factory) { cellFactory_ = factory; }
    bool SetCellType(int row, int col, CellFactory factory);
    std::string GetCellText(int row, int col) const;
    bool SetCellText(int row, int col, const std::string& text);
    bool SetCellFromItem(const CGridItem* item);
    bool SetCellFormat(int row, int col, unsigned format);
    bool SetCellBkColor(int row, int col, COLORREF colour);
    bool SetCellFgColor(int row, int col, COLORREF colour);
    unsigned GetCellState(int row, int col) const;
    // Keeps the selection map in step with the selected bit.
    bool SetCellState(int row, int col, unsigned state);
    bool IsCellEditable(int row, int col) const;
    bool IsCellEditable(const CCellID& cell) const { return IsCellEditable(cell.row, cell.col); }
    bool IsCellEditing(int row, int col) const;
    bool IsModified(int row = -1, int col = -1) const;
    void SetModified(bool modified = true, int row = -1, int col = -1);
    CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol);
    const CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol) const;
    wxImageList* GetImageList() const { return imageList_; }
    void SetImageList(wxImageList* images) { imageList_ = images; }

    // Virtual mode: no cells are stored; their contents come from the
    // callback, or else from the display-info notification.
    bool GetVirtualMode() const { return virtualMode_; }
    void SetVirtualMode(bool on);
    void SetCallbackFunc(GridDispInfoCallback callback, std::intptr_t data) {
        dispInfoCallback_ = callback, dispInfoData_ = data;
    }

    // Focus and selection.
    CCellID GetFocusCell() const { return focusCell_; }
    // Returns the previous focus cell.
    CCellID SetFocusCell(int row, int col);
    CCellID SetFocusCell(const CCellID& cell) { return SetFocusCell(cell.row, cell.col); }
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool forceRepaint = false,
                          bool selectCells = true);
    void SetSelectedRange(const CCellSpan& span, bool forceRepaint = false,
                          bool selectCells = true) {
        SetSelectedRange(span.minRow, span.minCol, span.maxRow, span.maxCol, forceRepaint,
                         selectCells);
    }
    void SelectAllCells();
    void SelectColumns(CCellID cell, bool forceRedraw = false, bool selectCells = true);
    void SelectRows(CCellID cell, bool forceRedraw = false, bool selectCells = true);
    void SelectCells(CCellID cell, bool forceRedraw = false, bool selectCells = true);
    void OnSelecting(const CCellID& cell);
    void ResetSelectedRange();
    bool IsCellSelected(int row, int col) const;
    bool IsCellSelected(const CCellID& cell) const { return IsCellSelected(cell.row, cell.col); }
    CCellSpan GetSelectedCellRange() const;
    std::size_t selectedCount() const { return selection_.size(); }
    CCellID GetSelectionAnchor() const { return anchor_; }
    void SetSelectionAnchor(const CCellID& cell) { anchor_ = cell; }
    int GetMouseMode() const { return mouseMode_; }
    void SetMouseMode(int mode) { mouseMode_ = mode; }
    // Remembers the selection as it stands, so a rectangle dragged out next
    // is added to it (Ctrl+drag); empty forgets it.
    void keepSelectionForDrag(bool keep);

    // Text changes that an interactive command makes, under the owner's
    // begin-edit and end-edit veto and the cell's validation.
    bool ReplaceCellText(int row, int col, const std::string& text);
    virtual void OnEndEditCell(int row, int col, const std::string& text);
    virtual bool ValidateEdit(int row, int col, const std::string& text);

    // Clipboard text of the selected range: fields joined by tabs, rows by
    // CR LF, hidden rows and columns left out; empty when nothing is selected.
    bool CopyText(std::string& text);
    void CutSelectedText();
    // Pastes lines (at "\n") of fields (at tab or comma) from `cell` on;
    // false when the cell is invalid or not editable.
    bool PasteText(const CCellID& cell, const std::string& text, bool selectPastedCells = true);
    // The cells the last paste wrote to (none: all -1).
    const CCellSpan& lastPastedRange() const { return lastPasted_; }

    // Sorting the non-fixed rows by one column.
    bool SortItems(int col, bool ascending, std::intptr_t data = 0);
    bool SortItems(GridCompareFunc compare, int col, bool ascending, std::intptr_t data = 0);
    bool SortTextItems(GridCompareFunc compare, int col, bool ascending, std::intptr_t data,
                       int low, int high);
    void SetSortColumn(int col);
    int GetSortColumn() const { return sortColumn_; }
    bool GetSortAscending() const { return sortAscending_; }
    void SetCompareFunction(GridCompareFunc compare) { compare_ = compare; }
    static int CompareCellText(std::intptr_t cell1, std::intptr_t cell2, std::intptr_t data);

    // Hooks the window fills in; the model alone repaints and asks nothing.
    // NotifyParent returns the owner's reply: negative is a veto.
    virtual long NotifyParent(int /*row*/, int /*col*/, int /*code*/) { return 0; }
    virtual void RequestDispInfo(CGridItem& /*item*/) {}
    virtual void SendCacheHint(const CCellSpan& /*span*/) {}
    virtual void RedrawAll() {}
    virtual void ResetScrollBars() {}
    // Repaints one cell at once (or invalidates it); only visible cells.
    virtual bool RedrawCell(int /*row*/, int /*col*/) { return false; }
    virtual void InvalidateCellRect(int /*row*/, int /*col*/) {}
    virtual void forgetTopLeftCell() {}
    // The size the cell gives for `text` on the screen.
    virtual GridSize GetTextExtent(int row, int col, const std::string& text);

protected:
    void resetModifiedBits();
    // The cell object itself; null in virtual mode, where none is stored.
    CGridCellBase* storedCell(int row, int col);
    void clearFocusIfAt(int row, int col);
    void repaintSelectionChange(int row, int col, bool forceRepaint);
    void redrawHeadings(int row, int col);
    void setSelectedBit(int row, int col, bool selected);
    // Deselects everything without moving the focus cell.
    void clearSelection();
    std::unique_ptr<CGridCellBase> buildCell(int row, int col);
    void markFixedRows(int from, int to, bool fixed);
    void markFixedColumns(int from, int to, bool fixed);
    // Sets the text when the cell and the owner accept it, else keeps the old.
    bool offerText(int row, int col, const std::string& text);
    void pasteField(int row, int col, const std::string& field, CCellSpan& pasted);
    void swapRows(int a, int b);

private:
    GridOptions options_;
    int rowCount_ = 0;
    int colCount_ = 0;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    std::vector<int> rowHeights_;
    std::vector<int> colWidths_;
    std::vector<std::vector<std::unique_ptr<CGridCellBase>>> rows_;
    CellFactory cellFactory_ = cellClass<CGridCell>();
    // Ordinary, fixed-column, fixed-row and corner default cells.
    std::array<CGridDefaultCell, 4> defaultCells_;
    wxImageList* imageList_ = nullptr;
    bool modified_ = false;
    bool virtualMode_ = false;
    GridDispInfoCallback dispInfoCallback_ = nullptr;
    std::intptr_t dispInfoData_ = 0;
    CGridCell virtualCell_;
    CCellID focusCell_;
    CCellID anchor_;
    int mouseMode_ = MOUSE_NOTHING;
    std::unordered_map<std::uint64_t, CCellID> selection_;
    std::unordered_map<std::uint64_t, CCellID> preDragSelection_;
    CCellSpan lastPasted_;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
    GridCompareFunc compare_ = nullptr;
};

} // namespace gridctrl
