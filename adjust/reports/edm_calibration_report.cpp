#include "reports/edm_calibration_report.hpp"

#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"

#include <cmath>

namespace {

using platform::formatC;

constexpr double partsPerMillion = 1e6;

std::string headerLine(const CALIBRATE_RAWREC& r) {
    switch (r.kind) {
    case edmDescription:
        return formatC("EDM Type: %s\r\n", r.text.c_str());
    case edmDateTime:
        return formatC("Date: %s  Time: %s\r\n", r.text.c_str(), r.time.c_str());
    case edmReflector:
        return formatC("Prism description: %s\r\n", r.text.c_str());
    case edmWeather:
        return formatC("Weather description: %s\r\n", r.text.c_str());
    case edmComment:
        return formatC("Comment: %s\r\n", r.text.c_str());
    case edmAtmosphere:
        if (r.applyCorrection == 0)
            return "Atmosphere Correction: OFF\r\n";
        return formatC("Atmosphere Correction: ON Refraction Index: %f Wavelength: %f\r\n",
                       r.refractionIndex, r.wavelength_um);
    case edmConstants:
        return formatC("Constants: Reflector: %.3f   EDM: %.3f\r\n", r.reflectorConstant,
                       r.edmConstant);
    default:
        return {};
    }
}

std::string observationLine(const CALIBRATE_RAWREC& r) {
    return formatC(" %-10.10s %8.3f %6.3f    %-10.10s %8.3f %6.3f   %4.1f  %5.1f     %9.4f  "
                   "%9.4f\r\n",
                   r.fromStation.c_str(), r.fromElevation, r.instrumentHeight, r.toStation.c_str(),
                   r.toElevation, r.reflectorHeight, r.dryTemp_C, r.pressure_mmHg, r.slopeDistance,
                   r.publishedDistance);
}

std::string decisions(const EdmCalibrationResults& r) {
    std::string text;
    if (std::fabs(r.scaleT) > r.criticalT)
        text += "\r\n   Reject the H0 for the scale error. (The scale factor is not 0.0)\r\n";
    else
        text += "   Cannot reject the H0 for the scale error. (The scale factor is 0.0)\r\n";
    if (std::fabs(r.constantT) > r.criticalT)
        text += "\r\n   Reject the H0 for the constant error. (The constant is not 0.0)\r\n";
    else
        text += "   Cannot reject the H0 for the constant error. (The constant is 0.0)\r\n";
    return text;
}

std::string resultLines(const EdmCalibrationResults& r) {
    std::string text = "\r\nResults\r\n";
    text += "\r\n   Null Hypothesis, HO: EDM scale error and EDM constant error = 0.0\r\n";
    text += formatC("\r\n   Scale Error (ppm): %.8f\r\n", r.scaleError * partsPerMillion);
    text += formatC("   Constant Error: %.4f\r\n", r.constantError);
    text += formatC("\r\n   Scale Standard Error: %.8f\r\n", r.scaleStdError * partsPerMillion);
    text += formatC("   Constant Standard Error: %.4f\r\n", r.constantStdError);
    text += formatC("\r\n   Reference Variance: %.7f\r\n", r.referenceVariance);
    text += formatC("\r\n   Scale t-Value: %.4f\r\n", r.scaleT);
    text += formatC("   Constant t-Value: %.4f\r\n", r.constantT);
    text += formatC("\r\n   Degrees of Freedom: %d\r\n", r.degreesOfFreedom);
    text += formatC("   Critical t-Value at the 1 percent confidence level: %.4f\r\n", r.criticalT);
    return text + decisions(r);
}

} // namespace

std::string edmCalibrationReport(const std::vector<CALIBRATE_RAWREC>& records,
                                 const EdmCalibrationResults& results) {
    std::string text = "\r\nEDM Calibration Report\r\n\r\n        Observed Data\r\n\r\n";
    for (const CALIBRATE_RAWREC& r : records)
        text += headerLine(r);
    text += "\r\n";
    text += "From         From     From    To    .      To       To                      "
            "Observed    Published\r\n";
    text += "Sta.         Elev.    HI      Sta.         Elev.    HI     Temp. Pressure   Slope "
            "Dist. Dist.\r\n";
    for (const CALIBRATE_RAWREC& r : records)
        if (r.kind == edmObservation)
            text += observationLine(r);
    text += "\r\n";
    return text + resultLines(results);
}

int cEdmCalibrate::readEdmFile(const std::filesystem::path& path) {
    std::vector<CALIBRATE_RAWREC> read = records;
    if (const int result = readEdmRecords(path, read, error); result != edmFileRead)
        return result;
    records = std::move(read);
    recordCount = static_cast<int>(records.size());
    observationCount = 0;
    for (const CALIBRATE_RAWREC& r : records)
        observationCount += r.kind == edmObservation ? 1 : 0;
    return 0;
}

int cEdmCalibrate::writeEdmFile(const std::filesystem::path& path) const {
    return writeEdmRecords(path, records);
}

int cEdmCalibrate::computeCalibration() {
    EdmCalibration calibration;
    if (computeEdmCalibration(records, calibration, error) != edmCalibrated)
        return 1;
    error.clear();
    lines = std::move(calibration.lines);
    results = calibration.results;
    report = edmCalibrationReport(records, results);
    return 0;
}

int cEdmCalibrate::writeReportFile(const std::filesystem::path& path) const {
    std::string reason;
    return platform::replaceFile(path, report, reason) ? 0 : 1;
}
