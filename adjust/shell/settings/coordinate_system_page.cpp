#include "shell/settings/coordinate_system_page.hpp"

#include "geodetic/projection_engine.hpp"
#include "geodetic/state_plane_27.hpp"
#include "geodetic/state_plane_83.hpp"
#include "geodetic/utm.hpp"
#include "model/project_ellipsoid.hpp"
#include "model/settings/coordinate_system_names.hpp"
#include "platform/c_locale_text.hpp"
#include "shell/file_dialogs.hpp"
#include "shell/settings/input_files_page.hpp"
#include "shell/settings/settings_ids.hpp"
#include "shell/settings/settings_sheet.hpp"
#include "shell/settings/udp_dialog.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace settingsid;
using namespace pagecontrols;

namespace {

constexpr const char* udpFilter =
    "User Defined Projection files (*.udp)|*.udp|All files (*.*)|*.*|";
const std::vector<std::string> systemNames = {
    "Local", "1983 State Plane", "1927 State Plane", "New Brunswick Survey Control",
    "UTM",   "User Defined"};
const std::vector<std::string> geoidModelNames = {"GEOID99", "GEOID03"};

constexpr int projectionOfLambert = 2;
constexpr int projectionOfObliqueMercator = 4;
constexpr int projectionOfStereographic = 3;

// The projection list's entry for a state-plane zone's projection type.
int projectionEntry(int projType) {
    if (projType == projLambertTwoParallels)
        return projectionOfLambert;
    if (projType == projObliqueMercatorAzimuth)
        return projectionOfObliqueMercator;
    return 0;
}

} // namespace

CCoordSysPage::CCoordSysPage(wxWindow* parent, CSettingsPropSht& sheet)
    : SettingsPage(parent, sheet, coordinateSystemPage) {
    layOut();
    bindHandlers();
}

