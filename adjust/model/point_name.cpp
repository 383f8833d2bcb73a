#include "model/point_name.hpp"

#include "platform/paths.hpp"

#include <utility>

bool sameName(std::string_view a, std::string_view b) {
    return platform::equalsIgnoringCase(a.substr(0, pointNameMax), b.substr(0, pointNameMax));
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
