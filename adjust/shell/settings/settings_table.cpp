#include "shell/settings/settings_table.hpp"

#include "model/settings/settings_units.hpp"
#include "platform/c_locale_text.hpp"
#include "shell/settings/settings_ids.hpp"
#include "shell/settings/std_err_fields.hpp"

#include <cmath>
#include <type_traits>

namespace {

using namespace settingsid;
using G = globalVars;
using X = SettingExchange;

std::vector<SettingEntry> coordinateSystemEntries() {
    const int page = coordinateSystemPage;
    return {
        {&G::gridSystem, page, coordinateSystemList, X::pageCode},
        {&G::gridZone, page, zoneList, X::pageCode},
        {&G::ellipsoid, page, ellipsoidList, X::pageCode},
        {&G::SF, page, scaleFactorEdit, X::number},
        {&G::HorizUnits, page, horizontalUnitsList, X::choice},
        {&G::useProjZ, page, computeFromProjectElevRadio, X::radios, computeFromRawDataRadio},
        {&G::projZ, page, elevationFactorEdit, X::number},
        {&G::ZUnits, page, elevationUnitsList, X::choice},
        {&G::horizAdjust, page, horizontalAdjustmentCheck, X::check},
        {&G::vertAdjust, page, verticalAdjustmentCheck, X::check},
        {&G::geodeticModel, page, model2dRadio, X::radios, model3dRadio},
        {&G::geoidModel, page, projectGeoidRadio, X::radios, geoidFileRadio},
        {&G::geoidHt, page, geoidSeparationEdit, X::number},
        {&G::geoidModelType, page, geoidModelList, X::choice},
        {&G::UDPFilePath, page, udpPathEdit, X::pageCode},
    };
}

std::vector<SettingEntry> inputFilesEntries() {
    const int page = inputFilesPage;
    return {
        {&G::includeRawData, page, rawDataCheck, X::check},
        {&G::pInputFileName, page, rawFileList, X::pageCode},
        {&G::ttlStaUnits, page, totalStationUnitsList, X::choice},
        {&G::useRw5GPSVectors, page, rw5VectorsCheck, X::check},
        {&G::Rw5GPSUnits, page, rw5VectorUnitsList, X::choice},
        {&G::includeGPSVectors, page, gpsVectorFileCheck, X::check},
        {&G::pGPSFileName, page, gpsFileList, X::pageCode},
        {&G::GPSUnits, page, gpsUnitsList, X::choice},
        {&G::gpsFileFmtType, page, gpsFormatList, X::choice},
        {&G::includeLevData, page, levelRawFileCheck, X::check},
        {&G::pLevRawFileName, page, levelFileEdit, X::text},
        {&G::levelFileFmtType, page, levelFormatList, X::choice},
        {&G::levelUnits, page, levelUnitsList, X::choice},
        {&G::supplamentalNE, page, nezControlCheck, X::check},
        {&G::controlNEFileName, page, controlFileEdit, X::text},
        {&G::nezFileFmtType, page, controlFormatList, X::choice},
    };
}

std::vector<SettingEntry> preprocessingEntries() {
    const int page = preprocessingPage;
    return {
        {&G::curvRefract, page, curvatureRefractionCheck, X::check},
        {&G::includeClosure, page, closuresCheck, X::check},
        {&G::pClosureFileName, page, closureFileEdit, X::text},
        {&G::PtSubstituteS, page, substitutionEdit, X::text},
        {&G::hAngTol, page, horizAngleToleranceEdit, X::pageCode},
        {&G::vAngTol, page, vertAngleToleranceEdit, X::pageCode},
        {&G::hDistTol, page, distanceToleranceEdit, X::pageCode},
        {&G::vDistTol, page, vertDistanceToleranceEdit, X::pageCode},
    };
}

std::vector<SettingEntry> standardErrorEntries() {
    std::vector<SettingEntry> entries;
    for (const StdErrField& field : stdErrFields()) {
        SettingEntry entry{field.setting, standardErrorsPage, field.control, X::number};
        entry.angular = field.angular;
        entries.push_back(entry);
    }
    // The factor multiplies the vector errors; beyond ten it is a slip.
    entries.back().range = NumberRange{0.0, 10.0};
    return entries;
}

std::vector<SettingEntry> adjustmentEntries() {
    const int page = adjustmentPage;
    return {
        {&G::maxIterations, page, maxIterationsEdit, X::number},
        {&G::convergeLimit, page, convergenceEdit, X::number},
        // The confidence factors of the statistics exist only inside this range.
        {&G::confidenceInterval, page, confidenceEdit, X::number, 0, false,
         NumberRange{50.0, 99.99}},
        {&G::includeSS, page, includeSideshotsCheck, X::check},
        {&G::relativeErrFileOn, page, relativeErrFileCheck, X::check},
        {&G::relativeErrFileNm, page, relativeErrFileEdit, X::text},
        {&G::ALTARptOn, page, altaReportCheck, X::check},
        {&G::altaTolerance, page, altaToleranceEdit, X::number},
        {&G::altaPPM, page, altaPpmEdit, X::number},
    };
}

std::vector<SettingEntry> outputOptionsEntries() {
    const int page = outputOptionsPage;
    return {
        {&G::coordPrec, page, coordPrecList, X::choice},
        {&G::elevDispPrec, page, elevPrecList, X::choice},
        {&G::distPrec, page, distPrecList, X::choice},
        {&G::directionPrec, page, directionPrecList, X::choice},
        {&G::directionType, page, directionTypeList, X::choice},
        {&G::angleType, page, angleTypeList, X::pageCode},
        {&G::NEDisplayType, page, coordinateOrderList, X::choice},
        {&G::nullElev, page, nullElevationEdit, X::text},
        {&G::wrtToCrd, page, writeCoordinateFileCheck, X::check},
        {&G::crdFileName, page, coordinateFileEdit, X::text},
        {&G::crdFileType, page, coordinateFileSelectButton, X::pageCode},
        {&G::neOutPrec, page, neOutPrecList, X::choice},
        {&G::zOutPrec, page, zOutPrecList, X::choice},
        {&G::asciiNEZType, page, asciiNezFormatList, X::choice},
    };
}

std::vector<SettingEntry> allEntries() {
    std::vector<SettingEntry> entries;
    for (auto part : {coordinateSystemEntries, inputFilesEntries, preprocessingEntries,
                      standardErrorEntries, adjustmentEntries, outputOptionsEntries}) {
        const std::vector<SettingEntry> these = part();
        entries.insert(entries.end(), these.begin(), these.end());
    }
    return entries;
}

// Calls `copy(entry, member)` for every entry with its member pointer of
// its own type.
template <class Copy> void forEachMember(Copy copy) {
    for (const SettingEntry& entry : settingEntries())
        std::visit([&](auto member) { copy(entry, member); }, entry.member);
}

} // namespace

