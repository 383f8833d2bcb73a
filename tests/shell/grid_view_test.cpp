// The grid control in a window, as it looks and moves: painting (checked
// in a bitmap drawn by the grid's own drawing routine), scrolling, selection
// by pointer and keys, heading borders, sorting, virtual mode, title tips,
// and a demonstration grid whose screenshot is kept.

#include "grid_window_fixture.hpp"

namespace gridtest {

TEST_F(GridWindowTest, SelectionFocusFrameGridLinesAndOutsideArea) {
    CGridCtrl& grid = makeGrid(4, 3, 1, 1);
    grid.SetFocusCell(1, 1);
    grid.SetSelectedRange(1, 1, 2, 2);
    const wxImage image = render();
    GridRect selected;
    ASSERT_TRUE(grid.GetCellRect(2, 2, &selected));
    EXPECT_EQ(pixelAt(image, selected.left + 5, selected.top + 5),
              systemColour(SystemColour::highlight))
        << "a selected cell that is not focused fills with the highlight";
    GridRect focus;
    ASSERT_TRUE(grid.GetCellRect(1, 1, &focus));
    EXPECT_EQ(pixelAt(image, focus.left, focus.top + 5), systemColour(SystemColour::highlightText))
        << "the focus frame of a selected focus cell takes the highlighted text colour";
    GridRect plain;
    ASSERT_TRUE(grid.GetCellRect(3, 1, &plain));
    EXPECT_EQ(pixelAt(image, plain.right, plain.top + 5), grid.options().gridLineColour)
        << "vertical grid line on the cell's last pixel";
    EXPECT_EQ(pixelAt(image, plain.left + 5, plain.bottom), grid.options().gridLineColour)
        << "horizontal grid line";
    EXPECT_EQ(pixelAt(image, plain.left + 5, plain.top + 5),
              grid.GetDefaultCell(false, false)->GetBackColour());
    const wxSize client = grid.GetClientSize();
    EXPECT_EQ(pixelAt(image, client.x - 2, client.y - 2), systemColour(SystemColour::buttonShadow))
        << "outside the cells";
}

TEST_F(GridWindowTest, FocusFrameWithoutGridLinesCoversTheLinePixels) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1);
    grid.options().gridLines = GRIDLINES_NONE;
    grid.SetDefaultCellType(cellClass<CGridCell>());
    grid.GetDefaultCell(false, false)->SetTextColour(rgb(200, 0, 0));
    grid.SetFocusCell(1, 1);
    const wxImage image = render();
    GridRect focus;
    ASSERT_TRUE(grid.GetCellRect(1, 1, &focus));
    EXPECT_EQ(pixelAt(image, focus.right, focus.top + 5), rgb(200, 0, 0));
    EXPECT_EQ(pixelAt(image, focus.left + 5, focus.bottom), rgb(200, 0, 0));
}

TEST_F(GridWindowTest, ScrollBarsFollowTheRows) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1, wxSize(300, 200));
    EXPECT_FALSE(grid.HasScrollbar(wxVERTICAL) && grid.GetScrollRange(wxVERTICAL) > 0);
    grid.SetRowCount(60);
    EXPECT_GT(grid.GetScrollRange(wxVERTICAL), 0);
    EXPECT_EQ(grid.GetScrollRange(wxVERTICAL), grid.GetTotalHeight() - grid.GetFixedRowHeight());
    grid.ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_LINEDOWN);
    EXPECT_EQ(grid.GetScrollPos32(wxVERTICAL), grid.GetRowHeight(1));
    EXPECT_EQ(grid.GetTopLeftNonFixedCell(), CCellID(2, 1));
    grid.ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_BOTTOM);
    EXPECT_TRUE(grid.IsCellVisible(59, 1));
    grid.ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_TOP);
    EXPECT_EQ(grid.GetScrollPos32(wxVERTICAL), 0);
}

