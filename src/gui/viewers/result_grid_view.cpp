#include "gui/viewers/result_grid_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include "gui/shell/fixed_font.h"

namespace tsubakuro {

namespace {

// The headers of QTableView size themselves from the style's margins; the
// grids' heights are computed for rows of one fixed height, so the headers
// must keep to it.
class FixedHeader : public QHeaderView {
 public:
  FixedHeader(Qt::Orientation orientation, QWidget* parent) : QHeaderView(orientation, parent) {}

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

// The delegate hands LF over as a line separator; CP932 has no such character,
// so one in a cell was an LF in the file.
bool is_control(QChar character) {
  return character.unicode() < 0x20 || character.unicode() == 0x7F ||
         character == QChar::LineSeparator;
}

// The name a mark shows for a control character: CR and LF as a reader of bank
// files knows them, any other by its code.
QString control_name(QChar character) {
  if (character == u'\r') return QStringLiteral("CR");
  if (character == u'\n' || character == QChar::LineSeparator) return QStringLiteral("LF");
  return QStringLiteral("%1").arg(character.unicode(), 2, 16, QChar(u'0')).toUpper();
}

// Cells hold the bytes of the file exactly, CR LF included. Drawn as they are, a
// line break would push the row's text out of sight, and the fonts have no
// glyph for the control pictures: each control character is drawn as a small
// inverted mark in its own character cell instead, so the columns still line up.
class ControlMarkDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QString text = item.text;
    QList<qsizetype> marks;
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (!is_control(text[i])) continue;
      marks.append(i);
      item.text[i] = u' ';
    }
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    if (marks.isEmpty()) return;

    const QRect text_rect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QFontMetricsF metrics(item.font);
    const qreal cell_width = metrics.horizontalAdvance(u' ');
    const qreal cell_height = qMin<qreal>(metrics.height(), text_rect.height());
    const qreal top = text_rect.top() + (text_rect.height() - cell_height) / 2;
    // The two letters of a mark stand one above the other in the cell.
    QFont small(item.font);
    small.setPixelSize(qMax(4, qRound(cell_height / 2) + 1));
    painter->save();
    painter->setClipRect(option.rect);
    painter->setFont(small);
    painter->setPen(item.palette.color(QPalette::Base));
    for (qsizetype i : marks) {
      const QRectF cell(text_rect.left() + margin + metrics.horizontalAdvance(item.text.left(i)),
                        top, cell_width, cell_height);
      painter->fillRect(cell.adjusted(0.5, 0, -0.5, 0), item.palette.color(QPalette::Text));
      const QString name = control_name(text[i]);
      QRectF half = cell;
      half.setHeight(cell.height() / 2);
      painter->drawText(half, Qt::AlignCenter, name.left(1));
      painter->drawText(half.translated(0, half.height()), Qt::AlignCenter, name.mid(1));
    }
    painter->restore();
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
  setItemDelegate(new ControlMarkDelegate(this));
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

int ResultGridView::heading_width(const QString& heading) const {
  const QHeaderView* header = horizontalHeader();
  const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
  // One pixel each side for the section's own line.
  return QFontMetrics(header->font()).horizontalAdvance(heading) + 2 * margin + 2;
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
