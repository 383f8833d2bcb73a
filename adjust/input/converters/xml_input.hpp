#pragma once
// An XML input file held as a parsed document, for the converters of XML
// formats: the elements they look for, the texts and numbers of child
// elements and attributes, and faults that name the file and the line of
// the element they concern.

#include <pugixml.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text without blanks, tabs, CR or LF at its ends.
std::string_view trimmedXmlText(std::string_view text);

class XmlInput {
public:
    explicit XmlInput(std::string path);

    // Reads and parses the file; false with the fault otherwise: "Error
    // opening <path>", or the file, the line and what is wrong there.
    bool load();

    const std::string& path() const { return path_; }
    const std::string& fault() const { return fault_; }

    // The elements of the document for which `wanted` is true, in document
    // order at any depth. The walk keeps no stack of its own, so no depth of
    // nesting can exhaust it.
    template <typename Predicate> std::vector<pugi::xml_node> elements(Predicate wanted) const {
        return elementsUnder(document_, wanted);
    }
    template <typename Predicate>
    static std::vector<pugi::xml_node> elementsUnder(const pugi::xml_node& top, Predicate wanted) {
        std::vector<pugi::xml_node> found;
        pugi::xml_node node = top.first_child();
        while (node) {
            if (node.type() == pugi::node_element && wanted(node))
                found.push_back(node);
            if (node.first_child()) {
                node = node.first_child();
                continue;
            }
            while (node && node != top && !node.next_sibling())
                node = node.parent();
            if (node == top)
                break;
            if (node)
                node = node.next_sibling();
        }
        return found;
    }

    // The trimmed text of a child element on one line (characters below a
    // blank become blanks); none when there is no such child.
    static std::optional<std::string> text(const pugi::xml_node& parent, const char* name);

    // The number of a child element: false (with the fault) when its text
    // is not a number; `value` is left alone when the child is absent or
    // empty.
    bool number(const pugi::xml_node& parent, const char* name, double& value);

    // The number of an attribute, matched by its whole name: false (with
    // the fault) when its text is not a number; `value` is left alone when
    // the attribute is absent.
    bool attributeNumber(const pugi::xml_node& element, const char* name, double& value);

    // Records the fault at the line of `node`; false.
    bool failAt(const pugi::xml_node& node, const std::string& what);

    // The line (from 1) of `node` in the file.
    int lineOf(const pugi::xml_node& node) const;

private:
    int lineAt(std::ptrdiff_t offset) const;

    std::string path_;
    std::string bytes_;
    pugi::xml_document document_;
    std::string fault_;
};

// True when the element's name is `name`.
bool isXmlElement(const pugi::xml_node& node, const char* name);

// The first element named `name` inside `top`, at any depth; a null node
// when there is none.
pugi::xml_node firstXmlElementInside(const pugi::xml_node& top, const char* name);
