#include "input/rw5_names.hpp"

#include "model/point_name.hpp"
#include "platform/paths.hpp"

std::optional<Rw5NameBook::Clash> Rw5NameBook::take(const std::string& name,
                                                    const std::string& where) {
    if (name.empty())
        return std::nullopt;
    const auto [entry, added] =
        byKey_.try_emplace(pointNameKey(name), Entry{name, "read in " + where});
    if (added || (entry->second.kind == Kind::read &&
                  platform::equalsIgnoringCase(entry->second.name, name)))
        return std::nullopt;
    return Clash{entry->second.name, entry->second.how};
}

void Rw5NameBook::reserve(const std::string& name) {
    if (!name.empty())
        reserved_.insert(pointNameKey(name));
}

bool Rw5NameBook::isFree(const std::string& name) const {
    const std::string key = pointNameKey(name);
    return byKey_.find(key) == byKey_.end() && reserved_.find(key) == reserved_.end();
}

std::string Rw5NameBook::freeNumberedName() {
    std::string name;
    do
        name = "BK" + std::to_string(nextDummyNumber_++);
    while (!isFree(name));
    return name;
}

std::string Rw5NameBook::placeholderName() {
    if (placeholder_.empty())
        placeholder_ = isFree("BACK1") ? std::string("BACK1") : freeNumberedName();
    return placeholder_;
}

std::string Rw5NameBook::dummyBacksight(const std::string& occupied, const std::string& where) {
    const std::string occupiedKey = pointNameKey(occupied);
    if (const auto known = dummyOf_.find(occupiedKey); known != dummyOf_.end())
        return known->second;
    std::string dummy = "BACK" + occupied;
    if (dummy.size() > pointNameMax || !isFree(dummy))
        dummy = freeNumberedName();
    byKey_.emplace(pointNameKey(dummy),
                   Entry{dummy, "made as the dummy backsight of " + occupied + " (" + where + ")",
                         Kind::dummyBacksight});
    dummyOf_.emplace(occupiedKey, dummy);
    return dummy;
}

std::optional<Rw5NameBook::Clash> Rw5NameBook::takePlaceholder(const std::string& name,
                                                               const std::string& where) {
    const auto [entry, added] = byKey_.try_emplace(
        pointNameKey(name),
        Entry{name, "made as the backsight of setups without one (" + where + ")",
              Kind::placeholder});
    if (added || entry->second.kind == Kind::placeholder)
        return std::nullopt;
    return Clash{entry->second.name, entry->second.how};
}
