#include "input/point_sequence.hpp"

#include "input/refused_records.hpp"

#include "platform/c_locale_text.hpp"
#include "platform/paths.hpp"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

namespace {

constexpr const char* nameSeparators = " ,\t";
constexpr const char* sequenceSeparators = " ,\t-";

// A name read as a prefix, the digits of its number and whatever follows them.
struct NameParts {
    std::string prefix;
    std::string digits;
    std::string rest;
};

NameParts partsOf(std::string_view name) {
    std::size_t digitStart = 0;
    while (digitStart < name.size() && !std::isdigit(static_cast<unsigned char>(name[digitStart])))
        ++digitStart;
    std::size_t digitEnd = digitStart;
    while (digitEnd < name.size() && std::isdigit(static_cast<unsigned char>(name[digitEnd])))
        ++digitEnd;
    return {std::string(name.substr(0, digitStart)),
            std::string(name.substr(digitStart, digitEnd - digitStart)),
            std::string(name.substr(digitEnd))};
}

// Point names hold at most ten characters, so nine digits never overflow.
constexpr std::size_t maxNumberDigits = 9;

bool canBeRangeEnd(const NameParts& parts) {
    return !parts.digits.empty() && parts.digits.size() <= maxNumberDigits && parts.rest.empty();
}

long numberOf(const NameParts& parts) {
    return parts.digits.empty() ? 0 : std::atol(parts.digits.c_str());
}

// The width the members of a range starting with `digits` are written in:
// the start's own width when it has a leading zero, else none.
int paddedWidth(const std::string& digits) {
    return digits.size() > 1 && digits[0] == '0' ? static_cast<int>(digits.size()) : 0;
}

std::string memberName(const std::string& prefix, long number, int width) {
    return prefix + platform::formatC("%0*ld", width, number);
}

void appendName(simpleList<ptNameRec>& list, std::string_view name) {
    ptNameRec record;
    setPointName(record.name, name);
    list.append(record);
}

struct RangeSpan {
    std::string prefix;
    long from = 0;
    long to = 0;
    int width = 0;

