#include "gridctrl/draw_text.hpp"

#include "gridctrl/wx_conversions.hpp"

#include <wx/control.h>
#include <wx/dc.h>

#include <algorithm>

namespace gridctrl {

namespace {

bool wraps(unsigned format) {
    return (format & DT_WORDBREAK) != 0 && (format & DT_SINGLELINE) == 0;
}

wxString wxText(const std::string& text) {
    return wxString::FromUTF8(text.data(), text.size());
}

int textWidth(wxDC& dc, const std::string& text) {
    return dc.GetTextExtent(wxText(text)).x;
}

// Breaks one paragraph at blanks so that each line fits `width` when the
// words allow it; a word longer than the width stands alone.
void wrapParagraph(wxDC& dc, const std::string& paragraph, int width,
                   std::vector<std::string>& lines) {
    std::string line;
    std::size_t start = 0;
    while (start <= paragraph.size()) {
        std::size_t end = paragraph.find(' ', start);
        if (end == std::string::npos)
            end = paragraph.size();
        const std::string word = paragraph.substr(start, end - start);
        const std::string candidate = line.empty() ? word : line + ' ' + word;
        if (!line.empty() && textWidth(dc, candidate) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
        start = end + 1;
    }
    lines.push_back(line);
}

} // namespace

std::vector<std::string> layoutLines(wxDC& dc, const std::string& text, unsigned format,
                                     int width) {
    if ((format & DT_SINGLELINE) != 0)
        return {text};
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        std::string paragraph = text.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == '\r')
            paragraph.pop_back();
        if (wraps(format))
            wrapParagraph(dc, paragraph, width, lines);
        else
            lines.push_back(paragraph);
        if (end == std::string::npos)
            return lines;
        start = end + 1;
    }
}

GridSize measureCellText(wxDC& dc, const std::string& text, unsigned format, int width) {
    if ((format & DT_SINGLELINE) != 0 || !wraps(format)) {
        const wxSize size = dc.GetTextExtent(wxText(text));
        return GridSize{size.x, size.y};
    }
    const int lineHeight = dc.GetCharHeight();
    GridSize size;
    for (const std::string& line : layoutLines(dc, text, format, width)) {
        size.cx = std::max(size.cx, textWidth(dc, line));
        size.cy += lineHeight;
    }
    return size;
}

void drawCellText(wxDC& dc, const std::string& text, const GridRect& rect, unsigned format,
                  int escapement) {
    if (rect.IsEmpty() || text.empty())
        return;
    wxDCClipper clip(dc, wxRectOf(rect));
    if (escapement == 900) {
        const int x = rect.left + (rect.Width() - dc.GetCharHeight()) / 2;
        dc.DrawRotatedText(wxText(text), x, rect.bottom - 1, 90);
        return;
    }
    const int lineHeight = dc.GetCharHeight();
    std::vector<std::string> lines = layoutLines(dc, text, format, rect.Width());
    int y = rect.top;
    if ((format & DT_SINGLELINE) != 0) {
        if ((format & DT_VCENTER) != 0)
            y = rect.top + (rect.Height() - lineHeight) / 2;
        else if ((format & DT_BOTTOM) != 0)
            y = rect.bottom - lineHeight;
    }
    for (const std::string& line : lines) {
        wxString shown = wxText(line);
        if ((format & DT_END_ELLIPSIS) != 0 && lines.size() == 1)
            shown = wxControl::Ellipsize(shown, dc, wxELLIPSIZE_END, rect.Width());
        const int width = dc.GetTextExtent(shown).x;
        int x = rect.left;
        if ((format & DT_CENTER) != 0)
            x = rect.left + (rect.Width() - width) / 2;
        else if ((format & DT_RIGHT) != 0)
            x = rect.right - width;
        dc.DrawText(shown, x, y);
        y += lineHeight;
    }
}

} // namespace gridctrl
