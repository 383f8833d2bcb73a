// The graphics window's drawing settings through the loaded library: the
// settings sheet from the window's tool bar, values applied before a Cancel
// kept, and every setting written to the profile when the window closes and
// read again by the next window.

#include "gui_test_support.hpp"

#include "engine/adjustment_results.hpp"
#include "vistra/graph_settings.hpp"

#include <wx/mdi.h>
#include <wx/propdlg.h>
#include <wx/textctrl.h>

#include <dlfcn.h>

#include <cstdint>

namespace {

using ShowWithSettingsFn = int (*)(std::uint16_t*, void*, void*, const globalVars*, int,
                                   const errEllipseRec*, int);
using IsWindowOpenFn = int (*)(std::uint16_t);

constexpr int graphicSettingsCommand = 32803;
constexpr int travTxtSizeField = 1093;
constexpr int errEllipSizeField = 1010;

class GraphicsWindowSettings : public guitest::ShellTest {
protected:
    GraphicsWindowSettings() {
        library_ = dlopen(VISTRA_LIBRARY, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        EXPECT_NE(library_, nullptr) << dlerror();
        show_ = reinterpret_cast<ShowWithSettingsFn>(dlsym(library_, "showZureruvuvLS"));
        isOpen_ = reinterpret_cast<IsWindowOpenFn>(dlsym(library_, "IsWindowOpen"));
        settings_.pInputFileName = "site.vkr\n";
        settings_.includeRawData = 0; // nothing to read: the window opens empty
    }

    // Opens a new graphics window over the main window.
    wxMDIChildFrame* openGraphics(CMainFrame& main) {
        id_ = 0xFFFF;
        EXPECT_EQ(show_(&id_, nullptr, static_cast<wxObject*>(&main), &settings_, 1, nullptr, 0),
                  1);
        for (wxWindow* child : main.GetClientWindow()->GetChildren())
            if (auto* frame = wxDynamicCast(child, wxMDIChildFrame);
                frame != nullptr && frame->GetTitle().StartsWith("Network Graphics: "))
                return frame;
        ADD_FAILURE() << "no graphics window";
        return nullptr;
    }

    void closeGraphics(wxMDIChildFrame* window) {
        const std::uint16_t id = id_;
        window->Close(true);
        guitest::yieldUntil([&] { return isOpen_(id) == 0; });
        ASSERT_EQ(isOpen_(id), 0);
    }

    static void runCommand(wxWindow* window, int command) {
        wxCommandEvent tool(wxEVT_TOOL, command);
        window->ProcessWindowEvent(tool);
    }

    static wxString fieldText(wxWindow& sheet, int id) {
        auto* field = dynamic_cast<wxTextCtrl*>(sheet.FindWindow(id));
        EXPECT_NE(field, nullptr) << id;
        return field != nullptr ? field->GetValue() : wxString();
    }

    void* library_ = nullptr;
    ShowWithSettingsFn show_ = nullptr;
    IsWindowOpenFn isOpen_ = nullptr;
    globalVars settings_;
    std::uint16_t id_ = 0xFFFF;
};

TEST_F(GraphicsWindowSettings, AppliedValuesSurviveCancelAndTheWindowClosing) {
    ASSERT_NE(show_, nullptr);
    CMainFrame& main = openMainWindow();
    wxMDIChildFrame* graphics = openGraphics(main);
    ASSERT_NE(graphics, nullptr);
    wxTEST_DIALOG(runCommand(graphics, graphicSettingsCommand),
                  guitest::OnDialog<wxPropertySheetDialog>([](wxPropertySheetDialog& sheet) {
                      // A fresh profile: the defaults.
                      EXPECT_EQ(fieldText(sheet, travTxtSizeField), "4");
                      EXPECT_EQ(fieldText(sheet, errEllipSizeField), "1");
                      dynamic_cast<wxTextCtrl*>(sheet.FindWindow(travTxtSizeField))->SetValue("14");
                      wxCommandEvent apply(wxEVT_BUTTON, wxID_APPLY);
                      apply.SetEventObject(sheet.FindWindow(wxID_APPLY));
                      sheet.FindWindow(wxID_APPLY)->ProcessWindowEvent(apply);
                      return wxID_CANCEL;
                  }));
    closeGraphics(graphics);

    const platform::ProfileStore stored = profile();
    EXPECT_EQ(stored.getInt("Version 1.00", "travTxtSize", -1), 14);
    int keys = 0;
    for (const graphSettingKey& k : graphSettingKeys())
        keys += stored.value("Version 1.00", std::string(k.key)).has_value();
    EXPECT_EQ(keys, 54) << "every setting is written";
    EXPECT_EQ(stored.getInt("Version 1.00", "gpsSymbSize", -1), 20);

    graphics = openGraphics(main);
    ASSERT_NE(graphics, nullptr);
    wxTEST_DIALOG(runCommand(graphics, graphicSettingsCommand),
                  guitest::OnDialog<wxPropertySheetDialog>([](wxPropertySheetDialog& sheet) {
                      EXPECT_EQ(fieldText(sheet, travTxtSizeField), "14");
                      return wxID_CANCEL;
                  }));
    closeGraphics(graphics);
}

} // namespace