void CCoordSysPage::layOut() {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(row({label(this, wxID_ANY, "Coordinate System:"),
                     choice(this, coordinateSystemList, systemNames, 220),
                     label(this, zoneLabel, "Zone:"), choice(this, zoneList, {}, 300)}),
                wxSizerFlags().Border(wxALL, 6));

    auto* ellipsoidBox = new wxStaticBox(this, ellipsoidGroup, "Ellipsoid");
    auto* ellipsoidSizer = new wxStaticBoxSizer(ellipsoidBox, wxVERTICAL);
    ellipsoidSizer->Add(
        row({choice(ellipsoidBox, ellipsoidList, ellipsoidNames(), 300),
             label(ellipsoidBox, semiMajorLabel, "a:"), edit(ellipsoidBox, semiMajorEdit, 110),
             label(ellipsoidBox, inverseFlatteningLabel, "1/f:"),
             edit(ellipsoidBox, inverseFlatteningEdit, 120)}),
        wxSizerFlags().Border(wxALL, 4));
    ellipsoidSizer->Add(row({button(ellipsoidBox, ellipsoidUdpSelectButton, "Select"),
                             edit(ellipsoidBox, ellipsoidUdpPathEdit, 400),
                             button(ellipsoidBox, ellipsoidUdpEditButton, "Edit")}),
                        wxSizerFlags().Border(wxALL, 4));
    column->Add(ellipsoidSizer, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT, 6));

    column->Add(row({label(this, projectionLabel, "Map Projection:"),
                     choice(this, projectionList, projectionNames(), 260)}),
                wxSizerFlags().Border(wxALL, 6));
    column->Add(row({button(this, udpSelectButton, "Select"), edit(this, udpPathEdit, 380),
                     button(this, udpEditButton, "Edit")}),
                wxSizerFlags().Border(wxLEFT | wxRIGHT, 6));
    column->Add(row({label(this, scaleFactorLabel, "Scale Factor:"), edit(this, scaleFactorEdit),
                     label(this, wxID_ANY, "Horizontal Units:"),
                     choice(this, horizontalUnitsList, unitNames())}),
                wxSizerFlags().Border(wxALL, 6));

    auto* lower = new wxBoxSizer(wxHORIZONTAL);
    auto* elevationBox = new wxStaticBox(this, elevationFactorGroup, "Elevation Factor");
    auto* elevation = new wxStaticBoxSizer(elevationBox, wxVERTICAL);
    elevation->Add(
        radio(elevationBox, computeFromProjectElevRadio, "Compute From Project Elev.", true),
        wxSizerFlags().Border(wxALL, 3));
    elevation->Add(edit(elevationBox, elevationFactorEdit), wxSizerFlags().Border(wxLEFT, 24));
    elevation->Add(radio(elevationBox, computeFromRawDataRadio, "Compute From Raw Data", false),
                   wxSizerFlags().Border(wxALL, 3));
    elevation->Add(row({label(elevationBox, elevationUnitsLabel, "Elevation Units:"),
                        choice(elevationBox, elevationUnitsList, unitNames())}),
                   wxSizerFlags().Border(wxALL, 3));
    lower->Add(elevation, wxSizerFlags().Border(wxRIGHT, 8));

    auto* middle = new wxBoxSizer(wxVERTICAL);
    auto* adjustmentBox = new wxStaticBox(this, adjustmentGroup, "Adjustment");
    auto* adjustment = new wxStaticBoxSizer(adjustmentBox, wxVERTICAL);
    adjustment->Add(check(adjustmentBox, horizontalAdjustmentCheck, "Horizontal Adjustment"),
                    wxSizerFlags().Border(wxALL, 3));
    adjustment->Add(check(adjustmentBox, verticalAdjustmentCheck, "Vertical Adjustment"),
                    wxSizerFlags().Border(wxALL, 3));
    middle->Add(adjustment, wxSizerFlags().Expand());
    middle->Add(radio(this, model2dRadio, "2D, 1D Model", true), wxSizerFlags().Border(wxTOP, 8));
    middle->Add(radio(this, model3dRadio, "3D Model", false), wxSizerFlags().Border(wxTOP, 3));
    lower->Add(middle, wxSizerFlags().Border(wxRIGHT, 8));

    auto* geoid = new wxBoxSizer(wxVERTICAL);
    geoid->Add(radio(this, projectGeoidRadio, "Use Project Geoid Separation: (m)", true));
    geoid->Add(edit(this, geoidSeparationEdit), wxSizerFlags().Border(wxLEFT | wxTOP, 3));
    geoid->Add(radio(this, geoidFileRadio, "Use Geoid File:", false),
               wxSizerFlags().Border(wxTOP, 8));
    geoid->Add(choice(this, geoidModelList, geoidModelNames),
               wxSizerFlags().Border(wxLEFT | wxTOP, 3));
    lower->Add(geoid);
    column->Add(lower, wxSizerFlags().Border(wxALL, 6));
    SetSizer(column);

    // The ellipsoid's axis and flattening are shown, never typed.
    enable({semiMajorEdit, inverseFlatteningEdit}, false);
}

void CCoordSysPage::bindHandlers() {
    markModifiedOnChange({geoidSeparationEdit, geoidModelList, udpPathEdit, ellipsoidUdpPathEdit});
    for (int id : {coordinateSystemList, horizontalUnitsList, elevationUnitsList})
        FindWindow(id)->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { refresh(); });
    // The raw readers take total-station distances in the horizontal unit.
    FindWindow(horizontalUnitsList)->Bind(wxEVT_CHOICE, [this](wxCommandEvent& event) {
        static_cast<CInputFilesPage&>(sheet().page(inputFilesPage))
            .totalStationUnitsFollow(event.GetSelection());
        event.Skip();
    });
    for (int id : {scaleFactorEdit, elevationFactorEdit})
        FindWindow(id)->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { refresh(); });
    for (int id : {horizontalAdjustmentCheck, verticalAdjustmentCheck})
        FindWindow(id)->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { refresh(); });
    for (int id : {computeFromProjectElevRadio, computeFromRawDataRadio, model2dRadio, model3dRadio,
                   projectGeoidRadio, geoidFileRadio})
        FindWindow(id)->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { refresh(); });
    FindWindow(zoneList)->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { onZoneChange(); });
    FindWindow(ellipsoidList)->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { onEllipsoidChange(); });
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { selectUdpFile(udpPathEdit); }, udpSelectButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { selectUdpFile(ellipsoidUdpPathEdit); },
        ellipsoidUdpSelectButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { editUdpFile(udpPathEdit, true); }, udpEditButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { editUdpFile(ellipsoidUdpPathEdit, false); },
        ellipsoidUdpEditButton);
}

