// The Graphics command: the network of the project's raw files in the
// graphics library's window, a child of the main window.

#include "engine/adjustment_results.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "shell/family_programs.hpp"
#include "shell/main_frame.hpp"
#include "shell/relative_error_dialog.hpp"
#include "shell/tools/inverse_dialog.hpp"

#include <filesystem>

void CMainFrame::showGraphics() {
    for (const std::string& name : listedNames(projectVars.pInputFileName)) {
        std::error_code ec;
        if (!std::filesystem::exists(projectRelativePath(name), ec)) {
            shell_.message("Invalid Raw File: " + name, MessageKind::ok);
            return;
        }
    }
    const int shown = graphics_.show(&graphicsWindowId_, static_cast<wxObject*>(this), projectVars,
                                     errEllipses.data(), errEllipseCount);
    updateTitle();
    if (shown == 0)
        shell_.message("Could not display the Graphics Window.", MessageKind::ok);
    showReady();
}

void CMainFrame::refreshOpenGraphics() {
    if (graphicsWindowId_ != GraphicsLibrary::noWindow && graphics_.isWindowOpen(graphicsWindowId_))
        showGraphics();
}

void CMainFrame::takePickedPoint(const wxString& name) {
    if (auto* inverse = dynamic_cast<CInverse*>(inverseDialog()))
        inverse->takePickedPoint(name);
    if (auto* relative = dynamic_cast<relErrEl*>(openToolDialog(relErrEl::dialogId)))
        relative->takePickedPoint(name);
}
