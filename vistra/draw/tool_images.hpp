#pragma once
// The graphics window's tool bar: its commands with their tips, and their
// pictures: the icon theme's where it has one for the command, else a small
// picture drawn here.

#include "vistra/graph_commands.hpp"

#include <span>

#include <wx/bitmap.h>

class wxGraphicsContext;

// Pictures are square, of this many pixels, as on the main window's tool bar.
inline constexpr int toolImageSize = 24;

struct graphTool {
    int command;
    const char* tip;
    const char* themeIcon;                   // the icon theme's name, or null
    void (*draw)(wxGraphicsContext& canvas); // the picture drawn without the theme
};

// The tools in the order the tool bar shows them.
std::span<const graphTool> graphTools();
bool isGraphTool(int command);

enum class toolArt { themed, drawn };
// The tool's picture: with `toolArt::themed` the theme's icon when it has
// one, with `toolArt::drawn` (and without the theme's) the drawn one.
wxBitmap toolImage(const graphTool& tool, toolArt art);
