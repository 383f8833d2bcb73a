#include "shell/global_settings_dialog.hpp"

#include "shell/command_ids.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

CGlobalSetDlg::CGlobalSetDlg(wxWindow* parent, int showStartUp, int useVkTool)
    : wxDialog(parent, shellid::globalSettingsDialog, "Global Program Settings") {
    startUpCheck_ = new wxCheckBox(this, shellid::showAtStartUpCheck,
                                   "Show project start-up dialog box when Tarnwell is started.");
    auto* tools =
        new wxStaticBoxSizer(wxVERTICAL, this, "Data Collector Transfer/ Raw Data Editor");
    vkRadio_ =
        new wxRadioButton(tools->GetStaticBox(), shellid::useVkToolsRadio, "Use V&&K utilities",
                          wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    auto* velmoraRadio = new wxRadioButton(tools->GetStaticBox(), shellid::useVelmoraToolsRadio,
                                           "Use Velmora utilities");
    tools->Add(vkRadio_, wxSizerFlags().Border(wxALL, 4));
    tools->Add(velmoraRadio, wxSizerFlags().Border(wxALL, 4));

    startUpCheck_->SetValue(showStartUp != 0);
    (useVkTool != 0 ? vkRadio_ : velmoraRadio)->SetValue(true);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* ok = new wxButton(this, wxID_OK, "OK");
    buttons->Add(ok);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Exit"), wxSizerFlags().Border(wxLEFT, 8));
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(startUpCheck_, wxSizerFlags().Border(wxALL, 12));
    column->Add(tools, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT, 12));
    column->Add(buttons, wxSizerFlags().Right().Border(wxALL, 12));
    SetSizerAndFit(column);
    ok->SetDefault();
    CentreOnParent();
}

int CGlobalSetDlg::showStartUp() const {
    return startUpCheck_->GetValue() ? 1 : 0;
}

int CGlobalSetDlg::useVkTool() const {
    return vkRadio_->GetValue() ? 1 : 0;
}
