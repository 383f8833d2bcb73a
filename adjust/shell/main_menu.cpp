#include "shell/main_menu.hpp"

#include "shell/command_ids.hpp"

#include <wx/artprov.h>
#include <wx/dcmemory.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

using namespace shellid;

namespace {

constexpr int toolSize = 24;

wxMenu* fileMenu() {
    auto* menu = new wxMenu;
    menu->Append(newProject, "&New Project\tCtrl+N");
    menu->Append(openProject, "&Open Project...\tCtrl+O");
    menu->Append(closeProject, "&Close Project");
    menu->Append(saveProject, "&Save Project\tCtrl+S");
    menu->Append(saveProjectAs, "Save Project &As...");
    menu->AppendSeparator();
    menu->Append(openClosureFile, "Open Traverse Clos&ure File");
    menu->Append(newClosureFile, "N&ew Traverse Closure File");
    menu->Append(openAltaFile, "Open A&LTA, Rel. Err. Ellipse File");
    menu->Append(newAltaFile, "Ne&w ALTA, Rel. Err. Ellipse File");
    menu->Append(editStdErrFile, "E&dit Standard Error File");
    menu->Append(newStdErrFile, "New S&tandard Error File");
    menu->AppendSeparator();
    menu->Append(recentProject, "&Recent Project");
    menu->AppendSeparator();
    menu->Append(saveAsDefault, "Sa&ve Project As Default");
    menu->AppendSeparator();
    menu->Append(print, "&Print...\tCtrl+P");
    menu->AppendSeparator();
    menu->Append(exitProgram, "E&xit");
    return menu;
}

wxMenu* settingsMenu() {
    auto* menu = new wxMenu;
    menu->Append(projectSettings, "&Project Settings\tF4");
    menu->Append(globalSettings, "&Global Settings");
    return menu;
}

wxMenu* processMenu() {
    auto* menu = new wxMenu;
    menu->Append(networkAdjustment, "&Network Adjustment\tF5");
    menu->Append(preprocess, "&Preprocess, compute unadjusted coordinates\tF6");
    menu->Append(blunderDetection, "&Blunder Detection...");
    return menu;
}

wxMenu* toolsMenu() {
    auto* outputFiles = new wxMenu;
    outputFiles->Append(editReportFile, "&Report File");
    outputFiles->Append(editErrorFile, "&Error File");
    outputFiles->Append(editNezFile, "&NEZ file");
    outputFiles->Append(editFormattedNezFile, "&Formatted NEZ File");

    auto* menu = new wxMenu;
    menu->Append(inverse, "&Inverse");
    menu->Append(relErrEllipse, "&Relative Error Ellipse");
    menu->AppendSeparator();
    menu->Append(convertGpsFiles, "&Convert GPS/Total Station Files");
    menu->Append(convertLevelFiles, "C&onvert Level Files");
    menu->AppendSeparator();
    menu->Append(editRawFiles, "&Edit Raw Files");
    menu->Append(collectorTransfer, "&Data Collector Transfer");
    menu->AppendSeparator();
    menu->Append(createUdp, "Cre&ate User-defined Coordinate System");
    menu->Append(edmCalibration, "ED&M Calibration");
    menu->AppendSeparator();
    menu->AppendSubMenu(outputFiles, "Edi&t Output Files...");
    return menu;
}

wxMenu* viewMenu() {
    auto* menu = new wxMenu;
    menu->AppendCheckItem(viewToolbar, "&Toolbar");
    menu->AppendCheckItem(viewStatusBar, "&Status Bar");
    return menu;
}

wxMenu* windowMenu() {
    auto* menu = new wxMenu;
    menu->Append(windowCascade, "&Cascade");
    menu->Append(windowTile, "&Tile");
    menu->Append(closeAll, "C&lose All");
    menu->AppendSeparator();
    menu->Append(lsReport, "&Least Squares Report");
    menu->Append(errReport, "&Error Report");
    menu->Append(nezReport, "NE&Z Report");
    menu->Append(graphics, "&Graphics\tCtrl+G");
    return menu;
}

wxMenu* helpMenu() {
    auto* menu = new wxMenu;
    menu->Append(help, "&Tarnwell Help");
    menu->Append(about, "&About Tarnwell...");
    return menu;
}

// A plain button face with the command's initial, for a theme that lacks the icon.
wxBitmap letterBitmap(char letter) {
    wxBitmap bitmap(toolSize, toolSize, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxLIGHT_GREY_BRUSH);
    dc.Clear();
    dc.SetFont(wxFontInfo(toolSize / 2).Bold());
    const wxString text(letter);
    const wxSize extent = dc.GetTextExtent(text);
    dc.DrawText(text, (toolSize - extent.x) / 2, (toolSize - extent.y) / 2);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

void collectCommandIds(wxMenu* menu, std::set<int>& ids) {
    for (const wxMenuItem* item : menu->GetMenuItems()) {
        if (item->IsSubMenu())
            collectCommandIds(item->GetSubMenu(), ids);
        else if (!item->IsSeparator())
            ids.insert(item->GetId());
    }
}

wxBitmap toolBitmap(const wxArtID& art, const wxString& label) {
    const wxBitmap themed =
        wxArtProvider::GetBitmap(art, wxART_TOOLBAR, wxSize(toolSize, toolSize));
    return themed.IsOk() ? themed : letterBitmap(static_cast<char>(label[0].GetValue()));
}

} // namespace

wxMenuBar* buildMainMenu() {
    auto* bar = new wxMenuBar;
    bar->Append(fileMenu(), "&File");
    bar->Append(settingsMenu(), "&Settings");
    bar->Append(processMenu(), "&Process");
    bar->Append(toolsMenu(), "&Tools");
    bar->Append(viewMenu(), "&View");
    bar->Append(windowMenu(), "&Window");
    bar->Append(helpMenu(), "&Help");
    return bar;
}

void buildMainToolBar(wxToolBar* toolBar) {
    struct Tool {
        int id;
        wxArtID art;
        const char* tip;
    };
    const Tool groups[][4] = {
        {{newProject, wxART_NEW, "New Project"},
         {openProject, wxART_FILE_OPEN, "Open Project"},
         {saveProject, wxART_FILE_SAVE, "Save Project"}},
        {{printButton, wxART_PRINT, "Print"}},
        {{stdErrSettingsButton, wxART_REPORT_VIEW, "Standard Error Settings"},
         {collectorTransferButton, wxART_GO_DOWN, "Data Collector Transfer"},
         {editRawFilesButton, wxART_EDIT, "Edit Raw Files"}},
        {{networkAdjustmentButton, wxART_EXECUTABLE_FILE, "Network Adjustment"},
         {inverseButton, wxART_FIND, "Inverse"},
         {relErrEllipseButton, wxART_TIP, "Relative Error Ellipse"},
         {graphicsButton, wxART_FULL_SCREEN, "Graphics"}},
        {{about, wxART_HELP, "About Tarnwell"}},
    };
    toolBar->SetToolBitmapSize(wxSize(toolSize, toolSize));
    bool first = true;
    for (const auto& group : groups) {
        if (!first)
            toolBar->AddSeparator();
        first = false;
        for (const Tool& tool : group) {
            if (tool.tip == nullptr)
                break;
            const wxBitmap bitmap = toolBitmap(tool.art, tool.tip);
            // The tip is also the fly-by help in the status bar, which
            // would otherwise stand empty while the pointer is on the tool.
            toolBar->AddTool(tool.id, tool.tip, bitmap, bitmap.ConvertToDisabled(), wxITEM_NORMAL,
                             tool.tip, tool.tip);
        }
    }
    toolBar->Realize();
}

std::set<int> commandIdsOf(wxMenuBar* menuBar, wxToolBar* toolBar) {
    std::set<int> ids;
    for (size_t i = 0; i < menuBar->GetMenuCount(); ++i)
        collectCommandIds(menuBar->GetMenu(i), ids);
    for (size_t i = 0; i < toolBar->GetToolsCount(); ++i) {
        const wxToolBarToolBase* tool = toolBar->GetToolByPos(static_cast<int>(i));
        if (!tool->IsSeparator())
            ids.insert(tool->GetId());
    }
    return ids;
}
