#include "shell/alta_points_dialog.hpp"

#include "input/alta_points_file.hpp"
#include "platform/c_locale_text.hpp"
#include "shell/wx_shell.hpp"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

constexpr const char* pairArrow = " -> ";
constexpr const char* descriptionMark = "DESC:";
constexpr long largestMaximum = 1000;

std::string textOf(const wxTextCtrl* edit) {
    return edit->GetValue().utf8_string();
}

std::string trimmed(std::string text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

wxString wx(const std::string& text) {
    return wxString::FromUTF8(text);
}

// The points and pairs as the lists show them, read back into a file's contents.
AltaPoints contentsOf(const wxListBox* points, const wxListBox* pairs, int maxPoints) {
    AltaPoints contents;
    contents.maxPoints = maxPoints;
    for (unsigned i = 0; i < pairs->GetCount(); ++i) {
        const std::string entry = pairs->GetString(i).utf8_string();
        const auto arrow = entry.find(pairArrow);
        if (arrow != std::string::npos)
            contents.pairs.push_back(
                {entry.substr(0, arrow), entry.substr(arrow + std::string(pairArrow).size())});
    }
    for (unsigned i = 0; i < points->GetCount(); ++i) {
        const std::string entry = points->GetString(i).utf8_string();
        const auto mark = entry.find(descriptionMark);
        if (mark != std::string::npos)
            contents.entries.push_back(
                {AltaEntry::description,
                 trimmed(entry.substr(mark + std::string(descriptionMark).size()))});
        else
            contents.entries.push_back({AltaEntry::name, entry});
    }
    return contents;
}

} // namespace

CAltaPtsDlg::CAltaPtsDlg(wxWindow* parent, std::string path)
    : wxDialog(parent, dialogId, "Add Points For Inclusion in ALTA testing "),
      path_(std::move(path)) {
    auto* all = new wxStaticBoxSizer(wxVERTICAL, this, "Check all Connections");
    wxWindow* allBox = all->GetStaticBox();
    points_ = new wxListBox(allBox, pointsList, wxDefaultPosition, wxSize(220, 160), 0, nullptr,
                            wxLB_EXTENDED);
    pointName_ = new wxTextCtrl(allBox, pointEdit);
    description_ = new wxTextCtrl(allBox, descriptionEdit);
    maxPoints_ = new wxTextCtrl(allBox, maxPointsEdit);
    auto* addRows = new wxFlexGridSizer(2, wxSize(6, 4));
    addRows->Add(pointName_);
    addRows->Add(new wxButton(allBox, addPointButton, "Add by Pt. Number"),
                 wxSizerFlags().Expand());
    addRows->Add(description_);
    addRows->Add(new wxButton(allBox, addDescriptionButton, "Add by Desc."),
                 wxSizerFlags().Expand());
    addRows->Add(maxPoints_);
    addRows->Add(new wxStaticText(allBox, wxID_ANY, "Max. connections to display."),
                 wxSizerFlags().CentreVertical());
    all->Add(new wxStaticText(allBox, wxID_ANY, "Points"), wxSizerFlags().Border(wxALL, 4));
    all->Add(points_, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT, 4));
    all->Add(new wxButton(allBox, deletePointButton, "Delete"), wxSizerFlags().Border(wxALL, 4));
    all->Add(addRows, wxSizerFlags().Border(wxALL, 4));

    auto* specific = new wxStaticBoxSizer(wxVERTICAL, this, "Specific Connections to Check");
    wxWindow* specificBox = specific->GetStaticBox();
    pairs_ = new wxListBox(specificBox, pairsList, wxDefaultPosition, wxSize(220, 160), 0, nullptr,
                           wxLB_EXTENDED);
    from_ = new wxTextCtrl(specificBox, pairFromEdit);
    to_ = new wxTextCtrl(specificBox, pairToEdit);
    auto* pairRow = new wxBoxSizer(wxHORIZONTAL);
    pairRow->Add(from_);
    pairRow->Add(to_, wxSizerFlags().Border(wxLEFT, 4));
    pairRow->Add(new wxButton(specificBox, addPairButton, "Add"), wxSizerFlags().Border(wxLEFT, 4));
    specific->Add(new wxStaticText(specificBox, wxID_ANY, "From Pt.  ->    To Pt."),
                  wxSizerFlags().Border(wxALL, 4));
    specific->Add(pairs_, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT, 4));
    specific->Add(new wxButton(specificBox, deletePairButton, "Delete"),
                  wxSizerFlags().Border(wxALL, 4));
    specific->Add(pairRow, wxSizerFlags().Border(wxALL, 4));

    auto* groups = new wxBoxSizer(wxHORIZONTAL);
    groups->Add(all, wxSizerFlags(1).Expand().Border(wxALL, 8));
    groups->Add(specific, wxSizerFlags(1).Expand().Border(wxALL, 8));
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, wxID_OK, "Save"));
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"), wxSizerFlags().Border(wxLEFT, 8));
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(groups, wxSizerFlags(1).Expand());
    column->Add(buttons, wxSizerFlags().Right().Border(wxALL, 8));
    SetSizerAndFit(column);

    if (!path_.empty())
        SetTitle(wx("Add Points For Inclusion in ALTA testing. : " + path_));
    AltaPoints contents;
    std::vector<std::string> errors;
    readAltaPointsFile(path_, contents, errors);
    for (const std::string& error : errors)
        complain(error);
    maxPoints_->ChangeValue(wx(std::to_string(contents.maxPoints)));
    for (const AltaPair& pair : contents.pairs)
        pairs_->Append(wx(pair.from + pairArrow + pair.to));
    for (const AltaEntry& entry : contents.entries)
        points_->Append(
            wx(entry.kind == AltaEntry::description ? descriptionMark + entry.text : entry.text));

    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { addPoint(); }, addPointButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { addDescription(); }, addDescriptionButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { addPair(); }, addPairButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { deleteSelected(points_); }, deletePointButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { deleteSelected(pairs_); }, deletePairButton);
    bindEditingButtons(
        *this, [this] { return save(); }, [this] { return mayClose(); });
    asRead_ = shown();
    CentreOnParent();
}

