#include "gridctrl/print_layout.hpp"

#include <numeric>

namespace gridctrl {

std::vector<int> pageStarts(const std::vector<int>& sizes, int first, int pageSize) {
    std::vector<int> starts{first};
    int sum = 0;
    for (int line = first; line < static_cast<int>(sizes.size()); ++line) {
        sum += sizes[line];
        if (sum > pageSize) {
            starts.push_back(line);
            sum = sizes[line];
        }
    }
    return starts;
}

int PrintLayout::firstRowOfPage(int page) const {
    const int across = pagesAcross();
    const int down = (page + across - 1) / across - 1;
    return rowStarts.at(static_cast<std::size_t>(down));
}

int PrintLayout::firstColOfPage(int page) const {
    const int across = pagesAcross();
    return colStarts.at(static_cast<std::size_t>((page - 1) % across));
}

PrintLayout layoutPrintPages(const std::vector<int>& rowHeights, const std::vector<int>& colWidths,
                             int fixedRows, int fixedCols, const PrintDevice& device,
                             const PrintMargins& margins, bool horizontalPaging) {
    const int fixedHeight = std::accumulate(rowHeights.begin(), rowHeights.begin() + fixedRows, 0);
    const int fixedWidth = std::accumulate(colWidths.begin(), colWidths.begin() + fixedCols, 0);
    const int sideMargins = (margins.left + margins.right) * device.charWidth;
    PrintLayout layout;
    if (horizontalPaging) {
        layout.logicalWidth = device.pageWidth_px * device.screenPpi / device.printerPpi * 3 / 4;
        layout.logicalHeight = device.pageHeight_px * device.screenPpi / device.printerPpi * 3 / 4;
    } else {
        const int total = std::accumulate(colWidths.begin(), colWidths.end(), 0);
        layout.logicalWidth = total + sideMargins;
        layout.logicalHeight = static_cast<int>(static_cast<long long>(layout.logicalWidth) *
                                                device.pageHeight_px / device.pageWidth_px);
    }
    layout.pageHeightForRows =
        layout.logicalHeight -
        (margins.header + margins.footer + 2 * margins.gap) * device.charHeight - fixedHeight;
    layout.pageWidthForCols = layout.logicalWidth - fixedWidth - sideMargins;
    layout.rowStarts = pageStarts(rowHeights, fixedRows, layout.pageHeightForRows);
    layout.colStarts = horizontalPaging ? pageStarts(colWidths, fixedCols, layout.pageWidthForCols)
                                        : std::vector<int>{fixedCols};
    return layout;
}

} // namespace gridctrl