void CCoordSysPage::fillOwnControls() {
    const globalVars& v = values();
    control<wxChoice>(coordinateSystemList)->SetSelection(v.gridSystem);
    control<wxChoice>(ellipsoidList)->SetSelection(v.ellipsoid);
    control<wxChoice>(projectionList)->SetSelection(0);
    udp_ = udpRec();
    if (v.gridSystem == gridUserDefined ||
        (v.gridSystem == gridUtm && v.ellipsoid == userDefinedEllipsoid))
        loadUdp();
    if (v.gridSystem == gridUtm)
        control<wxTextCtrl>(ellipsoidUdpPathEdit)->ChangeValue(wxString::FromUTF8(v.UDPFilePath));
    showSystem();
    showModelControls();
}

void CCoordSysPage::readOwnControls() {
    globalVars& v = values();
    if (v.gridSystem == gridUtm && v.ellipsoid == userDefinedEllipsoid)
        v.UDPFilePath = editText(ellipsoidUdpPathEdit);
    else if (v.gridSystem == gridUserDefined)
        v.UDPFilePath = editText(udpPathEdit);
}

std::string CCoordSysPage::editText(int id) const {
    return control<wxTextCtrl>(id)->GetValue().utf8_string();
}

void CCoordSysPage::loadUdp() {
    udp_.reset();
    udp_.path.clear();
    if (!values().UDPFilePath.empty())
        udp_.load(values().UDPFilePath);
}

// The system or ellipsoid chosen on the page may need the .udp file that the
// project did not use when the page was filled.
void CCoordSysPage::ensureUdpLoaded() {
    if (udp_.path != values().UDPFilePath)
        loadUdp();
}

void CCoordSysPage::refresh() {
    markModified();
    showSystem();
    showModelControls();
}

void CCoordSysPage::onZoneChange() {
    globalVars& v = values();
    const int selection = control<wxChoice>(zoneList)->GetSelection();
    if (v.gridSystem == gridStatePlane83 || v.gridSystem == gridStatePlane27)
        v.gridZone =
            zoneCodeOfName(control<wxChoice>(zoneList)->GetStringSelection().utf8_string());
    else if (v.gridSystem == gridUtm)
        v.gridZone = selection + 1;
    refresh();
}

void CCoordSysPage::onEllipsoidChange() {
    values().ellipsoid = control<wxChoice>(ellipsoidList)->GetSelection();
    refresh();
}

void CCoordSysPage::selectUdpFile(int editId) {
    FileDialogRequest request;
    request.filter = udpFilter;
    request.extension = "udp";
    request.initialName = "*.udp";
    const auto path = chooseFile(this, request);
    if (!path)
        return;
    values().UDPFilePath = *path;
    control<wxTextCtrl>(editId)->ChangeValue(wxString::FromUTF8(*path));
    loadUdp();
    showSystem();
    markModified();
}

void CCoordSysPage::editUdpFile(int editId, bool takePathBack) {
    values().UDPFilePath = editText(editId);
    CUDPDlg dialog(this);
    if (!values().UDPFilePath.empty())
        dialog.loadUdpFile(values().UDPFilePath);
    const bool accepted = dialog.ShowModal() == wxID_OK;
    if (takePathBack && !accepted)
        return;
    if (takePathBack) {
        values().UDPFilePath = dialog.path();
        control<wxTextCtrl>(editId)->ChangeValue(wxString::FromUTF8(dialog.path()));
    }
    loadUdp();
    showSystem();
}

void CCoordSysPage::showEllipsoid(const ellipsoid& ell) {
    control<wxTextCtrl>(semiMajorEdit)
        ->ChangeValue(wxString::FromUTF8(platform::formatC("%.3f", ell.semiMajor)));
    control<wxTextCtrl>(inverseFlatteningEdit)
        ->ChangeValue(wxString::FromUTF8(platform::formatC("%.9f", ell.invFlattening)));
}

