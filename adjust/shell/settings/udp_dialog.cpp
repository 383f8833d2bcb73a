#include "shell/settings/udp_dialog.hpp"

#include "geodetic/projection_engine.hpp"
#include "model/ellipsoid_parameters.hpp"
#include "model/packed_degrees.hpp"
#include "model/project_ellipsoid.hpp"
#include "model/settings/coordinate_system_names.hpp"
#include "model/settings/text_fields.hpp"
#include "platform/c_locale_text.hpp"
#include "shell/file_dialogs.hpp"
#include "shell/settings/settings_ids.hpp"
#include "shell/settings/settings_page.hpp"
#include "shell/tools/lat_long_grid_dialog.hpp"
#include "shell/wx_shell.hpp"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <array>

using namespace udpid;

namespace {

constexpr const char* udpFilter = "UDP Files (*.udp) | *.udp| All Files (*.*)|*.*||";
const std::vector<std::string> parameterKinds = {"Semimajor axis, a", "Semiminor axis, b",
                                                 "Flattening, f",     "Flattening inverse, 1/f",
                                                 "Eccentricity, e",   "Eccentricity squared, e^2"};

constexpr std::array<int, 7> fieldLabels = {originNorthingLabel,       latitudeLabel,
                                            originEastingLabel,        longitudeLabel,
                                            scaleOrNorthParallelLabel, meridianOrSouthParallelLabel,
                                            rectifiedAzimuthLabel};
constexpr std::array<int, 7> fieldEdits = {originNorthingEdit,       latitudeEdit,
                                           originEastingEdit,        longitudeEdit,
                                           scaleOrNorthParallelEdit, meridianOrSouthParallelEdit,
                                           rectifiedAzimuthEdit};

// The labels of the seven projection fields by projection type; an empty
// label hides the field.
using FieldLabels = std::array<const char*, 7>;
constexpr const char* gridOriginN = "Grid Origin N.:";
constexpr const char* gridOriginLat = "Grid Origin Latitude (dd.mmss)(N+,S-):";
constexpr const char* gridOriginE = "Grid Origin E.:";
constexpr const char* gridOriginLon = "Grid Origin Longitude (dd.mmss)(E+,W-):";
constexpr const char* scaleFactor = "Scale Factor:";
constexpr const char* centralMeridian = "Central Meridian (dd.mmss)(E+,W-):";
constexpr const char* skewAzimuth = "Skew Azimuth (dd.mmss):";
constexpr FieldLabels meridianLabels = {gridOriginN, gridOriginLat,   gridOriginE, "",
                                        scaleFactor, centralMeridian, ""};
constexpr std::array<FieldLabels, 6> labelsByType = {{
    meridianLabels,
    meridianLabels,
    {gridOriginN, gridOriginLat, gridOriginE, gridOriginLon,
     "North Parallel (dd.mmss)(N+,S-):", "South Parallel (dd.mmss)(N+,S-):", ""},
    meridianLabels,
    {gridOriginN, gridOriginLat, gridOriginE, gridOriginLon, scaleFactor, skewAzimuth, ""},
    {"False N. (center of projection:", "Latitude (dd.mmss)(N+,S-) (center of projection):",
     "False E. (center of projection:", "Longitude (dd.mmss)(E+,W-) (center of projection):",
     "Scale Factor: (center of projection)", skewAzimuth, "Rectified Azimuth (dd.mmss):"},
}};

enum class FieldCheck { numeric, latitude, longitude, none };

// How a projection field is checked when the user leaves it.
FieldCheck checkOf(int id, int type) {
    switch (id) {
    case originNorthingEdit:
    case originEastingEdit:
        return FieldCheck::numeric;
    case latitudeEdit:
        return FieldCheck::latitude;
    case longitudeEdit:
        return FieldCheck::longitude;
    case scaleOrNorthParallelEdit:
        return type == udpLambertTwoParallels ? FieldCheck::latitude : FieldCheck::numeric;
    case meridianOrSouthParallelEdit:
        if (type == udpLambertTwoParallels)
            return FieldCheck::latitude;
        return type >= udpObliqueMercatorAzimuth ? FieldCheck::numeric : FieldCheck::longitude;
    case rectifiedAzimuthEdit:
        return type == udpObliqueMercatorCentre ? FieldCheck::numeric : FieldCheck::none;
    default:
        return FieldCheck::none;
    }
}

// The message for a field text that fails its check, or an empty text.
std::string fieldProblem(FieldCheck check, const std::string& value) {
    switch (check) {
    case FieldCheck::numeric:
        return isNumericText(value) ? "" : "Invalid Numeric Value: " + value;
    case FieldCheck::latitude:
        return isNumericText(value) && isValidLatText(value) ? ""
                                                             : "Invalid Latitude Value: " + value;
    case FieldCheck::longitude:
        return isNumericText(value) && isValidLonText(value) ? ""
                                                             : "Invalid Longitude Value: " + value;
    case FieldCheck::none:
        return "";
    }
    return "";
}

bool holdsNothing(const std::string& value) {
    return value.find_first_not_of(" \t") == std::string::npos;
}

// A field's name as its label shows it, without the closing colon.
std::string fieldName(const wxString& label) {
    std::string name = label.utf8_string();
    while (!name.empty() && (name.back() == ':' || name.back() == ' '))
        name.pop_back();
    return name;
}

std::string packedAngle(double angle_rad, int decimals) {
    return angleToDmsPackedPrec(angle_rad, decimals);
}

} // namespace

