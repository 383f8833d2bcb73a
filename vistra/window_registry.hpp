#pragma once
// The graphics windows the library has open, by window id. Ids are handed
// out from 0 upwards and never reused while the library is loaded; a window
// keeps the raw-data file list it was made with for its whole life.
//
// The registry drives windows through `GraphFrame`, so the create and reuse
// flows do not depend on the toolkit that draws them.

#include "engine/adjustment_results.hpp"
#include "model/settings/global_vars.hpp"
#include "vistra/graph_window.hpp"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

// A graphics window as the registry sees it.
class GraphFrame {
public:
    virtual ~GraphFrame() = default;
    virtual GraphWindowState& state() = 0;
    // Creates the window as a child of the caller's main window; false when
    // it cannot be made. Until it is made the registry owns the frame; from
    // then on the window system does, and the frame tells the registry when
    // it is destroyed (`GraphWindowRegistry::windowClosed`).
    virtual bool createWindow(void* parent) = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void bringToTop() = 0;
    // Builds the model again, leaves pan and zoom-window modes and repaints.
    virtual void refreshPicture() = 0;
    virtual void* windowHandle() = 0;
};

// What a new frame is made with.
struct GraphFrameRequest {
    std::string rawFileList;
    int option = 0;
    std::uint16_t id = 0;
    const errEllipseRec* ellipses = nullptr;
    int ellipseCount = 0;
    int ownerCookie = 0;
};

// Makes the frames; null when a frame cannot be constructed.
class GraphFrameMaker {
public:
    virtual ~GraphFrameMaker() = default;
    virtual std::unique_ptr<GraphFrame> makeFrame(const GraphFrameRequest& request) = 0;
};

// One open window.
struct graphWindowRec {
    void* callerResources = nullptr;
    GraphFrame* frame = nullptr;
    std::string rawFileList; // each name followed by "\n"
};

// The caption of a window: "Network Graphics: " and the first raw-data file
// of the list (the text before its first "\n"; a list without one gives
// nothing, or, with `wholeWithoutNewline`, the whole list).
std::string graphCaption(const std::string& rawFileList, bool wholeWithoutNewline);

class GraphWindowRegistry {
public:
    // `settings` is the library's own settings object.
    GraphWindowRegistry(GraphFrameMaker& maker, globalVars& settings)
        : maker_(maker), settings_(settings) {}

    // 1 while the window is open, else 0.
    int isWindowOpen(std::uint16_t id) const;

    // Takes over the caller's settings, then refreshes the open window `*id`
    // with the new ellipses or makes a new one, writing its id through `id`.
    // 1 when a window shows the network, 0 when none could be made (nothing
    // registered, `*id` unchanged).
    int showWithSettings(std::uint16_t* id, void* callerResources, void* parent,
                         const globalVars& callerSettings, int option,
                         const errEllipseRec* ellipses, int count);

    // The same without settings: a new window takes `rawFileList` and owner
    // `ownerCookie`, and is not brought to the top. The window's handle, or
    // null when none could be made.
    void* showWithFileList(std::uint16_t* id, void* callerResources, void* parent, int ownerCookie,
                           const std::string& rawFileList, int option,
                           const errEllipseRec* ellipses, int count);

    // A window is being destroyed: its record goes.
    void windowClosed(std::uint16_t id);

    std::uint16_t nextGraphWindowId() const { return nextId_; }

private:
    GraphFrame* reuse(std::uint16_t id, const errEllipseRec* ellipses, int count);
    GraphFrame* create(std::uint16_t* id, void* callerResources, void* parent,
                       const GraphFrameRequest& request);

    GraphFrameMaker& maker_;
    globalVars& settings_;
    std::map<std::uint16_t, graphWindowRec> graphWindowMap;
    std::uint16_t nextId_ = 0;
};
