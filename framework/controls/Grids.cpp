#include "framework/controls/Grids.h"

#include <algorithm>

#include "framework/internal/ControlProperties.h"
#include "framework/runtime/FrameworkStrings.h"

namespace lx::framework {

LX_PUBLISHED(TStringGrid, LX_CONTROL_APPEARANCE,
             Property("ColCount", &TStringGrid::ColCount, &TStringGrid::SetColCount, 5),
             Property("RowCount", &TStringGrid::RowCount, &TStringGrid::SetRowCount, 5))

TStringGrid::TStringGrid(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 320, 120);
}

void TStringGrid::SetColCount(int value) {
  colCount_ = std::max(value, 1);
  DropCellsOutside();
}

void TStringGrid::SetRowCount(int value) {
  rowCount_ = std::max(value, 1);
  DropCellsOutside();
}

void TStringGrid::DropCellsOutside() {
  std::erase_if(cells_, [this](const auto& cell) {
    return cell.first.first >= colCount_ || cell.first.second >= rowCount_;
  });
}

void TStringGrid::CheckCell(int col, int row) const {
  if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) {
    throw EInvalidGridOperation(LoadResString(SGridIndexError));
  }
}

std::string TStringGrid::Cells(int col, int row) const {
  CheckCell(col, row);
  const auto found = cells_.find({col, row});
  return found == cells_.end() ? std::string() : found->second;
}

void TStringGrid::SetCells(int col, int row, const std::string& value) {
  CheckCell(col, row);
  if (value.empty()) {
    cells_.erase({col, row});
  } else {
    cells_[{col, row}] = value;
  }
}

}  // namespace lx::framework
