#include "input/converters/xml_input.hpp"

#include "input/converters/converter_files.hpp"

#include <algorithm>
#include <cstring>

std::string_view trimmedXmlText(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool isXmlElement(const pugi::xml_node& node, const char* name) {
    return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

XmlInput::XmlInput(std::string path) : path_(std::move(path)) {}

bool XmlInput::load() {
    if (!readInputBytes(path_, bytes_)) {
        fault_ = fileFailure("Error opening ", path_);
        return false;
    }
    const pugi::xml_parse_result parsed = document_.load_buffer(bytes_.data(), bytes_.size());
    if (parsed)
        return true;
    fault_ = faultAtLine(path_, lineAt(parsed.offset), parsed.description());
    return false;
}

std::optional<std::string> XmlInput::text(const pugi::xml_node& parent, const char* name) {
    const pugi::xml_node child = parent.child(name);
    if (!child)
        return std::nullopt;
    std::string text(trimmedXmlText(child.child_value()));
    for (char& c : text)
        if (static_cast<unsigned char>(c) < ' ')
            c = ' ';
    return text;
}

pugi::xml_node firstXmlElementInside(const pugi::xml_node& top, const char* name) {
    return top.find_node([name](const pugi::xml_node& node) { return isXmlElement(node, name); });
}

bool XmlInput::number(const pugi::xml_node& parent, const char* name, double& value) {
    const pugi::xml_node child = parent.child(name);
    const std::string_view text = trimmedXmlText(child.child_value());
    if (!child || text.empty())
        return true;
    const platform::FieldValue<double> parsed = platform::readNumber(text, name);
    if (!parsed)
        return failAt(child, parsed.error().sentence());
    value = *parsed;
    return true;
}

bool XmlInput::attributeNumber(const pugi::xml_node& element, const char* name, double& value) {
    const pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute)
        return true;
    const std::string_view text = trimmedXmlText(attribute.value());
    const platform::FieldValue<double> parsed = platform::readNumber(text, name);
    if (!parsed)
        return failAt(element, parsed.error().sentence());
    value = *parsed;
    return true;
}

bool XmlInput::failAt(const pugi::xml_node& node, const std::string& what) {
    fault_ = faultAtLine(path_, lineOf(node), what);
    return false;
}

int XmlInput::lineOf(const pugi::xml_node& node) const {
    return lineAt(node.offset_debug());
}

int XmlInput::lineAt(std::ptrdiff_t offset) const {
    const auto end = static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0));
    const auto stop = bytes_.begin() + static_cast<std::ptrdiff_t>(std::min(end, bytes_.size()));
    return 1 + static_cast<int>(std::count(bytes_.begin(), stop, '\n'));
}
