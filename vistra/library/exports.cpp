// The three entry points of the graphics library. They are the only symbols
// the library exports; everything else, the computing core's program-wide
// lists and settings included, stays the library's own.

#include "model/settings/global_vars.hpp"
#include "vistra/library/graph_frame_window.hpp"

#include <wx/app.h>
#include <wx/msgdlg.h>

#include <cstdint>
#include <exception>
#include <string>

namespace {

// The readers' and computations' message boxes while a model is built; with
// no application running there is nobody to show them to.
class LibraryShell : public SilentShell {
public:
    void message(const std::string& text, MessageKind) override {
        if (wxTheApp != nullptr)
            wxMessageBox(wxString::FromUTF8(text), "Tarnwell", wxOK | wxICON_EXCLAMATION);
    }
};

struct Library {
    Library() : maker(shell), registry(maker, projectVars) { maker.attach(registry); }
    LibraryShell shell;
    GraphFrameWindowMaker maker;
    GraphWindowRegistry registry;
};

Library& library() {
    static Library instance;
    return instance;
}

} // namespace

#define VISTRA_EXPORT extern "C" __attribute__((visibility("default")))

VISTRA_EXPORT int IsWindowOpen(std::uint16_t id) {
    return library().registry.isWindowOpen(id);
}

VISTRA_EXPORT int showZureruvuvLS(std::uint16_t* id, void* callerResources, void* parent,
                                  const globalVars* settings, int option,
                                  const errEllipseRec* ellipses, int count) {
    if (id == nullptr || settings == nullptr)
        return 0;
    try {
        return library().registry.showWithSettings(id, callerResources, parent, *settings, option,
                                                   ellipses, count);
    } catch (const std::exception&) {
        return 0;
    }
}

VISTRA_EXPORT void* showZureruvuv(std::uint16_t* id, void* callerResources, void* parent,
                                  int ownerCookie, const char* rawFileList, int option,
                                  const errEllipseRec* ellipses, int count) {
    if (id == nullptr)
        return nullptr;
    try {
        return library().registry.showWithFileList(id, callerResources, parent, ownerCookie,
                                                   rawFileList != nullptr ? rawFileList : "",
                                                   option, ellipses, count);
    } catch (const std::exception&) {
        return nullptr;
    }
}
