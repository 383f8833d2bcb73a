#pragma once
// The point names one reading of .RW5 files has met. The lists hold a name's
// first 10 characters, and two names alike in those are one point: names
// longer than that would merge different points without a word
// ("LONGNAME001" and "LONGNAME002"). The book keeps the first whole name of
// each point and says which earlier name a new one would merge with; it also
// names the dummy backsights of setups without a backsight point, each
// unique among the names met and the names the files hold anywhere (a real
// point called like a dummy made before it stopped the reading of a valid
// file).

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

class Rw5NameBook {
public:
    // An earlier name that a new one would merge with, and how it came:
    // "read in <file>, line <n>" or "made as the dummy backsight of <point>
    // (<file>, line <n>)".
    struct Clash {
        std::string earlier;
        std::string how;
    };

    // Notes a name that the files hold, before they are read: no dummy
    // backsight is ever called so.
    void reserve(const std::string& name);

    // The name of the one placeholder backsight, the same at every call:
    // "BACK1", unless the files hold a point so called or a name met has it;
    // then "BK" and the first number that makes a name not met.
    std::string placeholderName();

    // Takes the name read at `where` ("<file>, line <n>"). None when it is
    // empty, new, or the same name (letter case aside) as the one met
    // before; else the earlier name (a dummy backsight's included).
    std::optional<Clash> take(const std::string& name, const std::string& where);

    // The dummy backsight point of a setup at `occupied`: "BACK" followed by
    // the occupied point when that fits the lists and is no name met, else
    // "BK" and the first number that makes a name not met; the same name for
    // every setup at that point.
    std::string dummyBacksight(const std::string& occupied, const std::string& where);

    // Takes `name` as the one placeholder point of setups that have neither
    // a backsight point nor an azimuth; the point it would merge with (a real
    // one, or a dummy backsight), when one was met.
    std::optional<Clash> takePlaceholder(const std::string& name, const std::string& where);

private:
    enum class Kind { read, dummyBacksight, placeholder };
    struct Entry {
        std::string name;
        std::string how;
        Kind kind = Kind::read;
    };
    bool isFree(const std::string& name) const;

    std::unordered_map<std::string, Entry> byKey_;
    std::string freeNumberedName();

    std::unordered_map<std::string, std::string> dummyOf_; // occupied point's key -> dummy
    std::unordered_set<std::string> reserved_;             // keys of the files' names
    std::string placeholder_;
    int nextDummyNumber_ = 1;
};
