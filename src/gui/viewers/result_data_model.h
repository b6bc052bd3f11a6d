#pragma once

#include <QAbstractTableModel>
#include <QCache>
#include <QColor>
#include <QStringList>

#include "core/log/logged_corrections.h"
#include "core/zengin/bank_list.h"
#include "core/zengin/record_layout.h"
#include "core/zengin/zengin_record_reader.h"

namespace tsubakuro {

// The tint of a record the bank did not debit.
QColor not_debited_tint();

// The data grid of the result viewer. Rows are read from the open file when the
// view asks for them, so a file of a million records costs a few kilobytes of
// memory; the background load only tells the model how many rows there are.
// Grid row r (from 1) shows record r + 1, since record 1 is the header.
class ResultDataModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  ResultDataModel(ZenginRecordReader& reader, TransferKind transfer, bool twenty_digit,
                  QStringList headings, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // The names the run mended, from its log: their cells are tinted, and their
  // tooltip tells what the list held.
  void set_corrections(LoggedCorrections corrections);

  // Grows the grid so that record `number` is its last row. Never shrinks it.
  void show_through_record(qint64 number);

  // A 振替 grid ends in a 振替結果 column, which tells each record's 振替結果コード
  // and tints the rows not debited once the file is known to be one the bank
  // returned: a file as converted holds blanks or zeros there, which mean nothing.
  int result_column() const;  // -1 for a 振込 grid
  void set_results_shown(bool shown);
  bool results_shown() const { return results_shown_; }

 private:
  struct Row {
    bool data = false;  // a data record: anything else leaves its row blank
    QStringList cells;
    char result_code = 0;
  };
  const Row& row(int model_row) const;
  // The kanji names the bank list gives the bank and branch of a shown row.
  QString bank_tip(const Row& shown, int column) const;

  ZenginRecordReader& reader_;
  TransferKind transfer_;
  bool twenty_digit_;
  QStringList headings_;
  LoggedCorrections corrections_;
  bool results_shown_ = false;
  int rows_ = 0;
  mutable QCache<int, Row> cache_;
  Row blank_;
  std::shared_ptr<const BankList> banks_ = shipped_bank_list();
};

}  // namespace tsubakuro
