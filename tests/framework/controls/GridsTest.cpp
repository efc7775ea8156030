#include <gtest/gtest.h>

#include "framework/controls/Grids.h"
#include "framework/rtti/TypInfo.h"

namespace lx::framework {
namespace {

TEST(GridsTest, CellsLiveInsideTheGrid) {
  TStringGrid grid(nullptr);
  grid.SetCells(4, 4, "corner");
  EXPECT_EQ(grid.Cells(4, 4), "corner");
  EXPECT_EQ(grid.Cells(0, 0), "");
  for (auto [col, row] : {std::pair{5, 0}, std::pair{0, -1}}) {
    try {
      grid.SetCells(col, row, "x");
      FAIL() << "no error";
    } catch (const EInvalidGridOperation& e) {
      EXPECT_STREQ(e.what(), "Grid index out of range");
    }
  }

  grid.SetColCount(3);
  grid.SetColCount(5);
  EXPECT_EQ(grid.Cells(4, 4), "");
  grid.SetRowCount(0);
  EXPECT_EQ(grid.RowCount(), 1);
}

TEST(GridsTest, CellsAreNotPublished) {
  TStringGrid grid(nullptr);
  EXPECT_EQ(GetPropInfo(grid, "Cells"), nullptr);
  EXPECT_EQ(GetOrdProp(grid, "ColCount"), 5);
}

}  // namespace
}  // namespace lx::framework