CUDPDlg::CUDPDlg(wxWindow* parent)
    : wxDialog(parent, settingsid::udpDialog, "User Defined Coordinate System") {
    layOut();
    bindHandlers();
    // Start: ellipsoid 0, the kinds a and b, the parameters hidden.
    control(ellipsoidList)->SetSelection(0);
    control(firstKindList)->SetSelection(0);
    control(secondKindList)->SetSelection(1);
    setText(firstValueEdit, "0");
    setText(secondValueEdit, "0");
    control(projectionList)->SetSelection(record_.ProjInt);
    showEllipsoid();
    showLabels();
    modified_ = false;
}

wxChoice* CUDPDlg::control(int id) const {
    return dynamic_cast<wxChoice*>(FindWindow(id));
}

std::string CUDPDlg::text(int id) const {
    return dynamic_cast<wxTextCtrl*>(FindWindow(id))->GetValue().utf8_string();
}

void CUDPDlg::setText(int id, const std::string& value) {
    dynamic_cast<wxTextCtrl*>(FindWindow(id))->ChangeValue(wxString::FromUTF8(value));
}

int CUDPDlg::selection(int id) const {
    return control(id)->GetSelection();
}

void CUDPDlg::layOut() {
    using namespace pagecontrols;
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* nameRow = new wxBoxSizer(wxHORIZONTAL);
    nameRow->Add(label(this, wxID_ANY, "System Name:"), wxSizerFlags().CentreVertical());
    nameRow->Add(edit(this, systemNameEdit, 320), wxSizerFlags().Border(wxLEFT, 6));
    column->Add(nameRow, wxSizerFlags().Border(wxALL, 8));

    auto* ellipsoidBox = new wxStaticBoxSizer(wxVERTICAL, this, "Ellipsoid Settings");
    wxWindow* box = ellipsoidBox->GetStaticBox();
    const auto line = [](wxSizer* column, std::initializer_list<wxWindow*> windows) {
        column->Add(row(windows), wxSizerFlags().Border(wxALL, 3));
    };
    auto* grid = new wxBoxSizer(wxVERTICAL);
    line(grid, {label(box, wxID_ANY, "Name:"), choice(box, ellipsoidList, ellipsoidNames(), 300)});
    line(grid, {label(box, wxID_ANY, "a:"), edit(box, semiMajorEdit, 140),
                label(box, wxID_ANY, "1/f:"), edit(box, inverseFlatteningEdit, 140)});
    line(grid, {choice(box, firstKindList, parameterKinds, 220), edit(box, firstValueEdit, 140)});
    line(grid, {choice(box, secondKindList, parameterKinds, 220), edit(box, secondValueEdit, 140)});
    ellipsoidBox->Add(grid, wxSizerFlags().Border(wxALL, 4));
    column->Add(ellipsoidBox, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT, 8));

    auto* projectionBox = new wxStaticBoxSizer(wxVERTICAL, this, "Projection Settings");
    box = projectionBox->GetStaticBox();
    auto* fields = new wxFlexGridSizer(2, wxSize(6, 4));
    fields->Add(label(box, wxID_ANY, "Map Projections:"), wxSizerFlags().CentreVertical());
    fields->Add(choice(box, projectionList, projectionNames(), 300));
    for (std::size_t i = 0; i < fieldEdits.size(); ++i) {
        // The longest label of the field, so that every type's label fits.
        fields->Add(label(box, fieldLabels[i], "Latitude (dd.mmss)(N+,S-) (center of projection):"),
                    wxSizerFlags().CentreVertical());
        fields->Add(edit(box, fieldEdits[i], 160));
    }
    projectionBox->Add(fields, wxSizerFlags().Border(wxALL, 4));
    column->Add(projectionBox, wxSizerFlags().Expand().Border(wxALL, 8));

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(button(this, testButton, "Test"));
    buttons->Add(button(this, loadButton, "Load"), wxSizerFlags().Border(wxLEFT, 6));
    buttons->Add(button(this, saveButton, "Save"), wxSizerFlags().Border(wxLEFT, 6));
    buttons->AddStretchSpacer();
    auto* ok = button(this, wxID_OK, "OK");
    buttons->Add(ok);
    buttons->Add(button(this, wxID_CANCEL, "Cancel"), wxSizerFlags().Border(wxLEFT, 6));
    column->Add(buttons, wxSizerFlags().Expand().Border(wxALL, 8));
    SetSizerAndFit(column);
    ok->SetDefault();
    FindWindow(semiMajorEdit)->Disable();
    FindWindow(inverseFlatteningEdit)->Disable();
}

