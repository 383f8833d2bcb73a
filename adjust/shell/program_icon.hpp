#pragma once
// The program's icon, drawn rather than loaded so that the program needs no
// image files beside it: three stations of a survey network joined by
// observed lines.

#include <wx/bitmap.h>

wxBitmap programIconBitmap(int size);
