#include "model/point_name.hpp"

#include "platform/paths.hpp"

#include <utility>

namespace {

thread_local std::uint64_t comparisons = 0;

} // namespace

bool sameName(std::string_view a, std::string_view b) {
    ++comparisons;
    return platform::equalsIgnoringCase(a.substr(0, pointNameMax), b.substr(0, pointNameMax));
}

std::uint64_t nameComparisons() {
    return comparisons;
}

std::string pointNameKey(std::string_view name) {
    std::string key(name.substr(0, pointNameMax));
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}

std::string lineNameKey(std::string_view a, std::string_view b) {
    std::string first = pointNameKey(a);
    std::string second = pointNameKey(b);
    if (second < first)
        std::swap(first, second);
    return first + '\n' + second;
}