void CCoordSysPage::selectedEllipsoid(ellipsoid& ell) {
    values().ellipsoid = control<wxChoice>(ellipsoidList)->GetSelection();
    if (values().ellipsoid == userDefinedEllipsoid) {
        ensureUdpLoaded();
        initEllipsoid(&ell, udp_.EllipseA, udp_.EllipseF);
    } else {
        initEllipsoidByType(ell, values().ellipsoid);
    }
}

void CCoordSysPage::fillZoneList(const std::vector<std::string>& names, int index) {
    wxChoice* zones = control<wxChoice>(zoneList);
    wxArrayString texts;
    for (const std::string& name : names)
        texts.push_back(wxString::FromUTF8(name));
    zones->Set(texts);
    zones->SetSelection(index < 0 ? 0 : index);
}

// A UTM project whose zone was never chosen shows no zone: the first zone of
// the list would put the network on the far side of the earth.
bool CCoordSysPage::validateOwnControls() {
    if (values().gridSystem != gridUtm || invalidUTMZone(values().gridZone) == 0)
        return true;
    sheet().showPage(coordinateSystemPage);
    refuse("Choose the UTM zone of the project.", FindWindow(zoneList));
    return false;
}

void CCoordSysPage::showSystem() {
    const int system = control<wxChoice>(coordinateSystemList)->GetSelection();
    const bool local = system == gridLocal;
    if (local) {
        control<wxRadioButton>(model2dRadio)->SetValue(true);
        enable({computeFromProjectElevRadio, computeFromRawDataRadio}, true);
    }
    enable({model3dRadio}, !local);
    const bool anyEllipsoidRow = system == gridUtm || system == gridUserDefined;
    show({udpSelectButton, udpPathEdit, udpEditButton}, system == gridUserDefined);
    if (!anyEllipsoidRow)
        show({ellipsoidUdpSelectButton, ellipsoidUdpPathEdit, ellipsoidUdpEditButton}, false);
    switch (system) {
    case gridLocal:
        showLocal();
        break;
    case gridStatePlane83:
    case gridStatePlane27:
        showStatePlane(system);
        break;
    case gridNewBrunswickStereographic:
        showNewBrunswick();
        break;
    case gridUtm:
        showUtm();
        break;
    case gridUserDefined:
        showUserDefined();
        break;
    default:
        return;
    }
    relayout();
}

void CCoordSysPage::showLocal() {
    show({ellipsoidList, ellipsoidGroup, semiMajorLabel, semiMajorEdit, inverseFlatteningLabel,
          inverseFlatteningEdit, projectionList, projectionLabel, zoneList, zoneLabel},
         false);
    show({ellipsoidUdpSelectButton, ellipsoidUdpPathEdit, ellipsoidUdpEditButton}, false);
    show({scaleFactorEdit, scaleFactorLabel}, true);
    enable({scaleFactorEdit, scaleFactorLabel}, true);
    values().gridSystem = gridLocal;
}

void CCoordSysPage::showStatePlane(int system) {
    const bool nad83 = system == gridStatePlane83;
    globalVars& v = values();
    int index = 0;
    if ((nad83 ? getSPC83ZoneIndex(v.gridZone, &index) : getSPC27ZoneIndex(v.gridZone, &index)) !=
        0)
        index = 0;
    show({ellipsoidList, ellipsoidGroup, semiMajorLabel, semiMajorEdit, inverseFlatteningLabel,
          inverseFlatteningEdit, projectionList, projectionLabel, zoneList, zoneLabel},
         true);
    enable({ellipsoidList, projectionList}, false);
    enable({zoneList, zoneLabel}, true);
    show({scaleFactorEdit, scaleFactorLabel}, false);
    showEllipsoid(nad83 ? grs80Ellipsoid() : clarke1866Ellipsoid());
    control<wxChoice>(ellipsoidList)->SetSelection(nad83 ? 9 : 4);
    fillZoneList(statePlaneZoneNames(system), index);
    const int code =
        zoneCodeOfName(control<wxChoice>(zoneList)->GetStringSelection().utf8_string());
    int projType = projTransverseMercator;
    if (nad83) {
        zoneCnstnt zone{};
        if (initSPC83Zone(code, &zone) == 0)
            projType = zone.projType;
    } else {
        zoneconstant27 zone{};
        if (initSPC27Zone(code, &zone) == 0)
            projType = zone.zoneType;
    }
    control<wxChoice>(projectionList)->SetSelection(projectionEntry(projType));
    v.gridSystem = system;
    v.gridZone = code;
}