TEST_F(GridWindowTest, ClicksSelectShiftExtendsCtrlDeselects) {
    CGridCtrl& grid = makeGrid(6, 5, 1, 1, wxSize(800, 300));
    click(centreOf(1, 1));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 1, 1, 1));
    click(centreOf(3, 2), true);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 1, 3, 2))
        << "Shift extends from the anchor";
    click(centreOf(2, 2), false, true);
    EXPECT_FALSE(grid.IsCellSelected(2, 2)) << "Ctrl+click on a selected cell deselects it";
    EXPECT_TRUE(grid.IsCellSelected(3, 2));
    // Ctrl+drag from an unselected cell adds a rectangle.
    mouse(wxEVT_LEFT_DOWN, centreOf(4, 3), false, true);
    mouse(wxEVT_MOTION, centreOf(5, 4), false, true);
    mouse(wxEVT_LEFT_UP, centreOf(5, 4), false, true);
    EXPECT_TRUE(grid.IsCellSelected(1, 1));
    EXPECT_TRUE(grid.IsCellSelected(5, 4));
    EXPECT_TRUE(grid.IsCellSelected(4, 3));
    EXPECT_EQ(codes().back(), NM_CLICK);
}

TEST_F(GridWindowTest, HeadingClicksSelectColumnsRowsOrAll) {
    CGridCtrl& grid = makeGrid(5, 4, 1, 1);
    click(centreOf(0, 2));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 2, 4, 2));
    click(centreOf(3, 0));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(3, 1, 3, 3));
    click(centreOf(0, 0));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 1, 4, 3));
}

TEST_F(GridWindowTest, KeysMoveTheFocusTabWrapsAndLeavesFromTheLastCell) {
    CGridCtrl& grid = makeGrid(4, 4, 1, 1);
    grid.SetColumnWidth(2, 0);
    grid.SetFocusCell(1, 1);
    EXPECT_TRUE(pressKey(WXK_RIGHT));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 3)) << "the hidden column is passed";
    EXPECT_TRUE(pressKey(WXK_TAB));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 1)) << "Tab in the last column wraps";
    EXPECT_TRUE(pressKey(WXK_TAB, true));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 3)) << "Shift+Tab wraps back";
    EXPECT_TRUE(pressKey(WXK_DOWN, true));
    EXPECT_TRUE(pressKey(WXK_DOWN, true));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 3, 3, 3)) << "Shift+arrow extends";
    EXPECT_FALSE(pressKey(WXK_TAB)) << "Tab in the last cell leaves the grid";
    EXPECT_TRUE(pressKey(WXK_HOME, false, true));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
    EXPECT_TRUE(pressKey(WXK_END, false, true));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(3, 3, 3, 3)) << "a plain key selects one cell";
}

