// TStringGrid: a grid of texts. Its cells are not published, so they are neither stored with
// the form nor seen by property walks.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "framework/controls/Controls.h"

namespace lx::framework {

class EInvalidGridOperation : public platform::Exception {
 public:
  using Exception::Exception;
};

class TStringGrid : public TWinControl {
  LX_CLASS(TStringGrid, TWinControl)

 public:
  explicit TStringGrid(TComponent* owner);

  int ColCount() const { return colCount_; }
  /// Fewer columns or rows drop the cells beyond them; counts below 1 count as 1.
  void SetColCount(int value);
  int RowCount() const { return rowCount_; }
  void SetRowCount(int value);

  /// The text of a cell; raise EInvalidGridOperation "Grid index out of range" outside the
  /// grid.
  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& value);

 private:
  void CheckCell(int col, int row) const;
  void DropCellsOutside();

  int colCount_ = 5;
  int rowCount_ = 5;
  std::map<std::pair<int, int>, std::string> cells_;
};

}  // namespace lx::framework
