// How a cell draws and measures itself on the screen and on a printer page.
#include "gridctrl/grid_cell.hpp"

#include "gridctrl/draw_text.hpp"
#include "gridctrl/grid_model.hpp"
#include "gridctrl/toolkit_seams.hpp"
#include "gridctrl/wx_conversions.hpp"

#include <wx/dc.h>
#include <wx/dcclient.h>
#include <wx/imaglist.h>
#include <wx/window.h>

#include <algorithm>
#include <optional>

namespace gridctrl {

wxWindow* gridWindowOf(GridModel* grid) {
    auto* window = dynamic_cast<wxWindow*>(grid);
    return window != nullptr && window->GetHandle() != nullptr ? window : nullptr;
}

wxFont fontObjectOf(const CellFont& font) {
    wxFontInfo info(font.pointSize > 0 ? font.pointSize : 9);
    if (!font.faceName.empty())
        info.FaceName(font.faceName);
    else
        info.Family(wxFONTFAMILY_SWISS);
    info.Bold(font.weight >= 700).Italic(font.italic).Underlined(font.underline);
    return wxFont(info);
}

CellFont cellFontOf(const wxFont& font) {
    CellFont cell;
    if (!font.IsOk())
        return cell;
    cell.faceName = font.GetFaceName().utf8_string();
    cell.pointSize = font.GetPointSize();
    cell.weight = font.GetNumericWeight();
    cell.italic = font.GetStyle() == wxFONTSTYLE_ITALIC;
    cell.underline = font.GetUnderlined();
    return cell;
}

namespace {

// Puts back what a cell's drawing changes on the device context.
class DcState {
public:
    explicit DcState(wxDC& dc)
        : dc_(dc), font_(dc.GetFont()), pen_(dc.GetPen()), brush_(dc.GetBrush()),
          text_(dc.GetTextForeground()), mode_(dc.GetBackgroundMode()) {}
    ~DcState() {
        dc_.SetFont(font_);
        dc_.SetPen(pen_);
        dc_.SetBrush(brush_);
        dc_.SetTextForeground(text_);
        dc_.SetBackgroundMode(mode_);
    }
    DcState(const DcState&) = delete;
    DcState& operator=(const DcState&) = delete;

private:
    wxDC& dc_;
    wxFont font_;
    wxPen pen_;
    wxBrush brush_;
    wxColour text_;
    int mode_;
};

void fill(wxDC& dc, const GridRect& rect, COLORREF colour) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(colourOf(colour)));
    dc.DrawRectangle(wxRectOf(rect));
}

// A one-pixel frame on the rectangle's outer pixels.
void frame(wxDC& dc, const GridRect& rect, COLORREF colour) {
    dc.SetPen(wxPen(colourOf(colour)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(wxRectOf(rect));
}

void line(wxDC& dc, int x1, int y1, int x2, int y2) {
    dc.DrawLine(x1, y1, x2, y2);
}

// The raised look of a heading: light along the top and left, dark along
// the right and bottom.
void raisedBorder(wxDC& dc, const GridRect& r) {
    dc.SetPen(wxPen(colourOf(systemColour(SystemColour::highlight3d))));
    line(dc, r.right, r.top, r.left, r.top);
    line(dc, r.left, r.top, r.left, r.bottom);
    dc.SetPen(wxPen(colourOf(systemColour(SystemColour::darkShadow3d))));
    line(dc, r.right, r.top, r.right, r.bottom);
    line(dc, r.right, r.bottom, r.left, r.bottom);
}

// The sunken look of the focus row's and column's headings.
void sunkenBorder(wxDC& dc, const GridRect& r) {
    dc.SetPen(wxPen(colourOf(systemColour(SystemColour::shadow3d))));
    line(dc, r.left, r.bottom - 1, r.left, r.top);
    line(dc, r.left, r.top, r.right - 1, r.top);
    dc.SetPen(wxPen(colourOf(systemColour(SystemColour::highlight3d))));
    line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1);
    line(dc, r.right - 1, r.bottom - 1, r.left, r.bottom - 1);
}

std::optional<wxSize> imageSize(const GridModel* grid, int image) {
    const wxImageList* images = grid != nullptr ? grid->GetImageList() : nullptr;
    int width = 0;
    int height = 0;
    if (images == nullptr || image < 0 || !images->GetSize(image, width, height))
        return std::nullopt;
    return wxSize(width, height);
}

COLORREF resolved(COLORREF own, COLORREF fallback) {
    return own != CLR_DEFAULT ? own : fallback;
}

struct SortArrow {
    int size = 0;
    bool centred = false;
};

// The sort mark of the sort column's heading; the rectangle loses its width
// on the right when the mark sits there.
void drawSortArrow(wxDC& dc, GridRect& rect, bool ascending, bool centred) {
    int s = dc.GetTextExtent("M").y - 4;
    if (s >= rect.Height())
        s = rect.Height() - 4;
    if (s <= 0 || rect.left + s >= rect.right)
        return;
    const int t = rect.bottom - s - 2;
    const int x = centred ? (rect.left - s + rect.right) / 2 : rect.right - s;
    const wxPen shadow(colourOf(systemColour(SystemColour::shadow3d)));
    const wxPen light(colourOf(systemColour(SystemColour::highlight3d)));
    auto triangle = [&dc](wxPoint a, wxPoint b, wxPoint c) {
        dc.DrawLine(a, b);
        dc.DrawLine(b, c);
        dc.DrawLine(c, a);
    };
    if (ascending) {
        dc.SetPen(light);
        triangle({x + 1, t + s + 1}, {x + s / 2 + 1, t + 1}, {x + s + 1, t + s + 1});
        dc.SetPen(shadow);
        triangle({x, t + s}, {x + s / 2, t}, {x + s, t + s});
    } else {
        dc.SetPen(light);
        triangle({x + 1, t + 1}, {x + s / 2 + 1, t + s + 1}, {x + s + 1, t + 1});
        dc.SetPen(shadow);
        triangle({x, t}, {x + s / 2, t + s}, {x + s, t});
    }
    if (!centred)
        rect.right -= s;
}

// Drawing needs a grid, a device context and a rectangle with room.
bool drawable(const GridModel* grid, const wxDC* dc, const GridRect& rect) {
    return grid != nullptr && dc != nullptr && rect.Width() > 0 && rect.Height() > 0;
}

bool verticalText(const CellFont* font) {
    return font != nullptr && (font->escapement == 900 || font->escapement == -900);
}

} // namespace

