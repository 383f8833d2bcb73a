#include "shell/settings/settings_page.hpp"

#include "shell/settings/settings_sheet.hpp"
#include "shell/settings/settings_table.hpp"
#include "shell/wx_shell.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <variant>

namespace {

using X = SettingExchange;

int intValue(const SettingEntry& entry, const globalVars& values) {
    return values.*std::get<int globalVars::*>(entry.member);
}

void setInt(const SettingEntry& entry, globalVars& values, int value) {
    values.*std::get<int globalVars::*>(entry.member) = value;
}

} // namespace

SettingsPage::SettingsPage(wxWindow* parent, CSettingsPropSht& sheet, int pageIndex)
    : wxPanel(parent, wxID_ANY), sheet_(sheet), pageIndex_(pageIndex) {}

globalVars& SettingsPage::values() {
    return sheet_.values();
}

void SettingsPage::markModified() {
    sheet_.setModified(true);
}

void SettingsPage::markModifiedOnChange(std::initializer_list<int> ids) {
    for (int id : ids) {
        wxWindow* window = FindWindow(id);
        if (dynamic_cast<wxTextCtrl*>(window))
            window->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
                markModified();
                event.Skip();
            });
        else if (dynamic_cast<wxChoice*>(window))
            window->Bind(wxEVT_CHOICE, [this](wxCommandEvent& event) {
                markModified();
                event.Skip();
            });
        else if (dynamic_cast<wxCheckBox*>(window))
            window->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& event) {
                markModified();
                event.Skip();
            });
        else if (dynamic_cast<wxRadioButton*>(window))
            window->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent& event) {
                markModified();
                event.Skip();
            });
    }
}

void SettingsPage::refuse(const std::string& text, wxWindow* window) {
    settingsMessage(this, text);
    if (window != nullptr)
        window->SetFocus();
}

void SettingsPage::enable(std::initializer_list<int> ids, bool enabled) {
    for (int id : ids)
        if (wxWindow* window = FindWindow(id))
            window->Enable(enabled);
}

void SettingsPage::show(std::initializer_list<int> ids, bool shown) {
    for (int id : ids)
        if (wxWindow* window = FindWindow(id))
            window->Show(shown);
}

// The book gives its pages their size only when the sheet is first shown;
// until then a page has the toolkit's placeholder size, and a layout would
// squeeze its controls to nothing, which GTK refuses for check boxes when it
// shows them. A page not on screen is laid out when the book sizes it.
void SettingsPage::relayout() {
    if (IsShownOnScreen())
        Layout();
}

void SettingsPage::fillControls() {
    const globalVars& from = values();
    for (const SettingEntry& entry : settingEntries()) {
        if (entry.page != pageIndex_)
            continue;
        switch (entry.exchange) {
        case X::check:
            control<wxCheckBox>(entry.control)->SetValue(intValue(entry, from) != 0);
            break;
        case X::choice: {
            wxChoice* list = control<wxChoice>(entry.control);
            const int value = intValue(entry, from);
            list->SetSelection(
                value >= 0 && value < static_cast<int>(list->GetCount()) ? value : wxNOT_FOUND);
            break;
        }
        case X::radios:
            control<wxRadioButton>(intValue(entry, from) == 0 ? entry.control : entry.secondControl)
                ->SetValue(true);
            break;
        case X::number:
            control<wxTextCtrl>(entry.control)
                ->ChangeValue(wxString::FromUTF8(numberText(entry, from)));
            break;
        case X::text:
            control<wxTextCtrl>(entry.control)
                ->ChangeValue(
                    wxString::FromUTF8(from.*std::get<std::string globalVars::*>(entry.member)));
            break;
        case X::pageCode:
            break;
        }
    }
    fillOwnControls();
}

void SettingsPage::readControls() {
    globalVars& to = values();
    for (const SettingEntry& entry : settingEntries()) {
        if (entry.page != pageIndex_)
            continue;
        switch (entry.exchange) {
        case X::check:
            setInt(entry, to, control<wxCheckBox>(entry.control)->GetValue() ? 1 : 0);
            break;
        case X::choice: {
            // A value the list does not offer shows no selection and is kept.
            const int selection = control<wxChoice>(entry.control)->GetSelection();
            if (selection != wxNOT_FOUND)
                setInt(entry, to, selection);
            break;
        }
        case X::radios:
            setInt(entry, to, control<wxRadioButton>(entry.secondControl)->GetValue() ? 1 : 0);
            break;
        case X::number: {
            wxTextCtrl* edit = control<wxTextCtrl>(entry.control);
            if (edit->IsModified())
                setNumberFromText(entry, edit->GetValue().utf8_string(), to);
            break;
        }
        case X::text:
            to.*std::get<std::string globalVars::*>(entry.member) =
                control<wxTextCtrl>(entry.control)->GetValue().utf8_string();
            break;
        case X::pageCode:
            break;
        }
    }
    readOwnControls();
}

bool SettingsPage::validateControls() {
    for (const SettingEntry& entry : settingEntries()) {
        if (entry.page != pageIndex_ || entry.exchange != X::number)
            continue;
        // Values from a project file are checked too: they reach the run as they stand.
        wxTextCtrl* edit = control<wxTextCtrl>(entry.control);
        if (const auto problem = numberEntryProblem(entry, edit->GetValue().utf8_string())) {
            sheet_.showPage(pageIndex_);
            refuse(*problem, edit);
            return false;
        }
    }
    return validateOwnControls();
}

namespace pagecontrols {

wxStaticText* label(wxWindow* parent, int id, const std::string& text) {
    return new wxStaticText(parent, id, wxString::FromUTF8(text));
}

wxChoice* choice(wxWindow* parent, int id, const std::vector<std::string>& items, int width) {
    wxArrayString texts;
    for (const std::string& item : items)
        texts.push_back(wxString::FromUTF8(item));
    return new wxChoice(parent, id, wxDefaultPosition, wxSize(width, -1), texts);
}

wxTextCtrl* edit(wxWindow* parent, int id, int width) {
    return new wxTextCtrl(parent, id, "", wxDefaultPosition, wxSize(width, -1));
}

wxCheckBox* check(wxWindow* parent, int id, const std::string& text) {
    return new wxCheckBox(parent, id, wxString::FromUTF8(text));
}

wxRadioButton* radio(wxWindow* parent, int id, const std::string& text, bool firstOfGroup) {
    return new wxRadioButton(parent, id, wxString::FromUTF8(text), wxDefaultPosition, wxDefaultSize,
                             firstOfGroup ? wxRB_GROUP : 0);
}

wxButton* button(wxWindow* parent, int id, const std::string& text) {
    return new wxButton(parent, id, wxString::FromUTF8(text));
}

wxSizer* row(std::initializer_list<wxWindow*> windows) {
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    for (wxWindow* window : windows)
        sizer->Add(window, wxSizerFlags().CentreVertical().Border(wxRIGHT, 6));
    return sizer;
}

const std::vector<std::string>& unitNames() {
    static const std::vector<std::string> names = {"Meters", "US Feet", "Intl. Feet"};
    return names;
}

std::vector<std::string> digitNames(int highest) {
    std::vector<std::string> names;
    for (int digit = 0; digit <= highest; ++digit)
        names.push_back(std::to_string(digit));
    return names;
}

} // namespace pagecontrols

void settingsMessage(wxWindow* parent, const std::string& text) {
    wxMessageBox(wxString::FromUTF8(text), programCaption, wxOK | wxICON_EXCLAMATION, parent);
}
