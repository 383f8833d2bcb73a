#include "reports/nez_record.hpp"

#include "platform/c_locale_text.hpp"

namespace {

using platform::formatC;

constexpr int withStdErrors = 16;

struct Layout {
    char separator;
    bool trimmed;
    bool withCode;
    bool eastingFirst;
};

constexpr Layout layouts[withStdErrors] = {
    {',', false, true, false},  {',', true, true, false},   {' ', false, true, false},
    {' ', true, true, false},   {',', false, false, false}, {',', true, false, false},
    {' ', false, false, false}, {' ', true, false, false},  {',', false, true, true},
    {',', true, true, true},    {' ', false, true, true},   {' ', true, true, true},
    {',', false, false, true},  {',', true, false, true},   {' ', false, false, true},
    {' ', true, false, true},
};

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string recordWithStdErrors(std::string_view name, const NezFields& f) {
    return formatC("%-10.10s,%s,%s,%12s,%7s,%7s,%7s,%4.4s,%s", trimmed(name).c_str(),
                   trimmed(f.northing).c_str(), trimmed(f.easting).c_str(),
                   trimmed(f.elevation).c_str(), trimmed(f.stdErrN).c_str(),
                   trimmed(f.stdErrE).c_str(), trimmed(f.stdErrZ).c_str(), trimmed(f.code).c_str(),
                   trimmed(f.description).c_str());
}

} // namespace

std::string formatNezRecord(int layout, std::string_view name, const NezFields& fields) {
    if (layout == withStdErrors)
        return recordWithStdErrors(name, fields);
    const Layout& l = layouts[layout >= 0 && layout < withStdErrors ? layout : 0];
    const std::string& first = l.eastingFirst ? fields.easting : fields.northing;
    const std::string& second = l.eastingFirst ? fields.northing : fields.easting;
    const std::string sep(1, l.separator);
    if (l.trimmed) {
        std::string record = trimmed(name) + sep + trimmed(first) + sep + trimmed(second) + sep +
                             trimmed(fields.elevation) + sep;
        if (l.withCode)
            record += trimmed(fields.code) + sep;
        return record + trimmed(fields.description);
    }
    std::string record = formatC("%-10.10s", std::string(name).c_str()) + sep + first + sep +
                         second + sep + formatC("%12s", fields.elevation.c_str()) + sep;
    if (l.withCode)
        record += formatC("%4.4s", fields.code.c_str()) + sep;
    return record + fields.description;
}
