#include "viewers/result_grid_view.h"

#include <QAbstractButton>
#include <QEvent>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include "app/fixed_font.h"

namespace tsubakuro {

namespace {

// The headers of QTableView size themselves from the style's margins; the
// grids' heights are computed for rows of one fixed height, so the headers
// must keep to it.
class FixedHeader : public QHeaderView {
 public:
  FixedHeader(Qt::Orientation orientation, QWidget* parent)
      : QHeaderView(orientation, parent) {}

  void set_thickness(int pixels) {
    thickness_ = pixels;
    updateGeometry();
  }

  QSize sizeHint() const override {
    return orientation() == Qt::Horizontal ? QSize(length(), thickness_)
                                           : QSize(thickness_, length());
  }

 private:
  int thickness_ = 0;
};

// Cells hold the bytes of the file exactly, CR LF included; drawn as they are,
// a line break would push the row's text out of sight. The control pictures
// (␍ ␊) show them where they stand.
class ControlPictureDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    for (QChar& character : option->text) {
      if (character.unicode() < 0x20) character = QChar(0x2400 + character.unicode());
      else if (character.unicode() == 0x7F) character = QChar(0x2421);
    }
  }
};

}  // namespace

ResultGridView::ResultGridView(int index, const QString& corner_text, QWidget* parent)
    : QTableView(parent), corner_text_(corner_text) {
  setObjectName(QStringLiteral("MSFlexGrid1(%1)").arg(index));
  setAccessibleName(corner_text);
  setHorizontalHeader(new FixedHeader(Qt::Horizontal, this));
  setVerticalHeader(new FixedHeader(Qt::Vertical, this));
  setFont(fixed_pitch_font());
  setItemDelegate(new ControlPictureDelegate(this));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setTextElideMode(Qt::ElideNone);
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setMinimumSectionSize(1);
    header->setTextElideMode(Qt::ElideNone);
    header->setHighlightSections(false);
  }
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
  corner_ = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
  if (corner_) {
    corner_->setAccessibleName(corner_text);
    corner_->installEventFilter(this);
  }
}

void ResultGridView::set_fixed_sizes(int row_height, int first_column_width) {
  verticalHeader()->setDefaultSectionSize(row_height);
  static_cast<FixedHeader*>(horizontalHeader())->set_thickness(row_height);
  static_cast<FixedHeader*>(verticalHeader())->set_thickness(first_column_width);
}

bool ResultGridView::eventFilter(QObject* watched, QEvent* event) {
  // QTableView draws its corner as an empty header section; here it names the
  // record kind, as the grid's fixed corner cell.
  if (watched != corner_ || event->type() != QEvent::Paint)
    return QTableView::eventFilter(watched, event);
  QStyleOptionHeader option;
  option.initFrom(corner_);
  option.state |= QStyle::State_Enabled | QStyle::State_Raised;
  option.rect = corner_->rect();
  option.text = corner_text_;
  option.textAlignment = Qt::AlignCenter;
  option.position = QStyleOptionHeader::OnlyOneSection;
  QStylePainter painter(corner_);
  painter.drawControl(QStyle::CE_Header, option);
  return true;
}

}  // namespace tsubakuro
