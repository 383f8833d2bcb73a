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

// A key equal for two lines exactly when they join the same two points, in
// either direction.
std::string lineNameKey(std::string_view a, std::string_view b);
