#include "gui/viewers/result_view_layout.h"

namespace tsubakuro {

namespace {

// Fields 12 and 13 of the data record hold one 20-digit number in that mode.
constexpr int kJoinedFirst = 12;
constexpr int kJoinedWidth = 20;

}  // namespace

std::vector<ResultColumn> result_columns(TransferKind transfer, RecordKind record,
                                         bool twenty_digit) {
  const std::span<const FieldLayout> layout = record_layout(transfer, record);
  std::vector<ResultColumn> columns;
  if (record == RecordKind::End) {
    columns.push_back({1, layout.front().width});
    return columns;
  }
  for (int field = 1; field <= static_cast<int>(layout.size()); ++field) {
    const int width = layout[field - 1].width;
    if (record == RecordKind::Data && twenty_digit && field == kJoinedFirst) {
      columns.push_back({field, kJoinedWidth});
      ++field;
      continue;
    }
    columns.push_back({field, width});
  }
  return columns;
}

QStringList result_cells(QStringList pieces, RecordKind record, bool twenty_digit) {
  if (record == RecordKind::End) return pieces.mid(0, 1);
  if (record == RecordKind::Data && twenty_digit && pieces.size() > kJoinedFirst) {
    pieces[kJoinedFirst - 1] += pieces[kJoinedFirst];
    pieces.removeAt(kJoinedFirst);
  }
  return pieces;
}

QStringList result_headings(const std::vector<ResultColumn>& columns, const FieldTable& names,
                            TransferKind transfer, RecordKind record) {
  QStringList headings;
  for (qsizetype c = 0; c < static_cast<qsizetype>(columns.size()); ++c) {
    headings.append(
        QStringLiteral("%1:%2").arg(c + 1).arg(names.at(transfer, record, columns[c].field)));
  }
  return headings;
}

int result_column_twips(int characters) { return 90 * (characters + 1); }

QColor corrected_cell_tint() { return QColor(0xff, 0xf2, 0xb3); }

QString corrected_cell_tooltip(const QString& original) {
  return QStringLiteral("全銀協の文字に補正しました。元の値：「%1」").arg(original);
}

}  // namespace tsubakuro
