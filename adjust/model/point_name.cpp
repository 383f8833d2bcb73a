#include "model/point_name.hpp"

#include "platform/paths.hpp"

bool sameName(std::string_view a, std::string_view b) {
    return platform::equalsIgnoringCase(a.substr(0, pointNameMax), b.substr(0, pointNameMax));
}
