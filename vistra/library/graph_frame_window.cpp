#include "vistra/library/graph_frame_window.hpp"

#include "model/settings/project_defaults.hpp"
#include "platform/profile_store.hpp"
#include "vistra/draw/tool_images.hpp"
#include "vistra/library/graph_canvas.hpp"
#include "vistra/sheet/graph_settings_sheet.hpp"

#include <wx/mdi.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

// The toolkit's window; destroying it ends the graphics window. Child frames
// of a tabbed parent have no tool or status bar of their own, so the tool
// bar is a child window above the picture and the status bar one below it.
class GraphChildFrame : public wxMDIChildFrame {
public:
    GraphChildFrame(wxMDIParentFrame* parent, GraphFrameWindow* graph)
        : wxMDIChildFrame(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                          wxDEFAULT_FRAME_STYLE | wxCLIP_CHILDREN),
          graph_(graph), owner_(parent) {
        auto* tools = makeToolBar();
        auto* status = makeStatusBar();
        canvas = new GraphCanvas(this, graph->state(), parent, status);
        canvas->settings = loadSettings();
        auto* column = new wxBoxSizer(wxVERTICAL);
        column->Add(tools, 0, wxEXPAND);
        column->Add(canvas, 1, wxEXPAND);
        column->Add(status, 0, wxEXPAND);
        SetSizer(column);
        Layout();
        // A tool event is a menu event: the main window's menu commands come
        // here first while this window is active, and go on to it.
        Bind(wxEVT_TOOL, [this](wxCommandEvent& event) {
            if (isGraphTool(event.GetId()))
                onTool(event.GetId());
            else
                event.Skip();
        });
        Bind(wxEVT_CLOSE_WINDOW, &GraphChildFrame::onClose, this);
    }
    ~GraphChildFrame() override {
        storeSettings(canvas->settings);
        delete graph_;
    }

    GraphCanvas* canvas = nullptr;

private:
    wxToolBar* makeToolBar() {
        auto* tools = new wxToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                    wxTB_HORIZONTAL | wxTB_FLAT);
        tools->SetToolBitmapSize(wxSize(toolImageSize, toolImageSize));
        // Each tip is also the fly-by help in the main window's status bar.
        for (const graphTool& tool : graphTools()) {
            const wxBitmap picture = toolImage(tool, toolArt::themed);
            tools->AddTool(tool.command, tool.tip, picture, picture.ConvertToDisabled(),
                           wxITEM_NORMAL, tool.tip, tool.tip);
        }
        tools->Realize();
        return tools;
    }

    wxStatusBar* makeStatusBar() {
        auto* status = new wxStatusBar(this, wxID_ANY, 0);
        const int widths[graphStatusFieldCount] = {-1, -2};
        status->SetFieldsCount(graphStatusFieldCount, widths);
        return status;
    }

    void onTool(int command) {
        if (command == commandRefresh)
            graph_->refreshPicture();
        else if (command == commandSettings)
            editSettings();
        else
            canvas->runCommand(command);
    }

    // The settings sheet, one at a time; OK hands its values over, Cancel
    // leaves what Apply handed over before.
    void editSettings() {
        if (sheet_ != nullptr) {
            sheet_->SetFocus();
            return;
        }
        graphSett sheet(this, *canvas);
        sheet_ = &sheet;
        if (sheet.ShowModal() == wxID_OK)
            canvas->takeSettings(sheet.values());
        sheet_ = nullptr;
        canvas->Refresh();
    }

    // The drawing settings live in the program's profile; one that cannot be
    // read leaves the defaults, and is not written over when the window goes.
    static graphSettings loadSettings() {
        platform::ProfileStore profile(programProfileKey);
        std::string error;
        profile.load(error);
        return readGraphSettings(profile);
    }

    static void storeSettings(const graphSettings& settings) {
        platform::ProfileStore profile(programProfileKey);
        std::string error;
        if (!profile.load(error))
            return;
        writeGraphSettings(profile, settings);
        if (!profile.save(error))
            activeShell().message("The graphics settings were not saved: " + error,
                                  MessageKind::ok);
    }

    void onClose(wxCloseEvent& event) {
        wxCommandEvent closed(wxEVT_MENU, graphWindowClosed);
        wxPostEvent(owner_, closed);
        event.Skip();
    }

    GraphFrameWindow* graph_;
    wxWindow* owner_;
    graphSett* sheet_ = nullptr;
};

GraphFrameWindow::GraphFrameWindow(GraphWindowRegistry& registry, const GraphFrameRequest& request,
                                   ShellServices& shell)
    : registry_(registry), state_(request.rawFileList, request.option, request.id, request.ellipses,
                                  request.ellipseCount, request.ownerCookie, shell) {}

GraphFrameWindow::~GraphFrameWindow() {
    registry_.windowClosed(state_.id());
}

bool GraphFrameWindow::createWindow(void* parent) {
    auto* owner = wxDynamicCast(static_cast<wxObject*>(parent), wxMDIParentFrame);
    if (owner == nullptr)
        return false;
    window_ = new GraphChildFrame(owner, this);
    return true;
}

void GraphFrameWindow::setCaption(const std::string& caption) {
    window_->SetTitle(wxString::FromUTF8(caption));
}

void GraphFrameWindow::bringToTop() {
    window_->Show();
    window_->Activate();
}

void GraphFrameWindow::refreshPicture() {
    state_.rebuild();
    window_->canvas->pictureRebuilt();
}

void* GraphFrameWindow::windowHandle() {
    return static_cast<wxWindow*>(window_);
}

std::unique_ptr<GraphFrame> GraphFrameWindowMaker::makeFrame(const GraphFrameRequest& request) {
    return std::make_unique<GraphFrameWindow>(*registry_, request, shell_);
}
