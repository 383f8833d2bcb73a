#include "ptbank/dialogs/point_overwrite_dialog.hpp"

#include "dialog_text.hpp"
#include "ptbank/dialogs/dialog_window_position.hpp"
#include "ptbank/dialogs/point_id_dialog.hpp"

#include "platform/c_locale_text.hpp"
#include "platform/sentinels.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cmath>
#include <cstring>
#include <optional>

namespace {

constexpr int pointFound = 0;
constexpr int gap = 6;
constexpr int fieldWidth = 130;
constexpr std::size_t codeLength = 7;
constexpr std::size_t descriptionLength = 255;

constexpr std::size_t row(OverwriteRow r) {
    return static_cast<std::size_t>(r);
}

bool hasElevation(double elevation) {
    return elevation != missingElevation;
}

std::string fixed(double value, int decimals) {
    return platform::formatC("%0.*f", decimals, value);
}

std::string elevationText(double elevation, int decimals) {
    return hasElevation(elevation) ? fixed(elevation, decimals) : std::string();
}

template <std::size_t N> std::string fieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

template <std::size_t N>
void setField(char (&field)[N], const std::string& text, std::size_t most) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min({text.size(), most, N - 1}));
}

bool allowed(const crdOverwriteRec& r, int bit) {
    return r.editMask == 31 || (r.editMask & bit) != 0;
}

wxTextCtrl* shownField(wxWindow* parent, int id, bool editable) {
    return new wxTextCtrl(parent, id, "", wxDefaultPosition, wxSize(fieldWidth, -1),
                          editable ? 0 : wxTE_READONLY);
}

} // namespace

OverwriteTexts overwriteTexts(const crdOverwriteRec& r) {
    OverwriteTexts t;
    const bool northingFirst = r.northingFirst != 0;
    t.firstLabel = northingFirst ? "Northing" : "Easting";
    t.secondLabel = northingFirst ? "Easting" : "Northing";
    auto rows = [&](const crdPointRec& p) {
        const double first = northingFirst ? p.northing : p.easting;
        const double second = northingFirst ? p.easting : p.northing;
        return std::array<std::string, overwriteRowCount>{
            fixed(first, r.coordDecimals), fixed(second, r.coordDecimals),
            elevationText(p.elevation, r.elevDecimals), fieldText(p.code),
            fieldText(p.description)};
    };
    t.current = rows(r.current);
    t.proposed = rows(r.proposed);
    const double dN = std::fabs(r.current.northing - r.proposed.northing);
    const double dE = std::fabs(r.current.easting - r.proposed.easting);
    t.delta[0] = fixed(northingFirst ? dN : dE, r.coordDecimals);
    t.delta[1] = fixed(northingFirst ? dE : dN, r.coordDecimals);
    if (hasElevation(r.current.elevation) && hasElevation(r.proposed.elevation))
        t.delta[2] = fixed(r.proposed.elevation - r.current.elevation, r.elevDecimals);
    return t;
}

CPtOverwriteDlg::CPtOverwriteDlg(crdOverwriteRec& record, wxWindow* parent)
    : wxDialog(parent, overwriteid::dialogId, "Point Overwrite"), record_(record) {
    buildControls();
    pointName_->ChangeValue(
        dialogtext::fromBytes(ptbank::trimmedText(fieldText(record_.current.name))));
    showTexts();
    applyEditRules();
    GetSizer()->SetSizeHints(this);
    ptbank::restoreDialogPos(positionStore(), *this);
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
        focusFirstField();
        event.Skip();
    });
}

ptbank::DialogPositionStore CPtOverwriteDlg::positionStore() const {
    ptbank::DialogPositionStore store;
    store.appKey = fieldText(record_.appKey);
    store.dialogNumber = ptbank::overwriteDialogNumber;
    store.useProfile = record_.useRegistry != 0;
    store.positionFile = fieldText(record_.positionFile);
    store.dialogName = ptbank::overwriteDialogName;
    return store;
}

