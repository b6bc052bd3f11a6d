#include "gui/viewers/result_data_model.h"

#include <limits>

#include "core/zengin/debit_result.h"
#include "core/zengin/debit_results.h"
#include "gui/viewers/result_view_layout.h"

namespace tsubakuro {

namespace {

// Enough decoded rows for a few screens of scrolling back and forth.
constexpr int kCachedRows = 512;

constexpr char kDataKind = '2';

// Columns of the data grid: 0 is field 1, so fields 2 to 5 (bank code and name,
// branch code and name) are columns 1 to 4 in either 20-digit mode.
constexpr int kBankCodeColumn = 1;
constexpr int kBranchCodeColumn = 3;
constexpr int kBranchNameColumn = 4;

const QString kResultHeading = QStringLiteral("振替結果");

}  // namespace

QColor not_debited_tint() { return QColor(0xf8, 0xd0, 0xd0); }

ResultDataModel::ResultDataModel(ZenginRecordReader& reader, TransferKind transfer,
                                 bool twenty_digit, QStringList headings, QObject* parent)
    : QAbstractTableModel(parent),
      reader_(reader),
      transfer_(transfer),
      twenty_digit_(twenty_digit),
      headings_(std::move(headings)),
      cache_(kCachedRows) {}

int ResultDataModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int ResultDataModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(headings_.size()) + (transfer_ == TransferKind::Debit ? 1 : 0);
}

int ResultDataModel::result_column() const {
  return transfer_ == TransferKind::Debit ? static_cast<int>(headings_.size()) : -1;
}

void ResultDataModel::set_results_shown(bool shown) {
  if (shown == results_shown_ || result_column() < 0) return;
  results_shown_ = shown;
  if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, result_column()));
}

QVariant ResultDataModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  const auto failed_row = [&] {
    if (!results_shown_) return false;
    const Row& shown = row(index.row());
    return shown.data && !is_debited(shown.result_code);
  };
  if (index.column() == result_column()) {
    if (role == Qt::BackgroundRole) return failed_row() ? QVariant(not_debited_tint()) : QVariant();
    if (role != Qt::DisplayRole || !results_shown_) return {};
    const Row& shown = row(index.row());
    return shown.data ? debit_result_meaning(debit_result_character(shown.result_code)) : QString();
  }
  if (role == Qt::BackgroundRole || role == Qt::ToolTipRole) {
    const Row& shown = row(index.row());
    if (!shown.data) return {};
    // Grid row r shows data record r + 1, field c + 1; the name fields come before
    // the 20-digit columns, so their numbers are the same in both layouts.
    const std::optional<QString> original =
        corrections_.empty() ? std::nullopt
                             : corrections_.data_original(index.row() + 1, index.column() + 1);
    if (role == Qt::BackgroundRole) {
      if (original) return QVariant(corrected_cell_tint());
      return failed_row() ? QVariant(not_debited_tint()) : QVariant();
    }
    QString tip = bank_tip(shown, index.column());
    if (original) {
      const QString corrected = corrected_cell_tooltip(*original);
      tip = tip.isEmpty() ? corrected : corrected + u'\n' + tip;
    }
    return tip.isEmpty() ? QVariant() : QVariant(tip);
  }
  if (role != Qt::DisplayRole) return {};
  const Row& shown = row(index.row());
  return index.column() < shown.cells.size() ? shown.cells[index.column()] : QString();
}

QVariant ResultDataModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  if (orientation == Qt::Horizontal)
    return section == result_column() ? kResultHeading : headings_.value(section);
  if (role != Qt::DisplayRole || !row(section).data) return {};
  return QString::number(section + 1);
}

QString ResultDataModel::bank_tip(const Row& shown, int column) const {
  if (!banks_ || !shown.data || column < kBankCodeColumn || column > kBranchNameColumn ||
      shown.cells.size() <= kBranchNameColumn)
    return {};
  const auto bank = banks_->bank(shown.cells[kBankCodeColumn]);
  if (!bank) return QStringLiteral("銀行一覧にありません");
  if (column < kBranchCodeColumn) return bank->name.toString();
  const auto branch = banks_->branch(bank->code, shown.cells[kBranchCodeColumn]);
  const QString bank_name = bank->name.toString();
  if (!branch) return bank_name + QStringLiteral("（支店は銀行一覧にありません）");
  return bank_name + u' ' + branch->name.toString();
}

void ResultDataModel::set_corrections(LoggedCorrections corrections) {
  beginResetModel();
  corrections_ = std::move(corrections);
  endResetModel();
}

void ResultDataModel::show_through_record(qint64 number) {
  // A view counts its rows in int; a bank file that long cannot be written.
  const int rows = static_cast<int>(qMin<qint64>(number - 1, std::numeric_limits<int>::max()));
  if (rows <= rows_) return;
  beginInsertRows({}, rows_, rows - 1);
  rows_ = rows;
  endInsertRows();
}

const ResultDataModel::Row& ResultDataModel::row(int model_row) const {
  // Once the window closes its file, nothing is read any more.
  if (model_row < 0 || model_row >= rows_ || !reader_.is_open()) return blank_;
  if (const Row* cached = cache_.object(model_row)) return *cached;
  auto* fresh = new Row;
  const RecordRead record = reader_.read(static_cast<qint64>(model_row) + 2);
  if (record.data_kind() == kDataKind) {
    fresh->data = true;
    fresh->result_code = debit_result_code(record.bytes);
    fresh->cells =
        result_cells(cut_record(record.bytes, record_layout(transfer_, RecordKind::Data)),
                     RecordKind::Data, twenty_digit_);
  }
  cache_.insert(model_row, fresh);
  return *cache_.object(model_row);
}

}  // namespace tsubakuro