void CUDPDlg::bindHandlers() {
    control(ellipsoidList)->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { onEllipsoidChange(); });
    for (int id : {firstKindList, secondKindList})
        control(id)->Bind(wxEVT_CHOICE, [this, id](wxCommandEvent&) { onKindChange(id); });
    control(projectionList)->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
        showLabels();
        setModified();
    });
    for (int id : {systemNameEdit, firstValueEdit, secondValueEdit, originNorthingEdit,
                   latitudeEdit, originEastingEdit, longitudeEdit, scaleOrNorthParallelEdit,
                   meridianOrSouthParallelEdit, rectifiedAzimuthEdit})
        FindWindow(id)->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
            setModified();
            event.Skip();
        });
    for (int id : {firstValueEdit, secondValueEdit}) {
        wxWindow* edit = FindWindow(id);
        edit->Bind(wxEVT_KILL_FOCUS, [this, edit](wxFocusEvent& event) {
            event.Skip();
            CallAfter([this, edit] { onParameterLeft(edit); });
        });
    }
    for (int id : fieldEdits) {
        wxWindow* edit = FindWindow(id);
        edit->Bind(wxEVT_KILL_FOCUS, [this, id, edit](wxFocusEvent& event) {
            event.Skip();
            CallAfter([this, id, edit] { onFieldLeft(id, edit); });
        });
    }
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { testConversion(); }, testButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { load(); }, loadButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { save(); }, saveButton);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            if (confirmClose())
                EndModal(wxID_OK);
        },
        wxID_OK);
}

void CUDPDlg::loadUdpFile(const std::string& path) {
    path_ = path;
    record_.load(path);
    loadFromRecord();
    modified_ = false;
}

std::optional<AxisAndFlattening> CUDPDlg::typedEllipsoid() const {
    return ellipsoidFromParameters(static_cast<EllipsoidParameter>(selection(firstKindList)),
                                   platform::atofC(text(firstValueEdit)),
                                   static_cast<EllipsoidParameter>(selection(secondKindList)),
                                   platform::atofC(text(secondValueEdit)));
}

void CUDPDlg::showEllipsoid() {
    const int code = selection(ellipsoidList);
    const bool userDefined = code == userDefinedEllipsoid;
    for (int id : {firstKindList, firstValueEdit, secondKindList, secondValueEdit})
        FindWindow(id)->Show(userDefined);
    double a = 0.0;
    double invF = 0.0;
    if (!userDefined) {
        ellipsoid ell{};
        initEllipsoidByType(ell, code);
        a = ell.semiMajor;
        invF = ell.invFlattening;
    } else if (const auto typed = typedEllipsoid()) {
        a = typed->semiMajor_m;
        invF = 1.0 / typed->flattening;
    }
    setText(semiMajorEdit, platform::formatC("%.3f", a));
    setText(inverseFlatteningEdit, platform::formatC("%.9f", invF));
    Layout();
}

void CUDPDlg::showLabels() {
    const int type = selection(projectionList);
    const FieldLabels& labels = labelsByType[static_cast<std::size_t>(type < 0 ? 0 : type)];
    for (std::size_t i = 0; i < fieldEdits.size(); ++i) {
        const bool shown = labels[i][0] != '\0';
        FindWindow(fieldLabels[i])->SetLabel(labels[i]);
        FindWindow(fieldLabels[i])->Show(shown);
        FindWindow(fieldEdits[i])->Show(shown);
    }
    Layout();
}