TEST_F(GridWindowTest, ColumnBorderDragResizes) {
    const struct {
        const char* name;
        int releaseOffset; // from the column's left edge; 0 = where it started
        bool mayHide;
        int expectedWidth; // -1: unchanged
    } cases[] = {
        {"released where it started", 0, true, -1},
        {"wider", 70, true, 70},
        {"left of the column", -15, true, 0},
        {"left of the column, no hiding", -15, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CGridCtrl& grid = makeGrid(3, 4, 1, 1, wxSize(600, 300));
        grid.options().columnsMayHide = c.mayHide;
        const int before = grid.GetColumnWidth(2);
        GridRect heading;
        ASSERT_TRUE(grid.GetCellRect(0, 2, &heading));
        const wxPoint border(heading.right, (heading.top + heading.bottom) / 2);
        hover(border);
        ASSERT_EQ(grid.GetMouseMode(), MOUSE_OVER_COL_DIVIDE);
        mouse(wxEVT_LEFT_DOWN, border);
        EXPECT_EQ(grid.GetMouseMode(), MOUSE_SIZING_COL);
        const wxPoint release =
            c.releaseOffset == 0 ? border : wxPoint(heading.left + c.releaseOffset, border.y);
        mouse(wxEVT_MOTION, release);
        mouse(wxEVT_LEFT_UP, release);
        EXPECT_EQ(grid.GetColumnWidth(2), c.expectedWidth < 0 ? before : c.expectedWidth);
        frame_->Destroy();
        wxTheApp->ProcessIdle();
        frame_ = nullptr;
    }
}

TEST_F(GridWindowTest, DoubleClickOnABorderSizesTheColumnToFit) {
    CGridCtrl& grid = makeGrid(3, 4, 1, 1);
    grid.SetCellText(1, 1, "a text much wider than forty pixels");
    GridRect heading;
    ASSERT_TRUE(grid.GetCellRect(0, 2, &heading));
    const wxPoint border(heading.left + 1, (heading.top + heading.bottom) / 2);
    hover(border);
    mouse(wxEVT_LEFT_DCLICK, border);
    wxClientDC dc(&grid);
    EXPECT_EQ(grid.GetColumnWidth(1), grid.GetCell(1, 1)->MeasureCell(&dc).cx)
        << "the column left of the border";
    EXPECT_GT(grid.GetColumnWidth(1), 100);
}

TEST_F(GridWindowTest, HeadingClicksSortAscendingThenDescendingWithAnArrow) {
    CGridCtrl& grid = makeGrid(5, 3, 1, 1);
    grid.options().sortOnHeadingClick = true;
    const char* keys[] = {"c", "a", "d", "b"};
    for (int row = 1; row <= 4; ++row)
        grid.SetCellText(row, 1, keys[row - 1]);
    grid.SetColumnWidth(1, 80);
    grid.SetRowHeight(0, 30);
    click(centreOf(0, 1));
    EXPECT_EQ(grid.GetCellText(1, 1) + grid.GetCellText(4, 1), "ad");
    EXPECT_TRUE(grid.GetSortAscending());
    click(centreOf(0, 1));
    EXPECT_EQ(grid.GetCellText(1, 1) + grid.GetCellText(4, 1), "da");
    EXPECT_FALSE(grid.GetSortAscending());
    // The arrow sits at the heading's right edge, in the shadow colour.
    const wxImage image = render();
    GridRect heading;
    grid.GetCellRect(0, 1, &heading);
    int shadowPixels = 0;
    for (int x = heading.right - 20; x < heading.right; ++x)
        for (int y = heading.top; y < heading.bottom; ++y)
            shadowPixels += pixelAt(image, x, y) == systemColour(SystemColour::shadow3d);
    EXPECT_GT(shadowPixels, 5);
    GridRect other;
    grid.GetCellRect(0, 2, &other);
    int otherShadow = 0;
    for (int x = other.left + 2; x < other.right - 1; ++x)
        for (int y = other.top + 2; y < other.bottom - 1; ++y)
            otherShadow += pixelAt(image, x, y) == systemColour(SystemColour::shadow3d);
    EXPECT_EQ(otherShadow, 0) << "no arrow on another heading";
}

TEST_F(GridWindowTest, VirtualModePaintsFromTheOwnerBracketedByCacheHints) {
    CGridCtrl& grid = makeGrid(0, 0, 0, 0);
    grid.SetVirtualMode(true);
    grid.SetRowCount(100000);
    grid.SetColumnCount(4);
    grid.SetFixedRowCount(1);
    int requests = 0;
    frame_->Bind(EVT_GRIDN_GETDISPINFO, [&requests](CGridNotifyEvent& event) {
        ++requests;
        event.GetItem().text = std::to_string(event.GetRow());
    });
    notices_.clear();
    render();
    ASSERT_GE(notices_.size(), 2u);
    EXPECT_EQ(notices_.front().code, GRIDN_CACHEHINT);
    EXPECT_EQ(notices_.back().code, GRIDN_CACHEHINT);
    EXPECT_GT(requests, 0);
    EXPECT_LT(requests, 400) << "only the visible cells are asked for";
    EXPECT_EQ(grid.GetCellText(99999, 2), "99999");
}

TEST_F(GridWindowTest, TitleTipOnlyForTextThatDoesNotFit) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1);
    CTitleTip::applicationHasFocus() = [] { return true; };
    grid.SetCellText(1, 1, "ok");
    grid.SetCellText(1, 2, "a text far too long for a forty pixel column");
    hover(centreOf(1, 1));
    EXPECT_FALSE(grid.GetTitleTip()->IsShown());
    hover(centreOf(1, 2));
    EXPECT_TRUE(grid.GetTitleTip()->IsShown());
    EXPECT_EQ(grid.GetTitleTip()->text(), "a text far too long for a forty pixel column");
    pressKey(WXK_RIGHT);
    EXPECT_FALSE(grid.GetTitleTip()->IsShown()) << "a key hides the tip";
    CTitleTip::applicationHasFocus() = [] { return false; };
    hover(centreOf(1, 2));
    EXPECT_FALSE(grid.GetTitleTip()->IsShown()) << "no tip while the program has no focus";
    CTitleTip::applicationHasFocus() = [] { return wxTheApp->IsActive(); };
}

