#pragma once
// The graphics window's tool bar: its commands with their tips, and the
// small pictures drawn for them.

#include <span>
#include <string_view>

#include <wx/bitmap.h>

struct graphTool {
    int command;
    const char* tip;
    std::string_view glyph; // the picture's short sign
};

std::span<const graphTool> graphTools();
bool isGraphTool(int command);
// A 21 x 16 picture showing `glyph`.
wxBitmap toolImage(std::string_view glyph);
