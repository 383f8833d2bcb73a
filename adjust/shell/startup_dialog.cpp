#include "shell/startup_dialog.hpp"

#include "shell/command_ids.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>

CDlgStartUp::CDlgStartUp(wxWindow* parent, int showAtStartUp)
    : wxDialog(parent, shellid::startUpDialog, "Tarnwell Start-up ") {
    auto* create = new wxButton(this, shellid::createNewButton, "Create a New Project");
    auto* open = new wxButton(this, shellid::openExistingButton, "Open an Existing Project");
    auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel");
    showCheck_ =
        new wxCheckBox(this, shellid::showAtStartUpCheck, "Show this dialog box on start-up.");
    showCheck_->SetValue(showAtStartUp != 0);

    auto* buttons = new wxBoxSizer(wxVERTICAL);
    for (wxButton* button : {create, open, cancel})
        buttons->Add(button, wxSizerFlags().Expand().Border(wxBOTTOM, 6));
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(buttons, wxSizerFlags().Expand().Border(wxALL, 12));
    column->Add(showCheck_, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxBOTTOM, 12));
    SetSizerAndFit(column);
    CentreOnParent();
    create->SetDefault();

    create->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { choose(1); });
    open->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { choose(0); });
}

int CDlgStartUp::showAtStartUp() const {
    return showCheck_->GetValue() ? 1 : 0;
}

void CDlgStartUp::choose(int create) {
    createNew = create;
    EndModal(wxID_OK);
}