void CUDPDlg::onEllipsoidChange() {
    showEllipsoid();
    setModified();
}

void CUDPDlg::onKindChange(int changedId) {
    const int otherId = changedId == firstKindList ? secondKindList : firstKindList;
    const EllipsoidParameter other =
        otherParameterKind(static_cast<EllipsoidParameter>(selection(changedId)),
                           static_cast<EllipsoidParameter>(selection(otherId)));
    control(otherId)->SetSelection(static_cast<int>(other));
    showEllipsoid();
    setModified();
}

void CUDPDlg::onParameterLeft(wxWindow* edit) {
    for (int id : {firstValueEdit, secondValueEdit}) {
        const std::string value = text(id);
        if (!value.empty() && !isNumericText(value)) {
            settingsMessage(this, "Invalid Numeric Value: " + value);
            edit->SetFocus();
            return;
        }
    }
    if (typedEllipsoid())
        showEllipsoid();
    setModified();
}

void CUDPDlg::onFieldLeft(int id, wxWindow* edit) {
    if (!edit->IsShown())
        return;
    const std::string problem = fieldProblem(checkOf(id, selection(projectionList)), text(id));
    if (!problem.empty()) {
        settingsMessage(this, problem);
        edit->SetFocus();
    }
}

void CUDPDlg::storeToRecord() {
    record_.ProjName = text(systemNameEdit);
    record_.EllipsInt = selection(ellipsoidList);
    ellipsoid ell{};
    if (record_.EllipsInt == userDefinedEllipsoid) {
        const auto typed = typedEllipsoid();
        initEllipsoid(&ell, typed ? typed->semiMajor_m : 0.0, typed ? typed->flattening : 0.0);
    } else {
        initEllipsoidByType(ell, record_.EllipsInt);
    }
    record_.EllipseA = ell.semiMajor;
    record_.EllipseF = ell.flattening;
    record_.ProjInt = selection(projectionList);
    const auto number = [this](int id) { return platform::atofC(text(id)); };
    const auto angle = [this](int id) { return dmsTextToRadians(text(id)); };
    record_.FalseNorthings = number(originNorthingEdit);
    record_.FalseEastings = number(originEastingEdit);
    switch (record_.ProjInt) {
    case udpTransverseMercator:
    case udpLambertOneParallel:
    case udpDoubleStereographic:
        record_.projection_scale = number(scaleOrNorthParallelEdit);
        record_.CentralMeridian = angle(meridianOrSouthParallelEdit);
        record_.ScaleOrRefLatitude = angle(latitudeEdit);
        if (record_.ProjInt == udpLambertOneParallel)
            record_.SkewOrSouthLatitude = record_.ScaleOrRefLatitude;
        break;
    case udpLambertTwoParallels:
        record_.ScaleOrRefLatitude = angle(latitudeEdit);
        record_.CentralMeridian = angle(longitudeEdit);
        record_.CentralOrNorthLatitude = angle(scaleOrNorthParallelEdit);
        record_.SkewOrSouthLatitude = angle(meridianOrSouthParallelEdit);
        break;
    case udpObliqueMercatorAzimuth:
    case udpObliqueMercatorCentre:
        record_.latOrigin = angle(latitudeEdit);
        record_.lonOrigin = angle(longitudeEdit);
        record_.projection_scale = number(scaleOrNorthParallelEdit);
        record_.SkewOrSouthLatitude = angle(meridianOrSouthParallelEdit);
        if (record_.ProjInt == udpObliqueMercatorCentre)
            record_.CentralMeridian = angle(rectifiedAzimuthEdit);
        break;
    default:
        break;
    }
}

