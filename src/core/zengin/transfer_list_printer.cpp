#include "core/zengin/transfer_list_printer.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <vector>

#include "core/zengin/bank_calendar.h"
#include "core/zengin/debit_result.h"
#include "core/zengin/transfer_list_messages.h"

namespace tsubakuro {

namespace {

namespace messages = transfer_list_messages;

// The page from its top left corner inside the margins, in millimetres.
constexpr double kMargin = 12;
constexpr double kTitleHeight = 9;
constexpr double kHeaderTop = 11;
constexpr double kHeaderLine = 4.8;
constexpr double kStampWidth = 20;
constexpr double kStampLabel = 5;
constexpr double kStampHeight = 24;
constexpr double kHeadingTop = 38;
constexpr double kHeadingHeight = 5.5;
constexpr double kRowHeight = 4.6;
constexpr double kRowsTop = kHeadingTop + kHeadingHeight;
constexpr double kSubtotalTop = kRowsTop + kTransferListRowsPerPage * kRowHeight + 1;
constexpr double kTotalsTop = kSubtotalTop + kRowHeight + 2;
constexpr double kCellPadding = 0.8;

constexpr double kTitlePoints = 15;
constexpr double kTextPoints = 8;
constexpr double kRowPoints = 7.5;
// Below this a name is cut short rather than drawn smaller.
constexpr double kSmallestPoints = 5.5;

const QColor kMismatchColour(0xd0, 0x00, 0x00);
const QColor kRuleColour(0xb0, 0xb0, 0xb0);

// IPAGothic draws a half-width kana exactly half as wide as a kanji, so the
// bank file's names keep their width; it is embedded in the PDF, so the list
// looks the same on a machine without it.
QString list_font_family() {
  const QStringList installed = QFontDatabase::families();
  for (const QString& family : {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                                QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic")}) {
    if (installed.contains(family, Qt::CaseInsensitive)) return family;
  }
  return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

QString with_separators(qint64 number) {
  return QLocale(QLocale::Japanese, QLocale::Japan).toString(number);
}

struct Column {
  QString heading;
  double width;
  Qt::Alignment align;
};

enum ColumnIndex {
  kNumber,
  kBank,
  kBranch,
  kAccountKind,
  kAccountNumber,
  kPayee,
  kAmount,
  kCustomer,
  kResult
};

std::vector<Column> list_columns(const TransferList& list, double page_width) {
  const bool debit = list.shape().transfer == TransferKind::Debit;
  const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
  const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;
  std::vector<Column> columns = {
      {QStringLiteral("番号"), 10, right},
      {QStringLiteral("銀行"), 0, left},
      {QStringLiteral("支店"), 0, left},
      {QStringLiteral("種目"), 9, centre},
      {QStringLiteral("口座番号"), 13, left},
      {debit ? QStringLiteral("預金者名") : QStringLiteral("受取人名"), 42, left},
      {QStringLiteral("金額"), 21, right},
      {QStringLiteral("顧客番号"), list.twenty_digit() ? 29.0 : 16.0, left},
  };
  if (list.carries_results()) columns.push_back({QStringLiteral("結果"), 34, left});
  double fixed = 0;
  for (const Column& column : columns) fixed += column.width;
  // The bank and branch names share what is left; a long one is drawn smaller.
  const double rest = qMax(20.0, page_width - fixed);
  columns[kBank].width = rest * 0.53;
  columns[kBranch].width = rest - columns[kBank].width;
  return columns;
}

class ListPainter {
 public:
  ListPainter(TransferList& list, QPainter& painter, const QPaintDevice& device,
              const QDateTime& made)
      : list_(list),
        painter_(painter),
        dots_per_mm_(device.logicalDpiY() / 25.4),
        family_(list_font_family()),
        made_(QStringLiteral("作成 %1年%2月%3日 %4")
                  .arg(made.date().year())
                  .arg(made.date().month())
                  .arg(made.date().day())
                  .arg(made.time().toString(QStringLiteral("HH:mm")))),
        width_(device.width() / dots_per_mm_),
        columns_(list_columns(list, width_)),
        pages_(transfer_list_page_count(list.line_count())) {}

  int pages() const { return pages_; }

  Result<void> paint_page(int page) {
    paint_top(page);
    paint_header(page == 0);
    paint_headings();
    const qint64 first = static_cast<qint64>(page) * kTransferListRowsPerPage + 1;
    const qint64 last = qMin(list_.line_count(), first + kTransferListRowsPerPage - 1);
    qint64 count = 0;
    qint64 amount = 0;
    for (qint64 number = first; number <= last; ++number) {
      Result<TransferListLine> line = list_.line(number);
      if (!line) return line.failure();
      paint_line(*line, kRowsTop + static_cast<double>(number - first) * kRowHeight);
      ++count;
      amount += line->amount.value_or(0);
    }
    paint_subtotal(count, amount);
    if (page == pages_ - 1) paint_totals();
    return {};
  }

 private:
  double dots(double mm) const { return mm * dots_per_mm_; }
  QRectF rect(double x, double y, double w, double h) const {
    return {dots(x), dots(y), dots(w), dots(h)};
  }
  QFont font(double points, bool bold = false) const {
    QFont font(family_);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setStyleHint(QFont::Monospace);
    return font;
  }

  // Text in a box of millimetres; too wide a text is drawn smaller, and below
  // the smallest size cut short with an ellipsis.
  void text(double x, double y, double w, double h, const QString& text, Qt::Alignment align,
            double points = kTextPoints, bool bold = false, const QColor& colour = Qt::black) {
    QFont shown = font(points, bold);
    const double room = dots(w - 2 * kCellPadding);
    QFontMetricsF metrics(shown, painter_.device());
    double wide = metrics.horizontalAdvance(text);
    if (wide > room && wide > 0) {
      shown.setPointSizeF(qMax(kSmallestPoints, points * room / wide));
      metrics = QFontMetricsF(shown, painter_.device());
    }
    const QString fitted = metrics.elidedText(text, Qt::ElideRight, room);
    painter_.setFont(shown);
    painter_.setPen(colour);
    painter_.drawText(rect(x + kCellPadding, y, w - 2 * kCellPadding, h), int(align), fitted);
  }

  void rule(double y, double thickness = 0.2, const QColor& colour = Qt::black) {
    painter_.setPen(QPen(colour, dots(thickness)));
    painter_.drawLine(QPointF(0, dots(y)), QPointF(dots(width_), dots(y)));
  }

  void paint_top(int page) {
    text(0, 0, width_, kTitleHeight, list_.title(), Qt::AlignCenter, kTitlePoints, true);
    const double corner = 55;
    text(width_ - corner, 0, corner, kTitleHeight / 2, made_, Qt::AlignRight | Qt::AlignVCenter);
    text(width_ - corner, kTitleHeight / 2, corner, kTitleHeight / 2,
         QStringLiteral("%1 / %2").arg(page + 1).arg(pages_), Qt::AlignRight | Qt::AlignVCenter);
  }

  void paint_header(bool first_page) {
    const TransferListHeader& header = list_.header();
    const bool debit = list_.shape().transfer == TransferKind::Debit;
    const double label = 30;
    const double value = width_ - label - (first_page ? 3 * kStampWidth + 4 : 0);
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const auto line = [&](int row, const QString& name, const QString& shown,
                          const QColor& colour = Qt::black) {
      const double y = kHeaderTop + row * kHeaderLine;
      text(0, y, label, kHeaderLine, name, left);
      text(label, y, value, kHeaderLine, shown, left, kTextPoints, false, colour);
    };
    line(0, QStringLiteral("委託者コード"), header.company_code);
    line(1, QStringLiteral("委託者名"), header.company_name);
    line(2, QStringLiteral("取引銀行・支店"),
         QStringLiteral("%1 %2　%3 %4")
             .arg(header.bank.bank_code, header.bank.bank_name, header.bank.branch_code,
                  header.bank.branch_name));
    line(3, QStringLiteral("預金種目・口座番号"),
         QStringLiteral("%1　%2").arg(header.account_kind, header.account_number));
    const QString date_name = debit ? QStringLiteral("振替指定日") : QStringLiteral("振込指定日");
    if (!header.date) {
      line(4, date_name, QStringLiteral("%1（日付ではありません）").arg(header.date_field),
           kMismatchColour);
    } else if (header.bank_closed_reason.isEmpty()) {
      line(4, date_name, full_date_text(*header.date));
    } else {
      line(4, date_name,
           QStringLiteral("%1　銀行休業日（%2）")
               .arg(full_date_text(*header.date), header.bank_closed_reason),
           kMismatchColour);
    }
    if (first_page) paint_stamp_boxes();
  }

  void paint_stamp_boxes() {
    painter_.setPen(QPen(Qt::black, dots(0.25)));
    const QString names[] = {QStringLiteral("承認"), QStringLiteral("検印"),
                             QStringLiteral("作成")};
    for (int i = 0; i < 3; ++i) {
      const double x = width_ - (3 - i) * kStampWidth;
      painter_.setPen(QPen(Qt::black, dots(0.25)));
      painter_.setBrush(Qt::NoBrush);
      painter_.drawRect(rect(x, kHeaderTop, kStampWidth, kStampHeight));
      painter_.drawLine(QPointF(dots(x), dots(kHeaderTop + kStampLabel)),
                        QPointF(dots(x + kStampWidth), dots(kHeaderTop + kStampLabel)));
      text(x, kHeaderTop, kStampWidth, kStampLabel, names[i], Qt::AlignCenter);
    }
  }

  void paint_headings() {
    rule(kHeadingTop, 0.3);
    double x = 0;
    for (const Column& column : columns_) {
      text(x, kHeadingTop, column.width, kHeadingHeight, column.heading,
           Qt::AlignHCenter | Qt::AlignVCenter, kTextPoints, true);
      x += column.width;
    }
    rule(kRowsTop, 0.3);
  }

  void paint_line(const TransferListLine& line, double y) {
    QStringList cells = {
        QString::number(line.number),
        QStringLiteral("%1 %2").arg(line.bank.bank_code, line.bank.bank_name),
        QStringLiteral("%1 %2").arg(line.bank.branch_code, line.bank.branch_name),
        line.account_kind,
        line.account_number,
        line.payee,
        line.amount ? with_separators(*line.amount) : line.amount_text,
        line.customer_number,
    };
    if (list_.carries_results())
      cells.append(
          QStringLiteral("%1 %2").arg(line.result_code, debit_result_meaning(line.result_code)));
    double x = 0;
    for (int c = 0; c < static_cast<int>(columns_.size()); ++c) {
      const bool unreadable = c == kAmount && !line.amount;
      text(x, y, columns_[c].width, kRowHeight, cells[c], columns_[c].align, kRowPoints, unreadable,
           unreadable ? kMismatchColour : QColor(Qt::black));
      x += columns_[c].width;
    }
    rule(y + kRowHeight, 0.1, kRuleColour);
  }

  // The x where the amount column begins, and its width.
  double amount_left() const {
    double x = 0;
    for (int c = 0; c < kAmount; ++c) x += columns_[c].width;
    return x;
  }

  void paint_subtotal(qint64 count, qint64 amount) {
    rule(kSubtotalTop - 0.5, 0.3);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    text(0, kSubtotalTop, amount_left(), kRowHeight,
         QStringLiteral("小計（このページ）　%1件").arg(with_separators(count)), right);
    text(amount_left(), kSubtotalTop, columns_[kAmount].width, kRowHeight, with_separators(amount),
         right, kRowPoints);
  }

  void paint_totals() {
    const bool agree = list_.totals_agree();
    const QColor colour = agree ? QColor(Qt::black) : kMismatchColour;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    rule(kTotalsTop - 0.5, 0.5);
    text(0, kTotalsTop, amount_left(), kRowHeight,
         QStringLiteral("合計件数　%1件　　合計金額").arg(with_separators(list_.line_count())),
         right, kTextPoints, true, colour);
    text(amount_left(), kTotalsTop, columns_[kAmount].width, kRowHeight,
         with_separators(list_.amount_total()), right, kRowPoints, true, colour);
    const auto figure = [](const std::optional<qint64>& value, const QString& unit) {
      return value ? with_separators(*value) + unit : QStringLiteral("（数字ではありません）");
    };
    QString trailer = QStringLiteral("トレーラレコード　合計件数 %1　合計金額 %2")
                          .arg(figure(list_.trailer_count(), QStringLiteral("件")),
                               figure(list_.trailer_amount(), QStringLiteral("円")));
    trailer += agree ? QStringLiteral("　（一致）")
                     : QStringLiteral("　※合計件数・合計金額が一致しません");
    double y = kTotalsTop + kRowHeight;
    text(0, y, width_, kRowHeight, trailer, right, kTextPoints, !agree, colour);
    if (list_.unreadable_amounts() > 0) {
      y += kRowHeight;
      text(0, y, width_, kRowHeight,
           QStringLiteral("※金額が数字でない %1件は合計金額に含めていません")
               .arg(with_separators(list_.unreadable_amounts())),
           right, kTextPoints, true, kMismatchColour);
    }
    if (list_.carries_results()) paint_result_totals(kTotalsTop + 3 * kRowHeight + 1);
  }

  void paint_result_totals(double top) {
    qint64 debited_count = 0, debited_amount = 0, failed_count = 0, failed_amount = 0;
    QStringList reasons;
    for (const ResultTotal& total : list_.result_totals()) {
      const QString figures = QStringLiteral("%1件　%2円")
                                  .arg(with_separators(total.count))
                                  .arg(with_separators(total.amount));
      if (debit_result_debited(total.code)) {
        debited_count += total.count;
        debited_amount += total.amount;
      } else {
        failed_count += total.count;
        failed_amount += total.amount;
        reasons.append(QStringLiteral("%1 %2　%3")
                           .arg(total.code)
                           .arg(debit_result_meaning(total.code), figures));
      }
    }
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const double sums = 50;
    text(0, top, sums, kRowHeight,
         QStringLiteral("振替済　%1件　%2円")
             .arg(with_separators(debited_count))
             .arg(with_separators(debited_amount)),
         left, kTextPoints, true);
    text(0, top + kRowHeight, sums, kRowHeight,
         QStringLiteral("振替不能　%1件　%2円")
             .arg(with_separators(failed_count))
             .arg(with_separators(failed_amount)),
         left, kTextPoints, true);
    // The reasons in two columns of four beside the two sums.
    const double reason_width = (width_ - sums) / 2;
    for (int i = 0; i < reasons.size() && i < 8; ++i) {
      text(sums + (i / 4) * reason_width, top + (i % 4) * kRowHeight, reason_width, kRowHeight,
           reasons[i], left, kRowPoints);
    }
  }

  TransferList& list_;
  QPainter& painter_;
  double dots_per_mm_;
  QString family_;
  QString made_;
  double width_;
  std::vector<Column> columns_;
  int pages_;
};

}  // namespace

int transfer_list_page_count(qint64 line_count) {
  return static_cast<int>(
      qMax<qint64>(1, (line_count + kTransferListRowsPerPage - 1) / kTransferListRowsPerPage));
}

QPageLayout transfer_list_page_layout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                     QMarginsF(kMargin, kMargin, kMargin, kMargin), QPageLayout::Millimeter);
}

Result<int> paint_transfer_list(TransferList& list, QPagedPaintDevice& device,
                                const QDateTime& made) {
  QPainter painter;
  if (!painter.begin(&device)) return failure(messages::not_printed());
  painter.setRenderHint(QPainter::Antialiasing);
  ListPainter pages(list, painter, device, made);
  for (int page = 0; page < pages.pages(); ++page) {
    if (page > 0 && !device.newPage()) {
      painter.end();
      return failure(messages::not_printed());
    }
    if (Result<void> painted = pages.paint_page(page); !painted) {
      painter.end();
      return painted.failure();
    }
  }
  if (!painter.end()) return failure(messages::not_printed());
  return pages.pages();
}

Result<int> write_transfer_list_pdf(TransferList& list, const QString& pdf_path,
                                    const QDateTime& made) {
  QSaveFile file(pdf_path);
  if (!file.open(QIODevice::WriteOnly))
    return failure(messages::pdf_not_written(pdf_path, file.errorString()));
  Result<int> painted = failure(QString());
  {
    QPdfWriter writer(&file);
    writer.setResolution(600);
    writer.setPageLayout(transfer_list_page_layout());
    writer.setCreator(QStringLiteral("ツバクロ"));
    writer.setTitle(list.title());
    painted = paint_transfer_list(list, writer, made);
  }
  if (!painted) {
    file.cancelWriting();
    return painted.message() == messages::not_printed()
               ? failure(messages::pdf_not_written(pdf_path, file.errorString()))
               : painted.failure();
  }
  if (!file.commit()) return failure(messages::pdf_not_written(pdf_path, file.errorString()));
  return painted;
}

}  // namespace tsubakuro
