#pragma once
// Text edits the run tests make to projects and reports: plain replacement
// and masking the report's run date, which changes from run to run.

#include <cctype>
#include <string>
#include <string_view>

namespace testsupport {

inline std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// "Thu Dec 10 14:15:07 2026": a day and month name, then digits and separators
// in the places the report's date line has them.
inline bool isRunDate(std::string_view line) {
    static constexpr std::string_view shape = "AAA AAA _9 99:99:99 9999";
    if (line.size() != shape.size())
        return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        const bool fits = shape[i] == 'A'   ? std::isalpha(c) != 0
                          : shape[i] == '9' ? std::isdigit(c) != 0
                          : shape[i] == '_' ? (c == ' ' || (c >= '1' && c <= '3'))
                                            : c == static_cast<unsigned char>(shape[i]);
        if (!fits)
            return false;
    }
    return true;
}

// The first line of `report` that is a run date, replaced by "<date>".
inline std::string maskRunDateLine(std::string report) {
    for (std::size_t start = 0; start < report.size();) {
        const std::size_t end = report.find("\r\n", start);
        const std::size_t length = (end == std::string::npos ? report.size() : end) - start;
        if (isRunDate(std::string_view(report).substr(start, length))) {
            report.replace(start, length, "<date>");
            return report;
        }
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    return report;
}

} // namespace testsupport