    long step() const { return to < from ? -1 : 1; }
    long members() const { return (to - from) * step() + 1; }
    bool holds(long number) const {
        return (number - from) * step() >= 0 && (to - number) * step() >= 0;
    }
};

// The numbers of the range whose member names exist, found from the known
// names, in the range's order.
std::vector<long> existingMembers(const RangeSpan& range, const RangeNames& names,
                                  const std::vector<std::string>& known) {
    std::set<long> numbers;
    for (const std::string& name : known) {
        const NameParts parts = partsOf(name);
        if (!canBeRangeEnd(parts) || !platform::equalsIgnoringCase(parts.prefix, range.prefix))
            continue;
        const long number = numberOf(parts);
        if (range.holds(number) && names.exists(memberName(range.prefix, number, range.width)))
            numbers.insert(number);
    }
    std::vector<long> ordered(numbers.begin(), numbers.end());
    if (range.step() < 0)
        std::reverse(ordered.begin(), ordered.end());
    return ordered;
}

void appendMembers(const RangeSpan& range, simpleList<ptNameRec>& list, const RangeNames& names) {
    if (names.exists && names.known) {
        const std::vector<std::string> known = names.known();
        if (static_cast<long>(known.size()) < range.members()) {
            for (const long number : existingMembers(range, names, known))
                appendName(list, memberName(range.prefix, number, range.width));
            return;
        }
    }
    for (long number = range.from;; number += range.step()) {
        const std::string name = memberName(range.prefix, number, range.width);
        if (!names.exists || names.exists(name))
            appendName(list, name);
        if (number == range.to)
            break;
    }
}

// Appends the members of the range "start-end"; false when it is not a range.
bool appendRange(const std::string& start, std::string end, simpleList<ptNameRec>& list,
                 const RangeNames& names) {
    if (end.empty() && names.highest)
        end = names.highest(start);
    const NameParts first = partsOf(start);
    const NameParts last = partsOf(end);
    if (!canBeRangeEnd(first) || !canBeRangeEnd(last) ||
        !platform::equalsIgnoringCase(first.prefix, last.prefix))
        return false;
    const RangeSpan range{first.prefix, numberOf(first), numberOf(last), paddedWidth(first.digits)};
    if (range.members() > maxRangeMembers)
        return false;
    if (!names.exists && list.count() + range.members() > maxRangeMembers)
        return false;
    appendMembers(range, list, names);
    return true;
}

// The name after `previous` in a run going by `step`, when both can be
// members of a range.
bool continuesRun(const std::string& previous, const std::string& current, int step) {
    return canBeRangeEnd(partsOf(previous)) && canBeRangeEnd(partsOf(current)) &&
           sameName(current, nextPointName(previous, step));
}

// The step of the run that starts at names[i] (0 when none does).
int runStep(const std::vector<std::string>& names, std::size_t i) {
    if (i + 1 >= names.size())
        return 0;
    for (const int step : {1, -1})
        if (continuesRun(names[i], names[i + 1], step))
            return step;
    return 0;
}

int compareIgnoringCase(const std::string& a, const std::string& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const int x = std::toupper(static_cast<unsigned char>(a[i]));
        const int y = std::toupper(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

int parseTrvPtList(const std::string& text, simpleList<ptNameRec>& list, const RangeNames& names,
                   std::string& error) {
    if (text.empty()) {
        error = "Traverse Point List is Empty";
        return sequenceInvalid;
    }
    std::size_t position = 0;
    while (position < text.size()) {
        std::size_t separator = text.find_first_of(sequenceSeparators, position);
        if (separator == std::string::npos)
            separator = text.size();
        if (separator == text.size() || text[separator] != '-') {
            const std::string_view name =
                std::string_view(text).substr(position, separator - position);
            error = longPointNameFault(name);
            if (!error.empty())
                return sequenceInvalid;
            if (!name.empty())
                appendName(list, name);
            position = separator + 1;
            continue;
        }
        const std::size_t tokenEnd = text.find_first_of(nameSeparators, separator);
        const std::size_t end = tokenEnd == std::string::npos ? text.size() : tokenEnd;
        const std::string start = text.substr(position, separator - position);
        const std::string last = text.substr(separator + 1, end - separator - 1);
        error = longPointNameFault(start);
        if (error.empty())
            error = longPointNameFault(last);
        if (!error.empty())
            return sequenceInvalid;
        if (!appendRange(start, last, list, names)) {
            error = "Invalid Point Sequence: " + text.substr(position, end - position);
            return sequenceInvalid;
        }
        position = end;
    }
    return sequenceParsed;
}

std::string nextPointName(std::string_view name, int step) {
    const NameParts parts = partsOf(name);
    return memberName(parts.prefix, numberOf(parts) + step, paddedWidth(parts.digits));
}

int comparePointNames(std::string_view a, std::string_view b) {
    const NameParts first = partsOf(a);
    const NameParts second = partsOf(b);
    if (!first.prefix.empty() || !second.prefix.empty()) {
        const int prefixOrder = compareIgnoringCase(first.prefix, second.prefix);
        if (prefixOrder != 0)
            return prefixOrder;
    }
    const long x = numberOf(first);
    const long y = numberOf(second);
    return x < y ? -1 : (x > y ? 1 : 0);
}

std::string highestNameFor(std::string_view start, const std::vector<std::string>& names) {
    const NameParts first = partsOf(start);
    std::string highest;
    for (const std::string& name : names) {
        const NameParts parts = partsOf(name);
        if (canBeRangeEnd(parts) && platform::equalsIgnoringCase(parts.prefix, first.prefix) &&
            (highest.empty() || comparePointNames(name, highest) > 0))
            highest = name;
    }
    return highest;
}

std::string trvPtListToText(const simpleList<ptNameRec>& list) {
    const std::vector<std::string> names = pointNamesOf(list);
    std::string text;
    for (std::size_t i = 0; i < names.size();) {
        const int step = runStep(names, i);
        std::size_t last = i;
        while (step != 0 && last + 1 < names.size() &&
               continuesRun(names[last], names[last + 1], step))
            ++last;
        if (!text.empty())
            text += ',';
        text += names[i];
        const bool reachesEnd = last + 1 == names.size();
        if (last >= i + 2 || (last == i + 1 && reachesEnd))
            text += '-' + names[last];
        else if (last == i + 1)
            text += ',' + names[last];
        i = last + 1;
    }
    return text;
}

std::vector<std::string> pointNamesOf(const simpleList<ptNameRec>& list) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(list.count()));
    list.visitAll(
        [&names](const ptNameRec& record) { names.emplace_back(fixedText(record.name)); });
    return names;
}
