// Sorting the non-fixed rows by one column.
#include "gridctrl/grid_model.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace gridctrl;

namespace {

std::unique_ptr<GridModel> gridOf(const std::vector<std::string>& keys) {
    auto made = std::make_unique<GridModel>(static_cast<int>(keys.size()) + 1, 2, 1, 0);
    GridModel& grid = *made;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        grid.SetCellText(static_cast<int>(i) + 1, 0, keys[i]);
        grid.SetCellText(static_cast<int>(i) + 1, 1, "row" + std::to_string(i));
    }
    return made;
}

std::vector<std::string> column(const GridModel& grid, int col) {
    std::vector<std::string> texts;
    for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row)
        texts.push_back(grid.GetCellText(row, col));
    return texts;
}

} // namespace

TEST(GridSort, AscendingAndDescendingByteOrder) {
    auto grid = gridOf({"pear", "Apple", "fig", "apple", "kiwi", "banana", "10", "9"});
    grid->SetRowHeight(3, 7);
    ASSERT_TRUE(grid->SortItems(0, true));
    EXPECT_EQ(column(*grid, 0), (std::vector<std::string>{"10", "9", "Apple", "apple", "banana",
                                                          "fig", "kiwi", "pear"}));
    EXPECT_EQ(grid->GetCellText(1 + 5, 1), "row2") << "whole rows move";
    EXPECT_EQ(grid->GetRowHeight(6), 7) << "row heights move with their rows";
    EXPECT_EQ(grid->GetCellText(0, 0), "") << "fixed rows stay";
    ASSERT_TRUE(grid->SortItems(0, false));
    EXPECT_EQ(column(*grid, 0), (std::vector<std::string>{"pear", "kiwi", "fig", "banana", "apple",
                                                          "Apple", "9", "10"}));
    EXPECT_EQ(grid->GetSortColumn(), 0);
    EXPECT_FALSE(grid->GetSortAscending());
}

TEST(GridSort, EqualKeysAreNotSwapped) {
    auto grid = gridOf({"x", "x", "x", "x", "x"});
    ASSERT_TRUE(grid->SortItems(0, true));
    EXPECT_EQ(column(*grid, 1), (std::vector<std::string>{"row0", "row1", "row2", "row3", "row4"}));
}

TEST(GridSort, RefusedRangesAndOwnComparison) {
    auto grid = gridOf({"b", "a"});
    EXPECT_FALSE(grid->SortTextItems(&GridModel::CompareCellText, 5, true, 0, 1, -1));
    EXPECT_FALSE(grid->SortTextItems(&GridModel::CompareCellText, 0, true, 0, 2, 2));
    // Numbers compared by value, not by text.
    auto numbers = gridOf({"10", "9", "100"});
    numbers->SetCompareFunction([](std::intptr_t a, std::intptr_t b, std::intptr_t) {
        const auto* first = reinterpret_cast<const CGridCellBase*>(a);
        const auto* second = reinterpret_cast<const CGridCellBase*>(b);
        return std::stoi(first->GetText()) - std::stoi(second->GetText());
    });
    ASSERT_TRUE(numbers->SortItems(0, true));
    EXPECT_EQ(column(*numbers, 0), (std::vector<std::string>{"9", "10", "100"}));
}

TEST(GridSort, SortingClearsSelectionAndFocusAndAnEditClearsTheSortColumn) {
    auto grid = gridOf({"b", "a", "c"});
    grid->SetFocusCell(1, 1);
    grid->SetSelectedRange(1, 0, 2, 1);
    grid->SortItems(1, true);
    EXPECT_EQ(grid->GetFocusCell(), CCellID());
    EXPECT_EQ(grid->selectedCount(), 0u);
    grid->SetCellText(2, 0, "z");
    EXPECT_EQ(grid->GetSortColumn(), 1) << "another column's edit keeps the order mark";
    grid->SetCellText(2, 1, "z");
    EXPECT_EQ(grid->GetSortColumn(), -1);
}
