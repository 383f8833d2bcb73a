#pragma once
// The small value types and constants shared by the grid control, its cells
// and their owners: colours, text-format flags, cell state bits, item masks,
// notification codes, cell addresses and blocks of cells. Nothing here needs
// the toolkit, so the grid's rules can be tested without a display.

#include <cstdint>
#include <string>

namespace gridctrl {

// A colour as 0x00BBGGRR; CLR_DEFAULT in a cell means "the default cell's".
using COLORREF = std::uint32_t;
inline constexpr COLORREF CLR_DEFAULT = 0xFF000000u;
constexpr COLORREF rgb(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr unsigned redOf(COLORREF c) {
    return c & 0xFFu;
}
constexpr unsigned greenOf(COLORREF c) {
    return (c >> 8) & 0xFFu;
}
constexpr unsigned blueOf(COLORREF c) {
    return (c >> 16) & 0xFFu;
}

// Text-format flags of a cell, drawn by drawCellText (draw_text.hpp).
inline constexpr unsigned DT_LEFT = 0x0000;
inline constexpr unsigned DT_TOP = 0x0000;
inline constexpr unsigned DT_CENTER = 0x0001;
inline constexpr unsigned DT_RIGHT = 0x0002;
inline constexpr unsigned DT_VCENTER = 0x0004;
inline constexpr unsigned DT_BOTTOM = 0x0008;
inline constexpr unsigned DT_WORDBREAK = 0x0010;
inline constexpr unsigned DT_SINGLELINE = 0x0020;
inline constexpr unsigned DT_NOPREFIX = 0x0800;
inline constexpr unsigned DT_END_ELLIPSIS = 0x8000;
// A cell format or margin of this value follows its default cell.
inline constexpr unsigned FORMAT_DEFAULT = 0xFFFFFFFFu;
inline constexpr int MARGIN_DEFAULT = -1;

// Cell state bits.
inline constexpr unsigned GRIDSTATE_FOCUSED = 0x01;
inline constexpr unsigned GRIDSTATE_SELECTED = 0x02;
inline constexpr unsigned GRIDSTATE_DROPHILITED = 0x04;
inline constexpr unsigned GRIDSTATE_READONLY = 0x08;
inline constexpr unsigned GRIDSTATE_FIXED = 0x10;
inline constexpr unsigned GRIDSTATE_FIXEDROW = 0x20;
inline constexpr unsigned GRIDSTATE_FIXEDCOL = 0x40;
inline constexpr unsigned GRIDSTATE_MODIFIED = 0x80;

// Item mask bits of CGridItem.
inline constexpr unsigned GRIDITEM_TEXT = 0x001;
inline constexpr unsigned GRIDITEM_IMAGE = 0x002;
inline constexpr unsigned GRIDITEM_DATA = 0x004;
inline constexpr unsigned GRIDITEM_STATE = 0x008;
inline constexpr unsigned GRIDITEM_BKCOLOR = 0x010;
inline constexpr unsigned GRIDITEM_FGCOLOR = 0x020;
inline constexpr unsigned GRIDITEM_FORMAT = 0x040;
inline constexpr unsigned GRIDITEM_FONT = 0x080;
inline constexpr unsigned GRIDITEM_MARGIN = 0x100;

// Grid-line modes and auto-size flags.
inline constexpr int GRIDLINES_NONE = 0;
inline constexpr int GRIDLINES_HORZ = 1;
inline constexpr int GRIDLINES_VERT = 2;
inline constexpr int GRIDLINES_BOTH = 3;
inline constexpr int GRIDAUTOSIZE_FIXED = 1;
inline constexpr int GRIDAUTOSIZE_NONFIXED = 2;

// Notification codes the grid sends its owner.
inline constexpr int NM_CLICK = -2;
inline constexpr int NM_DBLCLK = -3;
inline constexpr int NM_RCLICK = -5;
inline constexpr int GRIDN_SELCHANGING = -100;
inline constexpr int GRIDN_SELCHANGED = -101;
inline constexpr int GRIDN_BEGINEDIT = -105;
inline constexpr int GRIDN_ENDEDIT = -106;
inline constexpr int GRIDN_BEGINDRAG = -109;
inline constexpr int GRIDN_CACHEHINT = -113;
inline constexpr int GRIDN_GETDISPINFO = -150;

// The window id of every in-place editor, and the first character that
// says an edit was started by the mouse.
inline constexpr int IDC_INPLACE_CONTROL = 8;
inline constexpr unsigned EDIT_BY_MOUSE = 1;

// The address of one cell; -1 in either part means no cell.
struct CCellID {
    int row = -1;
    int col = -1;
    CCellID() = default;
    CCellID(int r, int c) : row(r), col(c) {}
    bool operator==(const CCellID&) const = default;
};

// A rectangular block of cells, bounds included; -1 means none.
struct CCellSpan {
    int minRow = -1;
    int minCol = -1;
    int maxRow = -1;
    int maxCol = -1;
    CCellSpan() = default;
    CCellSpan(int r0, int c0, int r1, int c1) : minRow(r0), minCol(c0), maxRow(r1), maxCol(c1) {}
    bool operator==(const CCellSpan&) const = default;
    bool IsValid() const {
        return minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0 && minRow <= maxRow &&
               minCol <= maxCol;
    }
    bool Contains(int row, int col) const {
        return minRow <= row && row <= maxRow && minCol <= col && col <= maxCol;
    }
    bool Contains(const CCellID& cell) const { return Contains(cell.row, cell.col); }
};

// A rectangle whose right and bottom lie one past its last pixel, as the
// cell drawing arithmetic expects (a cell rectangle from the grid's geometry
// holds its last pixel and is grown by one before it is filled).
struct GridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
    void Grow() { ++right, ++bottom; }
    void Shrink() { --right, --bottom; }
    void Deflate(int d) { left += d, top += d, right -= d, bottom -= d; }
    bool operator==(const GridRect&) const = default;
};

struct GridSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const GridSize&) const = default;
};

// The description of a cell's font (face, size in points, weight 400 normal
// or 700 bold, escapement in tenths of a degree: 900 is vertical text).
struct CellFont {
    std::string faceName;
    int pointSize = 9;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    int escapement = 0;
    bool operator==(const CellFont&) const = default;
};

// Everything a cell can hold, as the owner of a virtual grid fills it and as
// SetCellFromItem applies it (by mask).
struct CGridItem {
    int row = -1;
    int col = -1;
    unsigned mask = 0;
    unsigned state = 0;
    unsigned format = 0;
    int image = -1;
    COLORREF bkColor = CLR_DEFAULT;
    COLORREF fgColor = CLR_DEFAULT;
    std::intptr_t data = 0;
    CellFont font;
    unsigned margin = 0;
    std::string text;
};

} // namespace gridctrl