std::vector<std::string> CAltaPtsDlg::shown() const {
    std::vector<std::string> texts = {textOf(maxPoints_)};
    for (const wxListBox* list : {points_, pairs_}) {
        texts.emplace_back();
        for (unsigned i = 0; i < list->GetCount(); ++i)
            texts.push_back(list->GetString(i).utf8_string());
    }
    return texts;
}

bool CAltaPtsDlg::edited() const {
    return shown() != asRead_;
}

// Without edits nothing is asked.
bool CAltaPtsDlg::mayClose() {
    return !edited() || mayDropEdits(this, path_, [this] { return save(); });
}

void CAltaPtsDlg::complain(const std::string& text) {
    wxMessageBox(wx(text), programCaption, wxOK | wxICON_EXCLAMATION, this);
}

bool CAltaPtsDlg::addUnique(wxListBox* list, const std::string& entry) {
    if (list->FindString(wx(entry), true) != wxNOT_FOUND) {
        complain(entry + " already exists in the list.");
        return false;
    }
    list->Append(wx(entry));
    return true;
}

void CAltaPtsDlg::addPoint() {
    const std::string name = trimmed(textOf(pointName_));
    if (name.empty()) {
        complain("Invalid point name.");
        return;
    }
    if (addUnique(points_, name)) {
        pointName_->Clear();
        pointName_->SetFocus();
    }
}

void CAltaPtsDlg::addDescription() {
    const std::string text = trimmed(textOf(description_));
    if (text.empty()) {
        complain("Invalid Description.");
        return;
    }
    if (addUnique(points_, std::string(descriptionMark) + " " + text)) {
        description_->Clear();
        description_->SetFocus();
    }
}

void CAltaPtsDlg::addPair() {
    const std::string from = trimmed(textOf(from_));
    const std::string to = trimmed(textOf(to_));
    if (from.empty() || to.empty()) {
        complain("Invalid Point Name.");
        return;
    }
    addUnique(pairs_, from + pairArrow + to);
}

void CAltaPtsDlg::deleteSelected(wxListBox* list) {
    wxArrayInt selected;
    list->GetSelections(selected);
    for (auto i = selected.size(); i-- > 0;)
        list->Delete(static_cast<unsigned>(selected[i]));
}

// The file is written only once every value is valid: an invalid maximum
// leaves the dialog open and the file as it was.
bool CAltaPtsDlg::save() {
    const std::optional<long> maximum = platform::parseLong(trimmed(textOf(maxPoints_)));
    if (!maximum || *maximum < 0 || *maximum > largestMaximum) {
        complain("Enter a number from 0 to 1000 in \"Max. connections to display.\"");
        maxPoints_->SetFocus();
        return false;
    }
    if (path_.empty()) {
        complain("ALTA reporting option chosen.\nBut no alta points file has been chosen");
        return false;
    }
    std::string error;
    if (!writeAltaPointsFile(path_, contentsOf(points_, pairs_, static_cast<int>(*maximum)),
                             error)) {
        complain(error);
        return false;
    }
    return true;
}