TEST_F(GridWindowTest, AClickOnTheTitleTipReachesTheCellUnderIt) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1);
    CTitleTip::applicationHasFocus() = [] { return true; };
    grid.SetCellText(1, 2, "a text far too long for a forty pixel column");
    grid.SetColumnWidth(2, 40);
    hover(centreOf(1, 2));
    CTitleTip* tip = grid.GetTitleTip();
    ASSERT_TRUE(tip->IsShown());
    const wxPoint onTip = tip->ScreenToClient(grid.ClientToScreen(centreOf(1, 2)));
    wxMouseEvent press(wxEVT_LEFT_DOWN);
    press.SetPosition(onTip);
    press.SetEventObject(tip);
    tip->ProcessWindowEvent(press);
    mouse(wxEVT_LEFT_UP, centreOf(1, 2));
    EXPECT_FALSE(tip->IsShown());
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 2));
    CTitleTip::applicationHasFocus() = [] { return wxTheApp->IsActive(); };
}

TEST_F(GridWindowTest, AWheelNotchScrollsThreeLines) {
    CGridCtrl& grid = makeGrid(80, 3, 1, 1, wxSize(300, 200));
    grid.ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_THUMBTRACK, 10 * grid.GetRowHeight(1));
    const int top = grid.GetTopLeftNonFixedCell().row;
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.m_wheelRotation = 120;
    wheel.m_wheelDelta = 120;
    wheel.m_linesPerAction = 3;
    wheel.SetEventObject(&grid);
    grid.ProcessWindowEvent(wheel);
    EXPECT_EQ(grid.GetTopLeftNonFixedCell().row, top - 3);
    wheel.m_wheelRotation = -240;
    grid.ProcessWindowEvent(wheel);
    EXPECT_EQ(grid.GetTopLeftNonFixedCell().row, top + 3);
}

TEST_F(GridWindowTest, AutoSizeFitsTheTextsAndKeepsHiddenLinesHidden) {
    CGridCtrl& grid = makeGrid(4, 3, 1, 1);
    grid.SetCellText(1, 1, "a long text for the column");
    grid.SetCellText(2, 2, "x");
    grid.SetRowHeight(3, 0);
    grid.SetColumnWidth(2, 0);
    ASSERT_TRUE(grid.AutoSize());
    wxClientDC dc(&grid);
    EXPECT_EQ(grid.GetColumnWidth(1), grid.GetCell(1, 1)->MeasureCell(&dc).cx);
    EXPECT_EQ(grid.GetRowHeight(3), 0);
    EXPECT_EQ(grid.GetColumnWidth(2), 0);
    EXPECT_GT(grid.GetRowHeight(1), 0);
}

TEST_F(GridWindowTest, PageKeysMoveTheFocusByTheRowsScrolled) {
    CGridCtrl& grid = makeGrid(100, 3, 1, 1, wxSize(300, 200));
    grid.SetFocusCell(2, 1);
    const int top = grid.GetTopLeftNonFixedCell().row;
    EXPECT_TRUE(pressKey(WXK_PAGEDOWN));
    const int moved = grid.GetTopLeftNonFixedCell().row - top;
    EXPECT_GT(moved, 3);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2 + moved, 1));
    EXPECT_TRUE(pressKey(WXK_PAGEUP));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 1));
    EXPECT_TRUE(pressKey(WXK_PAGEUP));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1)) << "at the top: the first non-fixed row";
}

