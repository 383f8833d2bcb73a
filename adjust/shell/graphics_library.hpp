#pragma once
// The network graphics library, loaded by its name when the main window is
// made and released with it, and its two entry points.

#include <cstdint>
#include <string>

class globalVars;
struct errEllipseRec;

class GraphicsLibrary {
public:
    // The window id of a caller that has no graphics window yet.
    static constexpr std::uint16_t noWindow = 0xFFFF;

    // Loads `name` through the dynamic loader's search; a library that is
    // not there leaves the object unloaded, which `loaded` tells.
    explicit GraphicsLibrary(const std::string& name);
    ~GraphicsLibrary();
    GraphicsLibrary(const GraphicsLibrary&) = delete;
    GraphicsLibrary& operator=(const GraphicsLibrary&) = delete;

    bool loaded() const { return show_ != nullptr && isWindowOpen_ != nullptr; }
    // Opens (or refreshes) the window `*id` as a child of `parent`: 1 when
    // shown, 0 when it could not be, or the library is not loaded.
    int show(std::uint16_t* id, void* parent, const globalVars& settings,
             const errEllipseRec* ellipses, int count) const;
    // Whether the window `id` is open; false without the library.
    bool isWindowOpen(std::uint16_t id) const;

private:
    using IsWindowOpenFn = int (*)(std::uint16_t);
    using ShowFn = int (*)(std::uint16_t*, void*, void*, const globalVars*, int,
                           const errEllipseRec*, int);

    void* handle_ = nullptr;
    IsWindowOpenFn isWindowOpen_ = nullptr;
    ShowFn show_ = nullptr;
};
