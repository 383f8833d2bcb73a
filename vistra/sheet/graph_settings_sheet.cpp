#include "vistra/sheet/graph_settings_sheet.hpp"

#include <wx/bookctrl.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valgen.h>
#include <wx/valnum.h>

#include <algorithm>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace {

enum class controlKind { check, symbolList, colourList, sizeEdit, caption };

struct controlSpec {
    int id;
    controlKind kind;
    const char* label;    // of a check box, or the caption before a field
    std::string_view key; // the setting, by its profile key
};
using rowSpec = std::vector<controlSpec>;
struct groupSpec {
    const char* title;
    std::vector<rowSpec> rows;
};

// Rows of a group with lines: lines and their colour; the symbol, its type,
// colour and size; the label and its size.
std::vector<rowSpec> lineGroupRows(const char* linesLabel, const int ids[8],
                                   std::string_view prefix, std::deque<std::string>& keys) {
    const char* suffixes[] = {"LnOnOff",   "LnColor",  "SymbOnOff", "SymbType",
                              "SymbColor", "SymbSize", "TxtOnOff",  "TxtSize"};
    std::vector<std::string_view> k;
    for (const char* suffix : suffixes) {
        keys.push_back(std::string(prefix) + suffix);
        k.push_back(keys.back());
    }
    return {
        {{ids[0], controlKind::check, linesLabel, k[0]},
         {ids[1], controlKind::colourList, "", k[1]}},
        {{ids[2], controlKind::check, "Symbol:", k[2]},
         {ids[3], controlKind::symbolList, "", k[3]},
         {ids[4], controlKind::colourList, "", k[4]},
         {ids[5], controlKind::sizeEdit, "Size:", k[5]}},
        {{ids[6], controlKind::check, "Text:", k[6]},
         {ids[7], controlKind::sizeEdit, "Size:", k[7]}},
    };
}

// Rows of a group of points: the symbol, its type, colour and size; the
// point number's label and its size.
std::vector<rowSpec> pointGroupRows(const int ids[6], std::string_view prefix,
                                    std::deque<std::string>& keys) {
    const char* suffixes[] = {"SymbOnOff", "SymbType", "SymbColor",
                              "SymbSize",  "TxtOnOff", "TxtSize"};
    std::vector<std::string_view> k;
    for (const char* suffix : suffixes) {
        keys.push_back(std::string(prefix) + suffix);
        k.push_back(keys.back());
    }
    return {
        {{ids[0], controlKind::check, "Symbol:", k[0]},
         {ids[1], controlKind::symbolList, "", k[1]},
         {ids[2], controlKind::colourList, "", k[2]},
         {ids[3], controlKind::sizeEdit, "Size:", k[3]}},
        {{wxID_ANY, controlKind::caption, "Pt. Num.", {}},
         {ids[4], controlKind::check, "Text:", k[4]},
         {ids[5], controlKind::sizeEdit, "Size:", k[5]}},
    };
}

// The keys the tables name; a deque keeps the views valid as it grows.
std::deque<std::string>& keyTexts() {
    static std::deque<std::string> texts;
    return texts;
}

const std::vector<groupSpec>& pointsPage() {
    static const std::vector<groupSpec> groups = [] {
        auto& keys = keyTexts();
        const int control[] = {1078, 1079, 1083, 1026, 1086, 1009};
        const int fixed[] = {1080, 1081, 1102, 1029, 1103, 1030};
        const int floating[] = {1104, 1082, 1105, 1031, 1106, 1032};
        return std::vector<groupSpec>{
            {"Control Points", pointGroupRows(control, "cp", keys)},
            {"Fixed Control Points", pointGroupRows(fixed, "fixP", keys)},
            {"Floating Control Points", pointGroupRows(floating, "floatP", keys)},
            {"Graphics ", {{{2000, controlKind::sizeEdit, "Pick Radius:", "pickRadius"}}}},
        };
    }();
    return groups;
}

