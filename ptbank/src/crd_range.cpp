#include "ptbank/crd_range.hpp"

#include "ptbank/crd_text.hpp"

#include <algorithm>

namespace ptbank {
namespace {

constexpr std::size_t maxRangeName = 255;

std::string safeRangeName(std::string_view name) {
    std::string copy(name);
    std::replace(copy.begin(), copy.end(), '-', '_');
    std::replace(copy.begin(), copy.end(), ',', '_');
    return copy;
}

} // namespace

int parseRangeItem(std::string_view text, std::string& from, std::string& to,
                   std::string_view* rest) {
    from.clear();
    to.clear();
    if (text.empty())
        return 0;
    std::size_t i = 0;
    while (i < text.size() && text[i] != '-' && text[i] != ',') {
        if (from.size() < maxRangeName)
            from += text[i];
        ++i;
    }
    if (i < text.size() && text[i] == ',') {
        to = from;
        if (rest)
            *rest = text.substr(i + 1);
        return 1;
    }
    if (from.empty())
        return 0;
    if (i < text.size())
        ++i; // the '-'
    while (i < text.size() && text[i] != ',') {
        if (to.size() < maxRangeName)
            to += text[i];
        ++i;
    }
    if (to.empty())
        to = from;
    if (rest)
        *rest = i < text.size() ? text.substr(i + 1) : text.substr(text.size());
    return 1;
}

void buildRangeText(std::string& range, std::string_view from, std::string_view to, bool append) {
    std::string item = safeRangeName(from);
    if (!to.empty() && compareIgnoringCase(from, to) != 0) {
        item += '-';
        item += safeRangeName(to);
    }
    if (range.empty())
        range = item;
    else if (append)
        range.append(",").append(item);
    else
        range = item.append(",").append(range);
}

int isInRange(std::string_view name, std::string_view range) {
    const std::string cleaned = upperCased(trimmedText(range, 0));
    if (cleaned == "ALL")
        return 1;
    std::string_view rest = cleaned;
    std::string from;
    std::string to;
    while (parseRangeItem(rest, from, to, &rest)) {
        const bool upwards = comparePointNames(from, to) <= 0;
        const std::string& low = upwards ? from : to;
        const std::string& high = upwards ? to : from;
        if (comparePointNames(name, low) >= 0 && comparePointNames(name, high) <= 0)
            return 1;
    }
    return 0;
}

} // namespace ptbank