void CPtOverwriteDlg::buildControls() {
    auto* column = new wxBoxSizer(wxVERTICAL);

    auto* nameRow = new wxBoxSizer(wxHORIZONTAL);
    nameRow->Add(new wxStaticText(this, wxID_ANY, "Point ID"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT,
                 gap);
    pointName_ = shownField(this, overwriteid::pointName, false);
    nameRow->Add(pointName_, 0, wxRIGHT, gap);
    changePointId_ = new wxButton(this, overwriteid::changePointId, "Change Pt ID");
    nameRow->Add(changePointId_);
    column->Add(nameRow, 0, wxALL, gap);

    auto* grid = new wxFlexGridSizer(4, gap / 2, gap);
    grid->AddSpacer(0);
    for (const char* heading : {"Current Values", "New Values", "Delta Values"})
        grid->Add(new wxStaticText(this, wxID_ANY, heading));
    firstLabel_ = new wxStaticText(this, overwriteid::firstLabel, "Northing");
    secondLabel_ = new wxStaticText(this, overwriteid::secondLabel, "Easting");
    struct RowIds {
        wxWindow* label;
        int current, proposed, delta;
    };
    const RowIds rows[overwriteRowCount] = {
        {firstLabel_, overwriteid::currentFirst, overwriteid::newFirst, overwriteid::deltaFirst},
        {secondLabel_, overwriteid::currentSecond, overwriteid::newSecond,
         overwriteid::deltaSecond},
        {new wxStaticText(this, wxID_ANY, "Elevation"), overwriteid::currentElevation,
         overwriteid::newElevation, overwriteid::deltaElevation},
        {new wxStaticText(this, wxID_ANY, "Code"), overwriteid::currentCode, overwriteid::newCode,
         0},
        {new wxStaticText(this, wxID_ANY, "Description"), overwriteid::currentDescription,
         overwriteid::newDescription, 0},
    };
    for (std::size_t i = 0; i < overwriteRowCount; ++i) {
        grid->Add(rows[i].label, 0, wxALIGN_CENTER_VERTICAL);
        current_[i] = shownField(this, rows[i].current, false);
        grid->Add(current_[i]);
        proposed_[i] = shownField(this, rows[i].proposed, true);
        proposed_[i]->Bind(wxEVT_KILL_FOCUS, &CPtOverwriteDlg::refreshAfterEdit, this);
        grid->Add(proposed_[i]);
        if (rows[i].delta == 0) {
            grid->AddSpacer(0);
            continue;
        }
        delta_[i] = shownField(this, rows[i].delta, false);
        grid->Add(delta_[i]);
    }
    column->Add(grid, 0, wxLEFT | wxRIGHT, gap);

    auto* warning =
        new wxStaticText(this, overwriteid::warning, "WARNING: POINT WILL BE OVERWRITTEN !");
    warning->SetForegroundColour(*wxRED);
    column->Add(warning, 0, wxALIGN_CENTER_HORIZONTAL | wxALL, gap);
    doNotAsk_ = new wxCheckBox(this, overwriteid::doNotAsk, "Do Not Ask Again");
    column->Add(doNotAsk_, 0, wxLEFT | wxRIGHT, gap);
    doNotAskNote_ = new wxStaticText(this, overwriteid::doNotAskNote, "(During Current Operation)");
    column->Add(doNotAskNote_, 0, wxLEFT | wxRIGHT, gap);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, overwriteid::overwrite, "Overwrite"), 0, wxRIGHT, gap);
    doNotOverwrite_ = new wxButton(this, overwriteid::doNotOverwrite, "Do Not Overwrite");
    buttons->Add(doNotOverwrite_, 0, wxRIGHT, gap);
    buttons->Add(new wxButton(this, overwriteid::cancel, "Cancel"));
    column->Add(buttons, 0, wxALIGN_CENTER_HORIZONTAL | wxALL, gap);
    SetSizer(column);

    doNotOverwrite_->SetDefault();
    SetEscapeId(overwriteid::cancel);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { choose(true); }, overwriteid::overwrite);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { choose(false); }, overwriteid::doNotOverwrite);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { finish(VKCRD_ANSWER_CANCEL); },
        overwriteid::cancel);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { changePointId(); }, overwriteid::changePointId);
}

void CPtOverwriteDlg::applyEditRules() {
    const crdOverwriteRec& r = record_;
    if (r.showDoNotAsk == 0) {
        doNotAsk_->Hide();
        doNotAskNote_->Hide();
    }
    changePointId_->Show(allowed(r, VKCRD_EDIT_NAME));
    const bool position = allowed(r, VKCRD_EDIT_POSITION);
    newField(OverwriteRow::first)->SetEditable(position);
    newField(OverwriteRow::second)->SetEditable(position);
    newField(OverwriteRow::elevation)
        ->SetEditable(allowed(r, VKCRD_EDIT_ELEVATION) && r.elevEditable != 0);
    newField(OverwriteRow::code)->SetEditable(allowed(r, VKCRD_EDIT_CODE) && r.codeEditable != 0);
    newField(OverwriteRow::description)
        ->SetEditable(allowed(r, VKCRD_EDIT_DESCRIPTION) && r.descEditable != 0);
}

// The first field the mask names takes the focus, caret at its end.
void CPtOverwriteDlg::focusFirstField() {
    const std::pair<int, OverwriteRow> order[] = {
        {VKCRD_EDIT_POSITION, OverwriteRow::first},
        {VKCRD_EDIT_ELEVATION, OverwriteRow::elevation},
        {VKCRD_EDIT_CODE, OverwriteRow::code},
        {VKCRD_EDIT_DESCRIPTION, OverwriteRow::description}};
    for (const auto& [bit, fieldRow] : order) {
        if ((record_.editMask & bit) != 0) {
            newField(fieldRow)->SetFocus();
            newField(fieldRow)->SetInsertionPointEnd();
            return;
        }
    }
    doNotOverwrite_->SetFocus();
}