const std::vector<groupSpec>& traverseAndSideshotsPage() {
    static const std::vector<groupSpec> groups = [] {
        auto& keys = keyTexts();
        const int traverse[] = {1059, 1058, 1070, 1071, 1091, 1092, 1090, 1093};
        const int sideshots[] = {1062, 1063, 1072, 1073, 1084, 1027, 1087, 1011};
        const int azimuths[] = {1066, 1067, 1074, 1069, 1085, 1028, 1088, 1014};
        return std::vector<groupSpec>{
            {"Traverse", lineGroupRows("Lines", traverse, "trav", keys)},
            {"Sideshots", lineGroupRows("Lines", sideshots, "ss", keys)},
            {"Azimuths", lineGroupRows("Lines", azimuths, "az", keys)},
        };
    }();
    return groups;
}

const std::vector<groupSpec>& gpsPage() {
    static const std::vector<groupSpec> groups = [] {
        auto& keys = keyTexts();
        const int gps[] = {1172, 1173, 1171, 1170, 1169, 1168, 1174, 1167};
        std::vector<rowSpec> rows = lineGroupRows("Line:", gps, "gps", keys);
        rows.back().insert(rows.back().begin(), {wxID_ANY, controlKind::caption, "Pt. Num.", {}});
        return std::vector<groupSpec>{{"GPS Vectors", rows}};
    }();
    return groups;
}

const std::vector<groupSpec>& ellipsePage() {
    static const std::vector<groupSpec> groups = {
        {"Error Ellipse",
         {{{1097, controlKind::check, "Error Ellipse:", "errEllipOnOff"},
           {1098, controlKind::colourList, "", "errEllipColor"}}}},
    };
    return groups;
}

int& valueOf(graphSettings& values, std::string_view key) {
    const auto& keys = graphSettingKeys();
    const auto at = std::find_if(keys.begin(), keys.end(),
                                 [key](const graphSettingKey& k) { return k.key == key; });
    return settingValue(values, *at);
}

// A check box exchanging 0/1 with an int setting.
class onOffValidator : public wxValidator {
public:
    explicit onOffValidator(int& value) : value_(value) {}
    wxObject* Clone() const override { return new onOffValidator(value_); }
    bool TransferToWindow() override {
        static_cast<wxCheckBox*>(GetWindow())->SetValue(value_ != 0);
        return true;
    }
    bool TransferFromWindow() override {
        value_ = static_cast<wxCheckBox*>(GetWindow())->GetValue() ? 1 : 0;
        return true;
    }
    bool Validate(wxWindow*) override { return true; }

private:
    int& value_;
};

// A field wide enough for five digits, the toolkit's frame included.
wxTextCtrl* sizeField(wxWindow* parent, int id, const wxValidator& validator) {
    auto* field =
        new wxTextCtrl(parent, id, wxString(), wxDefaultPosition, wxDefaultSize, 0, validator);
    field->SetMinSize(field->GetSizeFromTextSize(field->GetTextExtent("00000").x));
    return field;
}

wxWindow* makeControl(wxWindow* parent, const controlSpec& spec, graphSettings& values) {
    static const wxString colours[] = {"Red", "Green", "Blue", "Magenta", "Cyan", "Yellow"};
    static const wxString symbols[] = {"Square", "Triangle", "Circle"};
    switch (spec.kind) {
    case controlKind::check:
        return new wxCheckBox(parent, spec.id, spec.label, wxDefaultPosition, wxDefaultSize, 0,
                              onOffValidator(valueOf(values, spec.key)));
    case controlKind::symbolList:
        return new wxChoice(parent, spec.id, wxDefaultPosition, wxDefaultSize, 3, symbols, 0,
                            wxGenericValidator(&valueOf(values, spec.key)));
    case controlKind::colourList:
        return new wxChoice(parent, spec.id, wxDefaultPosition, wxDefaultSize, 6, colours, 0,
                            wxGenericValidator(&valueOf(values, spec.key)));
    case controlKind::sizeEdit: {
        wxIntegerValidator<int> whole(&valueOf(values, spec.key));
        whole.SetMin(0);
        return sizeField(parent, spec.id, whole);
    }
    case controlKind::caption:
        return new wxStaticText(parent, spec.id, spec.label);
    }
    return nullptr;
}

} // namespace

