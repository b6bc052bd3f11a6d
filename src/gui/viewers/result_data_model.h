#pragma once

#include <QAbstractTableModel>
#include <QCache>
#include <QStringList>

#include "core/log/logged_corrections.h"
#include "core/zengin/bank_list.h"
#include "core/zengin/record_layout.h"
#include "core/zengin/zengin_record_reader.h"

namespace tsubakuro {

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

 private:
  struct Row {
    bool data = false;  // a data record: anything else leaves its row blank
    QStringList cells;
  };
  const Row& row(int model_row) const;
  // The kanji names the bank list gives the bank and branch of a shown row.
  QString bank_tip(const Row& shown, int column) const;

  ZenginRecordReader& reader_;
  TransferKind transfer_;
  bool twenty_digit_;
  QStringList headings_;
  LoggedCorrections corrections_;
  int rows_ = 0;
  mutable QCache<int, Row> cache_;
  Row blank_;
  std::shared_ptr<const BankList> banks_ = shipped_bank_list();
};

}  // namespace tsubakuro
