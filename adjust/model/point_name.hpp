#pragma once
// Point names and the other fixed-size texts of the survey records.
//
// A point name has at most 10 characters and lives NUL-terminated in an
// 11-byte field. Every name stored through setPointName is cut at 10
// characters, so two names are the same point when their first 10 characters
// agree without regard to ASCII letter case; a longer name given to a search
// therefore finds the point it was stored as.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::size_t pointNameMax = 10;
using pointNameField = char[pointNameMax + 1];

// Copies `text` into `field`, cut at N - 1 characters; the rest of the field
// is zero-filled, so the field is always NUL-terminated and compares by value.
template <std::size_t N> void setFixedText(char (&field)[N], std::string_view text) {
    static_assert(N > 0);
    std::size_t i = 0;
    for (; i < N - 1 && i < text.size(); ++i)
        field[i] = text[i];
    for (; i < N; ++i)
        field[i] = '\0';
}

// The text of a fixed field up to its NUL (or its whole size when none).
template <std::size_t N> std::string_view fixedText(const char (&field)[N]) {
    std::size_t length = 0;
    while (length < N && field[length] != '\0')
        ++length;
    return {field, length};
}

inline void setPointName(pointNameField& field, std::string_view name) {
    setFixedText(field, name);
}

// True when both are the same point name: the first 10 characters compared
// without regard to ASCII letter case.
bool sameName(std::string_view a, std::string_view b);

// How many times sameName has compared two names on this thread so far. A
// step that looks points up by their names should compare in step with its
// records, not with their square; the tests hold it to that with this count.
std::uint64_t nameComparisons();

// A key equal for two names exactly when sameName holds: the first 10
// characters with ASCII letters folded to lower case. For tables of names.
std::string pointNameKey(std::string_view name);

// The same key packed in two words, for the tables searched once per
// sighting in every step of a run: built and compared without a text.
struct pointKey {
    std::uint64_t low = 0;  // the first 8 characters
    std::uint32_t high = 0; // the 9th and 10th, and the length
    friend bool operator==(const pointKey&, const pointKey&) = default;
};

inline pointKey pointKeyOf(std::string_view name) {
    const std::size_t length = name.size() < pointNameMax ? name.size() : pointNameMax;
    const auto folded = [&](std::size_t i) -> std::uint64_t {
        const char c = name[i];
        return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    };
    pointKey key;
    for (std::size_t i = 0; i < length && i < 8; ++i)
        key.low |= folded(i) << (8 * i);
    for (std::size_t i = 8; i < length; ++i)
        key.high |= static_cast<std::uint32_t>(folded(i) << (8 * (i - 8)));
    key.high |= static_cast<std::uint32_t>(length) << 16;
    return key;
}

// Spreads every bit of the key over the whole word (the splitmix64 finaliser).
inline std::uint64_t hashOf(const pointKey& key) {
    std::uint64_t h = key.low ^ (static_cast<std::uint64_t>(key.high) * 0x9e3779b97f4a7c15ULL);
    h = (h ^ (h >> 30)) * 0xbf58476d1ce4e5b9ULL;
    h = (h ^ (h >> 27)) * 0x94d049bb133111ebULL;
    return h ^ (h >> 31);
}

// A key equal for two lines exactly when they join the same two points, in
// either direction.
std::string lineNameKey(std::string_view a, std::string_view b);