// A page of the sheet, built from its table of groups; each control
// exchanges its value with the sheet's values through its validator.
class graphSettingsPage : public wxPanel {
public:
    graphSettingsPage(wxWindow* book, graphSett& sheet, graphSettings& values,
                      const std::vector<groupSpec>& groups)
        : wxPanel(book), sheet_(sheet) {
        // The controls sit in the groups' boxes, one level down.
        SetExtraStyle(wxWS_EX_VALIDATE_RECURSIVELY);
        column_ = new wxBoxSizer(wxVERTICAL);
        for (const groupSpec& group : groups)
            column_->Add(makeGroup(group, values), wxSizerFlags().Expand().Border(wxALL, 6));
        SetSizer(column_);
        Bind(wxEVT_CHECKBOX, &graphSettingsPage::onChange, this);
        Bind(wxEVT_CHOICE, &graphSettingsPage::onChange, this);
        Bind(wxEVT_TEXT, &graphSettingsPage::onChange, this);
    }

    // The page came into view.
    virtual void onShown() {}

protected:
    virtual void onChange(wxCommandEvent&) { sheet_.pageModified(); }

    wxStaticBoxSizer* makeGroup(const groupSpec& group, graphSettings& values) {
        auto* box = new wxStaticBoxSizer(wxVERTICAL, this, group.title);
        for (const rowSpec& row : group.rows) {
            auto* line = new wxBoxSizer(wxHORIZONTAL);
            for (const controlSpec& spec : row) {
                if (spec.kind == controlKind::sizeEdit)
                    line->Add(new wxStaticText(box->GetStaticBox(), wxID_ANY, spec.label),
                              wxSizerFlags().CentreVertical().Border(wxLEFT, 8));
                line->Add(makeControl(box->GetStaticBox(), spec, values),
                          wxSizerFlags().CentreVertical().Border(wxLEFT | wxTOP, 4));
            }
            box->Add(line, wxSizerFlags().Border(wxBOTTOM, 4));
        }
        return box;
    }

    graphSett& sheet_;
    wxBoxSizer* column_ = nullptr;
};

constexpr int pageMargin = 40;

const char* const needsProcessing[] = {"Project needs to be processed",
                                       "before error ellipses can be displayed."};

// The Error Ellipses page: its switch and colour, and the size on a slider
// (0 to 100) beside its field; both reach the window at once.
class CErrEllipsePage : public graphSettingsPage {
public:
    CErrEllipsePage(wxWindow* book, graphSett& sheet, graphSettings& values, bool hasEllipses)
        : graphSettingsPage(book, sheet, values, ellipsePage()), values_(values),
          hasEllipses_(hasEllipses) {
        auto* box = new wxStaticBoxSizer(wxHORIZONTAL, this, "Error Ellipse Size");
        slider_ = new wxSlider(box->GetStaticBox(), graphsettid::ellipseSlider, 0, 0, 100,
                               wxDefaultPosition, wxSize(220, -1));
        wxIntegerValidator<int> whole(&values.ellipseSize);
        whole.SetMin(0);
        size_ = sizeField(box->GetStaticBox(), graphsettid::ellipseSizeEdit, whole);
        box->Add(slider_, wxSizerFlags(1).CentreVertical().Border(wxALL, 4));
        box->Add(size_, wxSizerFlags().CentreVertical().Border(wxALL, 4));
        column_->Add(box, wxSizerFlags().Expand().Border(wxALL, 6));
        // Sized for their texts, whether they show them or not.
        first_ = new wxStaticText(this, graphsettid::processFirstLine, needsProcessing[0],
                                  wxDefaultPosition, wxDefaultSize, wxST_NO_AUTORESIZE);
        second_ = new wxStaticText(this, graphsettid::processSecondLine, needsProcessing[1],
                                   wxDefaultPosition, wxDefaultSize, wxST_NO_AUTORESIZE);
        column_->Add(first_, wxSizerFlags().Border(wxLEFT | wxTOP, 10));
        column_->Add(second_, wxSizerFlags().Border(wxLEFT, 10));
        slider_->Bind(wxEVT_SLIDER, &CErrEllipsePage::onSlider, this);
        size_->Bind(wxEVT_KILL_FOCUS, &CErrEllipsePage::onSizeLeft, this);
    }