wxFont CGridCellBase::GetFontObject() const {
    const CellFont* font = GetFont();
    return font != nullptr ? fontObjectOf(*font) : wxNullFont;
}

bool CGridCellBase::ChooseCursor() {
    if (wxWindow* window = gridWindowOf(GetGrid()))
        window->SetCursor(wxCursor(wxCURSOR_ARROW));
    return true;
}

bool CGridCellBase::Draw(wxDC* dc, int row, int col, GridRect rect, bool eraseBackground) {
    GridModel* grid = GetGrid();
    if (!drawable(grid, dc, rect))
        return false;
    const CGridDefaultCell* fallback = GetDefaultCell();
    DcState saved(*dc);
    dc->SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const GridOptions& options = grid->options();
    const bool gridLines = options.gridLines != GRIDLINES_NONE;
    COLORREF text = resolved(GetTextColour(), fallback->GetTextColour());
    COLORREF back = resolved(GetBackColour(), fallback->GetBackColour());
    if (GetBackColour() != CLR_DEFAULT)
        eraseBackground = true;
    if (IsFocused() || IsDropTarget()) {
        if (IsSelected()) {
            back = systemColour(SystemColour::highlight);
            text = systemColour(SystemColour::highlightText);
            eraseBackground = true;
        }
        rect.Grow();
        if (eraseBackground)
            fill(*dc, rect, back);
        if (gridLines)
            rect.Shrink();
        if (options.frameFocusCell)
            frame(*dc, rect, text);
        if (!gridLines)
            rect.Shrink();
    } else if (IsSelected()) {
        rect.Grow();
        fill(*dc, rect, systemColour(SystemColour::highlight));
        rect.Shrink();
        text = systemColour(SystemColour::highlightText);
    } else if (eraseBackground) {
        rect.Grow();
        fill(*dc, rect, back);
        rect.Shrink();
    }
    dc->SetTextForeground(colourOf(text));
    if (IsFixed() && gridLines) {
        const CCellID focus = grid->GetFocusCell();
        if (options.focusShownInHeadings && grid->IsValid(focus) &&
            (row == focus.row || col == focus.col)) {
            rect.Grow();
            sunkenBorder(*dc, rect);
        } else {
            raisedBorder(*dc, rect);
        }
        rect.Deflate(1);
    }
    dc->SetFont(GetFontObject());
    rect.Deflate(GetMargin());
    rect.Grow();
    if (const auto size = imageSize(grid, GetImage())) {
        if (size->x <= rect.Width() && size->y <= rect.Height())
            grid->GetImageList()->Draw(GetImage(), *dc, rect.left, rect.top,
                                       wxIMAGELIST_DRAW_NORMAL, true);
    }
    if (row == 0 && col == grid->GetSortColumn())
        drawSortArrow(*dc, rect, grid->GetSortAscending(),
                      GetFont() != nullptr && GetFont()->escapement == 900);
    GetTextArea(&rect);
    drawCellText(*dc, GetText(), rect, GetFormat() | DT_NOPREFIX,
                 GetFont() != nullptr ? GetFont()->escapement : 0);
    return true;
}

