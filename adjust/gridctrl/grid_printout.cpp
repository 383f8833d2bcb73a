#include "gridctrl/grid_printout.hpp"

#include "gridctrl/grid_ctrl.hpp"
#include "gridctrl/wx_conversions.hpp"

#include <wx/app.h>
#include <wx/dc.h>

#include <ctime>

namespace gridctrl {

namespace {

// The printer font's character width: the width of this run of letters
// (53 characters, one S too many) divided by 52; only the page layout
// depends on it.
const char* const alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";
constexpr int alphabetDivisor = 52;

wxString captionOf(wxWindow* window) {
    for (; window != nullptr; window = window->GetParent())
        if (!window->GetLabel().empty() && window->IsTopLevel())
            return window->GetLabel();
    return wxString();
}

} // namespace

CGridPrintout::CGridPrintout(CGridCtrl& grid, const PrintMargins& margins)
    : wxPrintout(captionOf(&grid)), grid_(grid), margins_(margins) {}

void CGridPrintout::OnPreparePrinting() {
    wxDC* dc = GetDC();
    if (dc == nullptr)
        return;
    int printerPpiX = 0;
    int printerPpiY = 0;
    GetPPIPrinter(&printerPpiX, &printerPpiY);
    int screenPpiX = 0;
    int screenPpiY = 0;
    GetPPIScreen(&screenPpiX, &screenPpiY);
    font_ = wxFont(wxFontInfo(10).Family(wxFONTFAMILY_SWISS));
    dc->SetFont(font_);
    const wxSize letters = dc->GetTextExtent(alphabet);
    int pageWidth = 0;
    int pageHeight = 0;
    GetPageSizePixels(&pageWidth, &pageHeight);
    const int toScreen = printerPpiX > 0 ? printerPpiX : 1;
    device_ = PrintDevice{pageWidth,
                          pageHeight,
                          toScreen,
                          screenPpiX > 0 ? screenPpiX : 96,
                          letters.x / alphabetDivisor * screenPpiX / toScreen,
                          letters.y * screenPpiX / toScreen};
    if (device_.charWidth <= 0)
        device_.charWidth = 1;
    layout_ = layoutPrintPages(grid_.rowHeights(), grid_.columnWidths(), grid_.GetFixedRowCount(),
                               grid_.GetFixedColumnCount(), device_, margins_,
                               grid_.options().horizontalPaging);
}

bool CGridPrintout::HasPage(int page) {
    return page >= 1 && page <= layout_.pageCount();
}

void CGridPrintout::GetPageInfo(int* minPage, int* maxPage, int* fromPage, int* toPage) {
    *minPage = *fromPage = 1;
    *maxPage = *toPage = layout_.pageCount();
}

void CGridPrintout::printCell(wxDC& dc, int row, int col, int left, int top, bool firstRow,
                              bool firstCol) {
    const int width = grid_.GetColumnWidth(col);
    const int height = grid_.GetRowHeight(row);
    CGridCellBase* cell = grid_.GetCell(row, col);
    if (cell != nullptr)
        cell->DrawForPrint(&dc, row, col, GridRect{left, top, left + width, top + height});
    const int mode = grid_.options().gridLines;
    dc.SetPen(*wxBLACK_PEN);
    const int overlap = 1;
    if (mode == GRIDLINES_HORZ || mode == GRIDLINES_BOTH) {
        dc.DrawLine(left - (firstCol ? 0 : overlap), top + height, left + width, top + height);
        if (row == 0 || firstRow)
            dc.DrawLine(left, top, left + width, top);
    }
    if (mode == GRIDLINES_VERT || mode == GRIDLINES_BOTH) {
        dc.DrawLine(left + width, top - (firstRow ? 0 : overlap), left + width, top + height);
        if (firstCol)
            dc.DrawLine(left, top, left, top + height);
    }
}

int CGridPrintout::printRows(wxDC& dc, int firstRow, int endRow, int top, int firstCol, int width,
                             int height) {
    int y = top;
    for (int row = firstRow; row < endRow; ++row) {
        const int rowHeight = grid_.GetRowHeight(row);
        if (y + rowHeight - top > height)
            return row;
        if (rowHeight == 0)
            continue;
        int x = 0;
        bool firstPrinted = true;
        auto printColumn = [&](int col) {
            printCell(dc, row, col, x, y, row == firstRow, firstPrinted);
            x += grid_.GetColumnWidth(col);
            firstPrinted = false;
        };
        for (int col = 0; col < grid_.GetFixedColumnCount(); ++col)
            if (grid_.GetColumnWidth(col) > 0)
                printColumn(col);
        const int fixedWidth = x;
        for (int col = firstCol; col < grid_.GetColumnCount(); ++col) {
            if (x + grid_.GetColumnWidth(col) - fixedWidth > width)
                break;
            if (grid_.GetColumnWidth(col) > 0)
                printColumn(col);
        }
        y += rowHeight;
    }
    return endRow;
}

bool CGridPrintout::OnPrintPage(int page) {
    wxDC* dc = GetDC();
    if (dc == nullptr || !HasPage(page))
        return false;
    int deviceWidth = 0;
    int deviceHeight = 0;
    dc->GetSize(&deviceWidth, &deviceHeight);
    dc->SetUserScale(static_cast<double>(deviceWidth) / layout_.logicalWidth,
                     static_cast<double>(deviceHeight) / layout_.logicalHeight);
    dc->SetFont(font_);
    const int left = margins_.left * device_.charWidth;
    const int contentWidth = layout_.logicalWidth - left - margins_.right * device_.charWidth;
    dc->SetDeviceOrigin(0, 0);
    dc->SetLogicalOrigin(-left, 0);
    printHeader(*dc, contentWidth);
    const int headerBottom = (margins_.header + margins_.gap) * device_.charHeight;
    const int firstRow = layout_.firstRowOfPage(page);
    const int firstCol = layout_.firstColOfPage(page);
    const int headings = grid_.GetFixedRowCount();
    const int bodyTop = printRows(*dc, 0, headings, headerBottom, firstCol,
                                  layout_.pageWidthForCols, layout_.logicalHeight) == headings
                            ? headerBottom + grid_.GetFixedRowHeight()
                            : headerBottom;
    if (firstRow < grid_.GetRowCount())
        printRows(*dc, firstRow, grid_.GetRowCount(), bodyTop, firstCol, layout_.pageWidthForCols,
                  layout_.pageHeightForRows);
    dc->SetLogicalOrigin(-left, -(layout_.logicalHeight - margins_.footer * device_.charHeight));
    printFooter(*dc, contentWidth, page);
    dc->SetLogicalOrigin(0, 0);
    return true;
}

void CGridPrintout::printHeader(wxDC& dc, int width) {
    const int height = margins_.header * device_.charHeight;
    dc.SetFont(font_.Bold());
    dc.SetTextForeground(*wxBLACK);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const wxRect area(0, 0, width, height);
    dc.DrawLabel(GetTitle(), area, wxALIGN_CENTRE);
    dc.DrawLabel(wxTheApp != nullptr ? wxTheApp->GetAppDisplayName() : wxString(), area,
                 wxALIGN_RIGHT | wxALIGN_CENTRE_VERTICAL);
    dc.SetPen(*wxBLACK_PEN);
    dc.DrawLine(0, height, width, height);
    dc.SetFont(font_);
}

void CGridPrintout::printFooter(wxDC& dc, int width, int page) {
    const int height = margins_.footer * device_.charHeight;
    dc.SetPen(*wxBLACK_PEN);
    dc.DrawLine(0, 0, width, 0);
    dc.SetFont(font_.Bold());
    dc.SetTextForeground(*wxBLACK);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const wxRect area(0, 0, width, height);
    dc.DrawLabel(wxString::Format("Page %d of %d", page, layout_.pageCount()), area,
                 wxALIGN_LEFT | wxALIGN_CENTRE_VERTICAL);
    char stamp[128] = "";
    const std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%c", std::localtime(&now));
    dc.DrawLabel(wxString::FromUTF8(stamp), area, wxALIGN_RIGHT | wxALIGN_CENTRE_VERTICAL);
    dc.SetFont(font_);
}

} // namespace gridctrl