TEST_F(GridWindowTest, RightClicksDoubleClicksAndTheButtonEventAfterARelease) {
    CGridCtrl& grid = makeGrid(4, 3, 1, 1);
    grid.SetCellText(2, 2, "text");
    int buttons = 0;
    frame_->Bind(wxEVT_BUTTON,
                 [&buttons](wxCommandEvent& event) { buttons += event.GetId() == 1221; });
    mouse(wxEVT_RIGHT_UP, centreOf(0, 2));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 2)) << "raised to the first non-fixed row";
    ASSERT_NE(lastNotice(NM_RCLICK), nullptr);
    EXPECT_EQ(lastNotice(NM_RCLICK)->row, 0);
    click(centreOf(2, 2));
    settle();
    EXPECT_EQ(buttons, 1);
    mouse(wxEVT_LEFT_DCLICK, centreOf(2, 2));
    mouse(wxEVT_LEFT_UP, centreOf(2, 2));
    EXPECT_TRUE(grid.IsCellEditing(2, 2)) << "a double click on the text edits";
    ASSERT_NE(lastNotice(NM_DBLCLK), nullptr);
    EXPECT_EQ(lastNotice(NM_DBLCLK)->col, 2);
    grid.EndEditing();
    settle();
}

TEST_F(GridWindowTest, DraggingPastTheBottomScrollsAndExtendsTheSelection) {
    CGridCtrl& grid = makeGrid(60, 3, 1, 1, wxSize(300, 200));
    mouse(wxEVT_LEFT_DOWN, centreOf(2, 1));
    const wxSize client = grid.GetClientSize();
    for (int tick = 0; tick < 15; ++tick)
        grid.HandleAutoScroll(wxPoint(20 + grid.GetFixedColumnWidth(), client.y + 30));
    mouse(wxEVT_LEFT_UP, wxPoint(20 + grid.GetFixedColumnWidth(), client.y - 5));
    EXPECT_GT(grid.GetTopLeftNonFixedCell().row, 1) << "scrolled down";
    const CCellSpan selected = grid.GetSelectedCellRange();
    EXPECT_EQ(selected.minRow, 2);
    EXPECT_GT(selected.maxRow, 15);
    EXPECT_TRUE(grid.IsCellVisible(selected.maxRow, 1));
}

TEST_F(GridWindowTest, ARealDragOfAHeadingBorderResizesTheColumn) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1, wxSize(500, 200));
    grid.SetColumnWidth(1, 80);
    frame_->Raise();
    wxUIActionSimulator user;
    GridRect heading;
    ASSERT_TRUE(grid.GetCellRect(0, 1, &heading));
    const wxPoint border(heading.right, (heading.top + heading.bottom) / 2);
    user.MouseMove(grid.ClientToScreen(border));
    if (!runUntil([&] { return grid.GetMouseMode() == MOUSE_OVER_COL_DIVIDE; }))
        GTEST_SKIP() << "the X server delivered no pointer move";
    user.MouseDown();
    ASSERT_TRUE(runUntil([&] { return grid.GetMouseMode() == MOUSE_SIZING_COL; }));
    user.MouseMove(grid.ClientToScreen(border + wxPoint(20, 0)));
    user.MouseMove(grid.ClientToScreen(border + wxPoint(40, 0)));
    user.MouseUp();
    ASSERT_TRUE(runUntil([&] { return grid.GetMouseMode() == MOUSE_NOTHING; }));
    // The width runs from the column's left edge to the pointer.
    EXPECT_EQ(grid.GetColumnWidth(1), border.x + 40 - heading.left);
}