bool CGridCellBase::DrawForPrint(wxDC* dc, int, int, GridRect rect) {
    GridModel* grid = GetGrid();
    if (!drawable(grid, dc, rect))
        return false;
    const CGridDefaultCell* fallback = GetDefaultCell();
    DcState saved(*dc);
    dc->SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    COLORREF text = rgb(0, 0, 0);
    if (grid->options().printColour) {
        std::optional<COLORREF> back;
        if (IsFixed())
            back = resolved(GetBackColour(), fallback->GetBackColour());
        else if (GetBackColour() != CLR_DEFAULT && GetBackColour() != fallback->GetBackColour())
            back = GetBackColour();
        // A cell with its own background but no text colour of its own
        // prints in its default cell's text colour.
        text = GetBackColour() != CLR_DEFAULT ? resolved(GetTextColour(), fallback->GetTextColour())
                                              : fallback->GetTextColour();
        if (dc->GetDepth() == 1 && !back)
            text = rgb(redOf(text) * 30 / 100, greenOf(text) * 59 / 100, blueOf(text) * 11 / 100);
        if (back) {
            GridRect grown = rect;
            grown.Grow();
            fill(*dc, grown, *back);
        }
    }
    dc->SetTextForeground(colourOf(text));
    dc->SetFont(GetFontObject());
    if (IsFixed() && grid->options().gridLines != GRIDLINES_NONE) {
        raisedBorder(*dc, rect);
        rect.Deflate(1);
    }
    rect.left += GetMargin();
    rect.right -= GetMargin();
    if (const auto size = imageSize(grid, GetImage())) {
        grid->GetImageList()->Draw(GetImage(), *dc, rect.left, rect.top, wxIMAGELIST_DRAW_NORMAL,
                                   true);
        rect.left += size->x + GetMargin();
    }
    drawCellText(*dc, GetText(), rect, GetFormat() | DT_NOPREFIX,
                 GetFont() != nullptr ? GetFont()->escapement : 0);
    return true;
}

bool CGridCellBase::GetTextArea(GridRect* rect) {
    if (const auto size = imageSize(GetGrid(), GetImage()))
        rect->left += size->x + 1 + GetMargin();
    return true;
}

GridSize CGridCellBase::MeasureText(const std::string* text, wxDC* dc) {
    const CGridDefaultCell* fallback = GetDefaultCell();
    std::optional<wxClientDC> windowDc;
    if (dc == nullptr && text != nullptr) {
        if (wxWindow* window = gridWindowOf(GetGrid())) {
            windowDc.emplace(window);
            dc = &*windowDc;
        }
    }
    if (text == nullptr || dc == nullptr) {
        if (fallback == nullptr)
            return GridSize{};
        return GridSize{fallback->GetWidth(), fallback->GetHeight()};
    }
    wxDCFontChanger font(*dc, GetFontObject());
    const unsigned format = GetFormat();
    int width = 0;
    if ((format & DT_WORDBREAK) != 0 && (format & DT_SINGLELINE) == 0) {
        for (const std::string& line : layoutLines(*dc, *text, format & ~DT_WORDBREAK, 0))
            width = std::max(width, dc->GetTextExtent(wxString::FromUTF8(line)).x);
        ++width;
    }
    GridSize size = measureCellText(*dc, *text, format, width);
    const int margin = GetMargin();
    size.cx += 2 * margin;
    size.cy += 2 * margin;
    if (verticalText(GetFont()))
        size = GridSize{size.cy, size.cx + 4 * margin};
    return size;
}

GridSize CGridCellBase::MeasureCell(wxDC* dc) {
    const std::string text = GetText();
    GridSize size = MeasureText(&text, dc);
    const int margin = GetMargin();
    if (const auto image = imageSize(GetGrid(), GetImage())) {
        const int textWidth = size.cx;
        size.cx += image->x;
        if (textWidth > 2 * margin)
            size.cx += margin;
        size.cy = std::max(size.cy, image->y + 2 * margin);
    }
    size.cx += 1;
    size.cy += 1;
    if (IsFixed()) {
        size.cx += 1;
        size.cy += 1;
    }
    return size;
}

} // namespace gridctrl
