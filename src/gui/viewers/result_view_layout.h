#pragma once

#include <QColor>
#include <QStringList>
#include <vector>

#include "core/zengin/field_dictionary.h"
#include "core/zengin/record_layout.h"

namespace tsubakuro {

// What the result viewer shows of each record kind: one grid per kind, one
// column per field, with the 20-digit and 振替 variants. Kept apart from the
// window so that the columns and the record cutting agree by construction.

struct ResultColumn {
  int field;  // the field whose working name heads the column
  int width;  // characters shown
};

// Columns 1 onwards of the grid of `record` kind.
std::vector<ResultColumn> result_columns(TransferKind transfer, RecordKind record,
                                         bool twenty_digit);

// The cell texts of columns 1 onwards for a record cut at the positions of its layout
// (record_layout): the 振替 trailer's five fields after 合計金額 are shown apart,
// the 振込 trailer's single blank block as one column.
QStringList result_cells(QStringList pieces, RecordKind record, bool twenty_digit);

// "1:データ区分", …: the column number and the working name of its field.
QStringList result_headings(const std::vector<ResultColumn>& columns, const FieldTable& names,
                            TransferKind transfer, RecordKind record);

// A name the run mended into the banks' characters: a pale tint on its cell, and
// what the list held in its tooltip.
QColor corrected_cell_tint();
QString corrected_cell_tooltip(const QString& original);

// 90 twips per character, plus one character of room.
int result_column_twips(int characters);

}  // namespace tsubakuro