    void onShown() override {
        slider_->SetValue(std::clamp(values_.ellipseSize, 0, 100));
        first_->SetLabel(hasEllipses_ ? "" : needsProcessing[0]);
        second_->SetLabel(hasEllipses_ ? "" : needsProcessing[1]);
    }

private:
    // The switch and the colour are taken at once; the size field's typing
    // counts when the field is left.
    void onChange(wxCommandEvent& event) override {
        if (event.GetEventType() != wxEVT_TEXT)
            TransferDataFromWindow();
        sheet_.pageModified();
    }

    void onSlider(wxCommandEvent&) {
        values_.ellipseSize = slider_->GetValue();
        size_->ChangeValue(wxString::Format("%d", values_.ellipseSize));
        sheet_.applyToFrame();
        sheet_.pageModified();
    }

    void onSizeLeft(wxFocusEvent& event) {
        event.Skip();
        if (!TransferDataFromWindow())
            return;
        slider_->SetValue(std::clamp(values_.ellipseSize, 0, 100));
        sheet_.applyToFrame();
        sheet_.pageModified();
    }

    graphSettings& values_;
    bool hasEllipses_;
    wxSlider* slider_ = nullptr;
    wxTextCtrl* size_ = nullptr;
    wxStaticText* first_ = nullptr;
    wxStaticText* second_ = nullptr;
};

graphSett::graphSett(wxWindow* parent, graphSettingsTarget& frame)
    : frame_(frame), values_(frame.drawingSettings()) {
    Create(parent, wxID_ANY, "Graphic Settings");
    wxBookCtrlBase* book = GetBookCtrl();
    pages_ = {
        new graphSettingsPage(book, *this, values_, pointsPage()),
        new graphSettingsPage(book, *this, values_, traverseAndSideshotsPage()),
        new CErrEllipsePage(book, *this, values_, frame.hasErrorEllipses()),
        new graphSettingsPage(book, *this, values_, gpsPage()),
    };
    const char* captions[] = {"Points", "Trav/SSs", "Error Ellipses", "GPS"};
    for (std::size_t i = 0; i < pages_.size(); ++i)
        book->AddPage(pages_[i], captions[i]);
    CreateButtons(wxOK | wxCANCEL | wxAPPLY);
    TransferDataToWindow();
    // The toolkit draws the groups' frames wider than their sizers reckon:
    // the book gets room for the widest page and a margin.
    int widest = 0;
    for (graphSettingsPage* page : pages_)
        widest = std::max(widest, page->GetBestSize().x);
    book->SetMinSize(wxSize(widest + pageMargin, -1));
    LayoutDialog();
    book->Bind(wxEVT_BOOKCTRL_PAGE_CHANGED, [this](wxBookCtrlEvent& event) {
        if (event.GetSelection() != wxNOT_FOUND)
            pages_[static_cast<std::size_t>(event.GetSelection())]->onShown();
        event.Skip();
    });
    pages_[2]->onShown();
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { onOk(); }, wxID_OK);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { onApply(); }, wxID_APPLY);
}

// Filling the fields is no change of the user's: "Apply" starts disabled.
bool graphSett::TransferDataToWindow() {
    bool filled = wxPropertySheetDialog::TransferDataToWindow();
    for (graphSettingsPage* page : pages_)
        filled = page->TransferDataToWindow() && filled;
    FindWindow(wxID_APPLY)->Disable();
    return filled;
}

void graphSett::applyToFrame() {
    frame_.takeSettings(values_);
}

bool graphSett::takeControls() {
    for (graphSettingsPage* page : pages_)
        if (!page->Validate())
            return false;
    for (graphSettingsPage* page : pages_)
        page->TransferDataFromWindow();
    return true;
}

void graphSett::pageModified() {
    if (wxWindow* apply = FindWindow(wxID_APPLY))
        apply->Enable();
}

bool graphSett::applyEnabled() const {
    const wxWindow* apply = FindWindow(wxID_APPLY);
    return apply != nullptr && apply->IsEnabled();
}

void graphSett::onOk() {
    if (takeControls())
        EndModal(wxID_OK);
}

void graphSett::onApply() {
    if (!takeControls())
        return;
    FindWindow(wxID_APPLY)->Disable();
    applyToFrame();
}
