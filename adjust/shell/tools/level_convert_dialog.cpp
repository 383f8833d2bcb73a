#include "shell/tools/level_convert_dialog.hpp"

#include "shell/file_dialogs.hpp"
#include "shell/tools/file_converters.hpp"
#include "shell/wx_shell.hpp"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <iterator>

using namespace levelconvertid;

namespace {

const wxString formats[] = {"Topcon digital level file", "Leica digital level file"};

} // namespace

cnvrtLev::cnvrtLev(wxWindow* parent, FileConverters& converters)
    : wxDialog(parent, dialog, "Convert Level File"), converters_(converters) {
    layOut();
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { selectInput(); }, inputSelect);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { selectOutput(); }, outputSelect);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnConvert(); }, convertButton);
    CentreOnParent();
}

void cnvrtLev::layOut() {
    auto* fields = new wxFlexGridSizer(3, wxSize(6, 6));
    const auto fileRow = [this, fields](const char* label, int editId, int buttonId) {
        fields->Add(new wxStaticText(this, wxID_ANY, label), wxSizerFlags().CentreVertical());
        fields->Add(new wxTextCtrl(this, editId, "", wxDefaultPosition, wxSize(320, -1)));
        fields->Add(new wxButton(this, buttonId, "Select"));
    };
    fileRow("Level File to Convert:", inputEdit, inputSelect);
    fields->Add(new wxStaticText(this, wxID_ANY, "Level File Format:"),
                wxSizerFlags().CentreVertical());
    auto* list = new wxChoice(this, formatList, wxDefaultPosition, wxDefaultSize,
                              std::size(formats), formats);
    list->SetSelection(0);
    fields->Add(list);
    fields->AddSpacer(0);
    fileRow("New Level File:", outputEdit, outputSelect);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, convertButton, "Convert"));
    buttons->Add(new wxButton(this, wxID_CANCEL, "Exit"), wxSizerFlags().Border(wxLEFT, 8));
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(fields, wxSizerFlags().Border(wxALL, 10));
    column->Add(buttons, wxSizerFlags().Right().Border(wxALL, 10));
    SetSizerAndFit(column);
}

std::string cnvrtLev::text(int id) const {
    return static_cast<wxTextCtrl*>(FindWindow(id))->GetValue().utf8_string();
}

void cnvrtLev::message(const std::string& text) {
    WxShell(this).message(text, MessageKind::ok);
}

void cnvrtLev::selectInput() {
    FileDialogRequest request;
    request.filter = "Level Manuf. files (*.*)|*.*|All files (*.*)|*.*|";
    if (const auto chosen = chooseFile(this, request))
        static_cast<wxTextCtrl*>(FindWindow(inputEdit))->SetValue(wxString::FromUTF8(*chosen));
}

void cnvrtLev::selectOutput() {
    FileDialogRequest request;
    request.save = true;
    request.filter = "Level files (*.LEV)|*.LEV|";
    request.extension = "lev";
    request.initialName = "*.lev";
    if (const auto chosen = chooseFile(this, request))
        static_cast<wxTextCtrl*>(FindWindow(outputEdit))->SetValue(wxString::FromUTF8(*chosen));
}

void cnvrtLev::OnConvert() {
    const std::string input = text(inputEdit);
    const std::string output = text(outputEdit);
    if (const std::string problem = unreadableInput(input); !problem.empty()) {
        message(problem);
        return;
    }
    const int format = static_cast<wxChoice*>(FindWindow(formatList))->GetSelection();
    std::string said;
    if (converters_.convertLevel(format, input, output, said) != 0) {
        message(withCause("Error converting " + input + " to " + output, said));
        return;
    }
    if (!said.empty())
        message(said);
    message(input + " successfully converted to " + output);
}