// A 20 x 8 grid as the calibration and closure editors use it: headings,
// a check-box column, a combo column, a sorted column, a selection and the
// focus cell. The screenshot is kept for a look.
TEST_F(GridWindowTest, DemonstrationGridScreenshot) {
    CGridCtrl& grid = makeGrid(20, 8, 1, 1, wxSize(640, 420));
    const char* headings[] = {"", "Point", "Use", "Kind", "Distance", "Std err", "Height", "Note"};
    for (int col = 0; col < 8; ++col)
        grid.SetCellText(0, col, headings[col]);
    const char* kinds[] = {"Traverse", "Loop", "Sideshot"};
    for (int row = 1; row < 20; ++row) {
        grid.SetCellText(row, 0, std::to_string(row));
        grid.SetCellText(row, 1, "P" + std::to_string(100 + (row * 37) % 19));
        grid.SetCellType(row, 2, cellClass<CGridCellCheck>());
        dynamic_cast<CGridCellCheck*>(grid.GetCell(row, 2))->SetCheck(row % 3 != 0);
        grid.SetCellType(row, 3, cellClass<CGridCellCombo>());
        auto* combo = dynamic_cast<CGridCellCombo*>(grid.GetCell(row, 3));
        combo->SetOptions({kinds[0], kinds[1], kinds[2]});
        combo->SetStyle(CBS_DROPDOWNLIST);
        grid.SetCellText(row, 3, kinds[row % 3]);
        grid.SetCellText(row, 4,
                         std::to_string(100 + row * 13 % 50) + ".25" + std::to_string(row % 10));
        grid.SetCellFormat(row, 4, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        grid.SetCellText(row, 5, "0.00" + std::to_string(row % 7 + 2));
        grid.SetCellText(row, 6, std::to_string(row % 5) + ".500");
        grid.SetCellText(row, 7, row == 4 ? "checked twice against the field book" : "");
    }
    grid.SetCellBkColor(6, 5, rgb(255, 240, 200));
    grid.options().sortOnHeadingClick = true;
    grid.AutoSize();
    grid.SetColumnWidth(7, 120);
    grid.SetColumnWidth(1, 70);
    grid.SortItems(1, true);
    grid.SetFocusCell(3, 4);
    grid.SetSelectedRange(3, 4, 5, 5);
    grid.Refresh();
    guitest::waitForFirstPaint(grid_);
    const auto path = std::filesystem::path(TARNWELL_BINARY_DIR) / "screenshots" / "grid.png";
    EXPECT_TRUE(guitest::saveScreenshot(frame_, path));
    // The demonstration edits too: typing into the distance column.
    typeChar('9');
    wxWindow* editor = grid.GetCell(3, 4)->GetEditWindow();
    ASSERT_NE(editor, nullptr);
    key(editor, wxEVT_CHAR, WXK_RETURN);
    settle();
    EXPECT_EQ(grid.GetCellText(3, 4), "9");
}

TEST_F(GridWindowTest, AWrappedTextIsAsWideAsItsWidestLine) {
    CGridCtrl& grid = makeGrid(3, 3, 1, 1);
    grid.SetCellFormat(1, 1, DT_WORDBREAK | DT_LEFT);
    const std::string text = "ab\nabcdefgh\nabc";
    wxClientDC dc(&grid);
    dc.SetFont(grid.GetCell(1, 1)->GetFontObject());
    const int widest = dc.GetTextExtent("abcdefgh").x;
    const int lineHeight = dc.GetCharHeight();
    const int margin = grid.GetCell(1, 1)->GetMargin();
    const GridSize size = grid.GetCell(1, 1)->MeasureText(&text, &dc);
    EXPECT_EQ(size.cx, widest + 2 * margin);
    EXPECT_EQ(size.cy, 3 * lineHeight + 2 * margin);
}

TEST_F(GridWindowTest, VerticalHeadingTextCentresTheSortArrow) {
    CGridCtrl& grid = makeGrid(4, 3, 1, 1);
    grid.SetRowHeight(0, 60);
    grid.SetColumnWidth(1, 60);
    CellFont vertical = *grid.GetCell(0, 1)->GetFont();
    vertical.escapement = 900;
    grid.GetCell(0, 1)->SetFont(&vertical);
    grid.SetCellText(0, 1, "Up");
    grid.SortItems(1, true);
    const wxImage image = render();
    GridRect heading;
    ASSERT_TRUE(grid.GetCellRect(0, 1, &heading));
    const int middle = (heading.left + heading.right) / 2;
    auto shadowIn = [&](int from, int to) {
        int count = 0;
        for (int x = from; x < to; ++x)
            for (int y = heading.top + 2; y < heading.bottom - 1; ++y)
                count += pixelAt(image, x, y) == systemColour(SystemColour::shadow3d);
        return count;
    };
    EXPECT_GT(shadowIn(middle - 6, middle + 6), 3) << "the arrow in the middle";
    EXPECT_EQ(shadowIn(heading.right - 6, heading.right - 1), 0) << "none at the right edge";
}

} // namespace gridtest