const std::vector<SettingEntry>& settingEntries() {
    static const std::vector<SettingEntry> entries = allEntries();
    return entries;
}

void fillSheetValues(const globalVars& project, int useVkTool, globalVars& sheet) {
    forEachMember([&](const SettingEntry&, auto member) { sheet.*member = project.*member; });
    for (const SettingEntry& entry : settingEntries())
        if (entry.angular) {
            const auto member = std::get<double globalVars::*>(entry.member);
            sheet.*member = shownAngularError(project.*member, project.angleType);
        }
    sheet.useVkTool = useVkTool;
}

bool applySheetValues(const globalVars& sheet, globalVars& project) {
    // The angular errors are compared as the sheet shows them, so that an
    // error nobody touched is never rewritten by a conversion there and back.
    const int shownUnit = sheet.angleType;
    bool changed = false;
    forEachMember([&](const SettingEntry& entry, auto member) {
        if constexpr (std::is_same_v<decltype(member), double globalVars::*>) {
            if (entry.angular) {
                if (sheet.*member != shownAngularError(project.*member, shownUnit)) {
                    project.*member = angularErrorSeconds(sheet.*member, shownUnit);
                    changed = true;
                }
                return;
            }
        }
        if (sheet.*member != project.*member) {
            project.*member = sheet.*member;
            changed = true;
        }
    });
    return changed;
}

void storeSheetValues(const globalVars& sheet, globalVars& target) {
    forEachMember([&](const SettingEntry& entry, auto member) {
        if constexpr (std::is_same_v<decltype(member), double globalVars::*>) {
            if (entry.angular) {
                target.*member = angularErrorSeconds(sheet.*member, sheet.angleType);
                return;
            }
        }
        target.*member = sheet.*member;
    });
}

void changeShownAngleUnit(globalVars& sheet, int angleType) {
    for (const SettingEntry& entry : settingEntries())
        if (entry.angular) {
            const auto member = std::get<double globalVars::*>(entry.member);
            sheet.*member =
                shownAngularError(angularErrorSeconds(sheet.*member, sheet.angleType), angleType);
        }
    sheet.angleType = angleType;
}

std::optional<std::string> numberEntryProblem(const SettingEntry& entry, const std::string& text) {
    const std::optional<double> value = platform::parseDouble(text);
    const bool isInt = std::holds_alternative<int globalVars::*>(entry.member);
    if (!value || (isInt && *value != std::floor(*value)))
        return isInt ? "Please enter an integer." : "Please enter a number.";
    if (entry.range && (*value < entry.range->low || *value > entry.range->high))
        return platform::formatC("Please enter a number between %g and %g.", entry.range->low,
                                 entry.range->high);
    return std::nullopt;
}

void setNumberFromText(const SettingEntry& entry, const std::string& text, globalVars& values) {
    if (numberEntryProblem(entry, text))
        return;
    const double value = *platform::parseDouble(text);
    if (const auto* member = std::get_if<int globalVars::*>(&entry.member))
        values.** member = static_cast<int>(value);
    else if (const auto* member = std::get_if<double globalVars::*>(&entry.member))
        values.** member = value;
}

std::string numberText(const SettingEntry& entry, const globalVars& values) {
    if (const auto* member = std::get_if<int globalVars::*>(&entry.member))
        return platform::formatC("%d", values.**member);
    if (const auto* member = std::get_if<double globalVars::*>(&entry.member))
        return platform::formatC("%.15g", values.**member);
    return {};
}
