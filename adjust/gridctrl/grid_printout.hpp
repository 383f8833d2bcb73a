#pragma once
// CGridPrintout: prints a grid over one or more pages with a header (the
// window's caption centred, the program's name on the right) and a footer
// ("Page %d of %d" and the date and time). Each cell prints itself
// (DrawForPrint); grid lines follow the grid's line mode. Hand it to
// wxPrinter::Print or a print preview.

#include "gridctrl/print_layout.hpp"

#include <wx/font.h>
#include <wx/print.h>

namespace gridctrl {

class CGridCtrl;

class CGridPrintout : public wxPrintout {
public:
    explicit CGridPrintout(CGridCtrl& grid, const PrintMargins& margins = {});

    void OnPreparePrinting() override;
    bool HasPage(int page) override;
    void GetPageInfo(int* minPage, int* maxPage, int* fromPage, int* toPage) override;
    bool OnPrintPage(int page) override;

    const PrintLayout& layout() const { return layout_; }

private:
    void printHeader(wxDC& dc, int width);
    void printFooter(wxDC& dc, int width, int page);
    // Prints rows [firstRow, endRow) from `top`, columns from the fixed ones
    // (when `withFixed`) and from `firstCol` while they fit `width`.
    int printRows(wxDC& dc, int firstRow, int endRow, int top, int firstCol, int width, int height);
    void printCell(wxDC& dc, int row, int col, int left, int top, bool firstRow, bool firstCol);

    CGridCtrl& grid_;
    PrintMargins margins_;
    PrintLayout layout_;
    PrintDevice device_;
    wxFont font_;
};

} // namespace gridctrl