void CUDPDlg::loadFromRecord() {
    setText(systemNameEdit, record_.ProjName);
    const bool userDefined = record_.EllipsInt == userDefinedEllipsoid;
    control(ellipsoidList)->SetSelection(record_.EllipsInt);
    if (userDefined) {
        control(firstKindList)->SetSelection(static_cast<int>(EllipsoidParameter::semiMajorAxis));
        control(secondKindList)->SetSelection(static_cast<int>(EllipsoidParameter::flattening));
        setText(firstValueEdit, platform::formatC("%.3f", record_.EllipseA));
        setText(secondValueEdit, platform::formatC("%.15g", record_.EllipseF));
    }
    showEllipsoid();
    control(projectionList)->SetSelection(record_.ProjInt);
    showLabels();
    const auto number = [this](int id, const char* format, double value) {
        setText(id, platform::formatC(format, value));
    };
    const auto angle = [this](int id, double value, int decimals = 8) {
        setText(id, packedAngle(value, decimals));
    };
    number(originNorthingEdit, "%.3f", record_.FalseNorthings);
    number(originEastingEdit, "%.3f", record_.FalseEastings);
    switch (record_.ProjInt) {
    case udpTransverseMercator:
    case udpLambertOneParallel:
    case udpDoubleStereographic:
        number(scaleOrNorthParallelEdit, "%.11f", record_.projection_scale);
        angle(meridianOrSouthParallelEdit, record_.CentralMeridian);
        angle(latitudeEdit, record_.ScaleOrRefLatitude);
        break;
    case udpLambertTwoParallels:
        angle(latitudeEdit, record_.ScaleOrRefLatitude);
        angle(longitudeEdit, record_.CentralMeridian);
        angle(scaleOrNorthParallelEdit, record_.CentralOrNorthLatitude);
        angle(meridianOrSouthParallelEdit, record_.SkewOrSouthLatitude);
        break;
    case udpObliqueMercatorAzimuth:
    case udpObliqueMercatorCentre:
        angle(latitudeEdit, record_.latOrigin);
        angle(longitudeEdit, record_.lonOrigin, 6);
        number(scaleOrNorthParallelEdit, "%.11f", record_.projection_scale);
        angle(meridianOrSouthParallelEdit, record_.SkewOrSouthLatitude);
        if (record_.ProjInt == udpObliqueMercatorCentre)
            angle(rectifiedAzimuthEdit, record_.CentralMeridian);
        break;
    default:
        break;
    }
}

void CUDPDlg::load() {
    FileDialogRequest request;
    request.filter = udpFilter;
    request.extension = "udp";
    request.initialName = "*.udp";
    const auto chosen = chooseFile(this, request);
    if (!chosen)
        return;
    loadUdpFile(*chosen);
}

bool CUDPDlg::save() {
    storeToRecord();
    FileDialogRequest request;
    request.save = true;
    request.filter = udpFilter;
    request.extension = "udp";
    request.initialName = record_.ProjName.empty() ? "*.udp" : record_.ProjName + ".udp";
    const auto chosen = chooseFile(this, request);
    if (!chosen)
        return false;
    record_.path = *chosen;
    if (record_.writeFile() != udpRec::ok)
        return false;
    path_ = *chosen;
    modified_ = false;
    return true;
}

// Changes are offered for saving; when the user wants them saved but no
// file was written, the dialog stays open so that nothing typed is lost.
bool CUDPDlg::confirmClose() {
    if (!modified_)
        return true;
    const int answer =
        wxMessageBox("The user defined projection has changed.\n Do you wish to save changes?",
                     programCaption, wxYES_NO | wxCANCEL | wxICON_QUESTION, this);
    return answer == wxNO || (answer == wxYES && save());
}

std::optional<std::pair<int, std::string>> CUDPDlg::incompleteField() const {
    if (selection(ellipsoidList) == userDefinedEllipsoid)
        for (const auto& [kind, value] :
             {std::pair{firstKindList, firstValueEdit}, std::pair{secondKindList, secondValueEdit}})
            if (holdsNothing(text(value)))
                return std::pair{value,
                                 control(kind)->GetStringSelection().utf8_string() + " is empty."};
    const int type = selection(projectionList);
    for (std::size_t i = 0; i < fieldEdits.size(); ++i) {
        const int id = fieldEdits[i];
        if (!FindWindow(id)->IsShown())
            continue;
        const std::string name = fieldName(FindWindow(fieldLabels[i])->GetLabel());
        if (holdsNothing(text(id)))
            return std::pair{id, name + " is empty."};
        if (const std::string problem = fieldProblem(checkOf(id, type), text(id)); !problem.empty())
            return std::pair{id, name + ": " + problem};
    }
    return std::nullopt;
}

void CUDPDlg::testConversion() {
    if (const auto incomplete = incompleteField()) {
        settingsMessage(this, incomplete->second);
        FindWindow(incomplete->first)->SetFocus();
        return;
    }
    storeToRecord();
    cllTOGRIDDlg dialog(this, record_);
    dialog.ShowModal();
}
