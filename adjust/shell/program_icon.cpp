#include "shell/program_icon.hpp"

#include <wx/dcmemory.h>

#include <algorithm>

wxBitmap programIconBitmap(int size) {
    wxBitmap bitmap(size, size, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    const wxPoint stations[] = {
        {size / 2, size / 8}, {size / 8, size * 7 / 8}, {size * 7 / 8, size * 3 / 4}};
    dc.SetPen(wxPen(wxColour(0, 70, 140), std::max(1, size / 16)));
    dc.DrawLine(stations[0], stations[1]);
    dc.DrawLine(stations[1], stations[2]);
    dc.DrawLine(stations[2], stations[0]);
    dc.SetBrush(wxBrush(wxColour(200, 30, 30)));
    dc.SetPen(*wxTRANSPARENT_PEN);
    for (const wxPoint& station : stations)
        dc.DrawCircle(station, std::max(2, size / 10));
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}