void CCoordSysPage::showNewBrunswick() {
    show({ellipsoidList, ellipsoidGroup, semiMajorLabel, semiMajorEdit, inverseFlatteningLabel,
          inverseFlatteningEdit, projectionList, projectionLabel},
         true);
    enable({ellipsoidList, projectionList}, false);
    show({zoneList, zoneLabel}, false);
    show({scaleFactorEdit, scaleFactorLabel}, true);
    enable({scaleFactorEdit, scaleFactorLabel}, false);
    showEllipsoid(grs80Ellipsoid());
    control<wxChoice>(ellipsoidList)->SetSelection(9);
    control<wxChoice>(projectionList)->SetSelection(projectionOfStereographic);
    values().gridSystem = gridNewBrunswickStereographic;
}

void CCoordSysPage::showUtm() {
    globalVars& v = values();
    const int index = invalidUTMZone(v.gridZone) == 0 ? v.gridZone - 1 : wxNOT_FOUND;
    show({ellipsoidList, ellipsoidGroup, semiMajorLabel, semiMajorEdit, inverseFlatteningLabel,
          inverseFlatteningEdit, projectionList, projectionLabel, zoneList, zoneLabel},
         true);
    enable({ellipsoidList, zoneList, zoneLabel}, true);
    const bool userEllipsoid =
        control<wxChoice>(ellipsoidList)->GetSelection() == userDefinedEllipsoid;
    show({ellipsoidUdpSelectButton, ellipsoidUdpPathEdit, ellipsoidUdpEditButton}, userEllipsoid);
    ellipsoid ell{};
    selectedEllipsoid(ell);
    showEllipsoid(ell);
    enable({projectionList}, false);
    control<wxChoice>(projectionList)->SetSelection(0);
    show({scaleFactorEdit, scaleFactorLabel}, false);
    fillZoneList(utmZoneNames(), 0);
    control<wxChoice>(zoneList)->SetSelection(index);
    v.gridSystem = gridUtm;
    v.gridZone = index + 1;
}

void CCoordSysPage::showUserDefined() {
    show({ellipsoidList, ellipsoidGroup, semiMajorLabel, semiMajorEdit, inverseFlatteningLabel,
          inverseFlatteningEdit, projectionList, projectionLabel},
         true);
    enable({ellipsoidList, projectionList}, false);
    show({ellipsoidUdpSelectButton, ellipsoidUdpPathEdit, ellipsoidUdpEditButton}, false);
    show({zoneList, zoneLabel}, false);
    show({scaleFactorEdit, scaleFactorLabel}, true);
    enable({scaleFactorEdit, scaleFactorLabel}, false);
    control<wxTextCtrl>(udpPathEdit)->ChangeValue(wxString::FromUTF8(values().UDPFilePath));
    ensureUdpLoaded();
    control<wxChoice>(projectionList)->SetSelection(udp_.ProjInt);
    control<wxChoice>(ellipsoidList)->SetSelection(udp_.EllipsInt);
    ellipsoid ell{};
    initUdpEllipsoid(ell, udp_);
    showEllipsoid(ell);
    values().gridSystem = gridUserDefined;
}

void CCoordSysPage::showModelControls() {
    const bool twoD = control<wxRadioButton>(model2dRadio)->GetValue();
    if (!twoD)
        control<wxChoice>(elevationUnitsList)
            ->SetSelection(control<wxChoice>(horizontalUnitsList)->GetSelection());
    enable({horizontalAdjustmentCheck, verticalAdjustmentCheck, adjustmentGroup,
            elevationFactorGroup, elevationUnitsLabel, elevationUnitsList,
            computeFromProjectElevRadio, computeFromRawDataRadio, elevationFactorEdit},
           twoD);
    values().geodeticModel = twoD ? 0 : 1;
}