wxTextCtrl* CPtOverwriteDlg::newField(OverwriteRow r) const {
    return proposed_[row(r)];
}

void CPtOverwriteDlg::showTexts() {
    const OverwriteTexts t = overwriteTexts(record_);
    firstLabel_->SetLabel(t.firstLabel);
    secondLabel_->SetLabel(t.secondLabel);
    for (std::size_t i = 0; i < overwriteRowCount; ++i) {
        current_[i]->ChangeValue(dialogtext::fromBytes(t.current[i]));
        proposed_[i]->ChangeValue(dialogtext::fromBytes(t.proposed[i]));
        shownProposed_[i] = t.proposed[i];
    }
    for (std::size_t i = 0; i < delta_.size(); ++i)
        delta_[i]->ChangeValue(t.delta[i]);
}

// The proposed point as the user left the new values. Only a text the user
// changed is read back, so a value shown rounded keeps all its digits. An
// empty elevation means no elevation, whether it was shown so or cleared.
void CPtOverwriteDlg::collectOverwriteFields() {
    crdPointRec& p = record_.proposed;
    setField(p.name, dialogtext::trimmedBytes(pointName_->GetValue()), sizeof p.name - 1);
    auto edited = [this](OverwriteRow r) -> std::optional<std::string> {
        const std::string text = dialogtext::toBytes(newField(r)->GetValue());
        if (text == shownProposed_[row(r)])
            return std::nullopt;
        return text;
    };
    const bool northingFirst = record_.northingFirst != 0;
    if (const auto text = edited(OverwriteRow::first))
        (northingFirst ? p.northing : p.easting) = platform::atofC(*text);
    if (const auto text = edited(OverwriteRow::second))
        (northingFirst ? p.easting : p.northing) = platform::atofC(*text);
    if (record_.elevEditable != 0) {
        const std::string text = dialogtext::toBytes(newField(OverwriteRow::elevation)->GetValue());
        if (ptbank::trimmedText(text).empty())
            p.elevation = missingElevation;
        else if (edited(OverwriteRow::elevation))
            p.elevation = platform::atofC(text);
    }
    setField(p.code, dialogtext::toBytes(newField(OverwriteRow::code)->GetValue()), codeLength);
    setField(p.description, dialogtext::toBytes(newField(OverwriteRow::description)->GetValue()),
             descriptionLength);
    record_.doNotAskAgain = record_.showDoNotAsk != 0 && doNotAsk_->GetValue() ? 1 : 0;
}

// The differences follow the user's edits as each new value is left.
void CPtOverwriteDlg::refreshAfterEdit(wxFocusEvent& event) {
    event.Skip();
    if (IsBeingDeleted())
        return;
    collectOverwriteFields();
    showTexts();
}

void CPtOverwriteDlg::choose(bool overwrite) {
    collectOverwriteFields();
    record_.overwriteChosen = overwrite ? 1 : 0;
    if (!IsIconized())
        ptbank::saveDialogPos(positionStore(), *this);
    const bool forAll = record_.doNotAskAgain != 0;
    if (overwrite)
        finish(forAll ? VKCRD_ANSWER_OVERWRITE_ALL : VKCRD_ANSWER_OVERWRITE);
    else
        finish(forAll ? VKCRD_ANSWER_KEEP_ALL : VKCRD_ANSWER_KEEP);
}

void CPtOverwriteDlg::changePointId() {
    crdPointIdRec idRecord;
    idRecord.title = fieldText(record_.title);
    idRecord.handle = record_.handle;
    idRecord.pointNames = record_.pointNames;
    idRecord.pointNameCount = record_.pointNameCount;
    CPointIdDlg chooser(idRecord, dialogtext::toBytes(pointName_->GetValue()), this);
    if (chooser.ShowModal() != pointid::ok)
        return;
    const std::string name = chooser.enteredName();
    pointName_->ChangeValue(dialogtext::fromBytes(name));
    char buffer[VKCRD_NAME_SIZE] = {};
    std::strncpy(buffer, name.c_str(), sizeof buffer - 1);
    crdPointRec stored{};
    const int read = VkCrdApi_read_point(record_.handle, buffer, &stored);
    record_.current = stored;
    if (read != pointFound) {
        const wxString shown = dialogtext::fromBytes(name);
        wxMessageBox(wxString::Format("Point '%s' not found in coordinate file.\nNo overwrite will "
                                      "occur.\n\nPoint '%s' will be written to coordinate file.",
                                      shown, shown),
                     dialogtext::fromBytes(fieldText(record_.title)), wxOK, this);
        collectOverwriteFields();
        finish(VKCRD_ANSWER_RENAMED);
        return;
    }
    showTexts();
}

void CPtOverwriteDlg::finish(int result) {
    SetReturnCode(result);
    EndDialog(result);
}
