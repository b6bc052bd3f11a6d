#pragma once

#include <QHeaderView>
#include <QTableView>

class QAbstractButton;

namespace tsubakuro {

// One grid of the result viewer, MSFlexGrid1(index): the horizontal header is
// the fixed heading row, the vertical header the fixed first column, and the
// corner shows the record kind. Rows are one fixed height, so a million rows
// cost nothing to lay out.
class ResultGridView : public QTableView {
  Q_OBJECT

 public:
  ResultGridView(int index, const QString& corner_text, QWidget* parent = nullptr);

  QString corner_text() const { return corner_text_; }
  // Sizes in pixels: the height of every row (the heading row included) and the
  // width of the fixed first column.
  void set_fixed_sizes(int row_height, int first_column_width);
  // The width in pixels a column needs to show `heading` whole, in the grid's
  // font.
  int heading_width(const QString& heading) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString corner_text_;
  QAbstractButton* corner_ = nullptr;
};

}  // namespace tsubakuro
