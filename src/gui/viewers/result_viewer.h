#pragma once

#include <QStringList>
#include <array>

#include "core/log/logged_corrections.h"
#include "core/zengin/debit_results.h"
#include "core/zengin/record_kinds.h"
#include "core/zengin/transfer_list.h"
#include "core/zengin/zengin_record_reader.h"
#include "gui/shell/child_window.h"
#include "gui/viewers/result_view_layout.h"

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTimer;

namespace tsubakuro {

class ResultDataModel;
class ResultGridView;

// 変換結果: the bank file the current company's last conversion wrote, one grid
// per record kind and one column per field, every piece exactly as the file holds
// it. The header, trailer and end records are shown at once; the data records
// follow in batches of 51 while the window stays usable. The file stays open
// until the window closes. Two buttons print the file's transfer list
// (振込・振替一覧表): to a PDF or on a printer.
class ResultViewer : public ChildWindow {
  Q_OBJECT

 public:
  explicit ResultViewer(AppState& app, QWidget* parent = nullptr);

  // Physical records in the output file, as counted when the window opened.
  qint64 record_count() const { return record_count_; }
  // The data records are still being loaded.
  bool loading() const;

  // The size a first opening takes (the work area permitting): every column
  // of the grids and a screenful of data rows.
  QSize sizeHint() const override;

 protected:
  void on_opened() override;
  void on_closing() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  enum Grid { kHeaderGrid = 0, kDataGrid = 1, kTrailerGrid = 2, kEndGrid = 3 };

  void set_up_grids();
  void set_up_grid(Grid grid, RecordKind record);
  // At the length the file's bytes show, or at `record_length`, the setting's,
  // when they do not tell.
  void open_output_file(int record_length);
  void show_fixed_record(qint64 number);
  void show_data_record(qint64 number);
  void load_data_batches();
  void lay_out();
  void save_list_pdf();
  void print_list();
  // The transfer list of the output file, or nothing after telling the user why.
  std::unique_ptr<TransferList> open_list();
  int to_pixels(int twips) const;
  int column_width(const ResultGridView* view, const ResultColumn& column,
                   const QString& heading) const;
  bool debit() const { return transfer_ == TransferKind::Debit; }
  void set_up_debit_results();
  void show_debit_results();
  // 「振替不能を書き出す...」: asks where, then writes the records not debited in the
  // company's 振替 columns and tells the user how it went.
  void ask_failed_debits_path();
  void write_failed_debits_to(const QString& path);

  std::array<ResultGridView*, 4> grids_{};
  std::array<QStandardItemModel*, 4> fixed_models_{};  // none for the data grid
  ResultDataModel* data_model_ = nullptr;
  QPushButton* list_pdf_button_ = nullptr;
  QPushButton* print_button_ = nullptr;
  QTimer* timer1_ = nullptr;
  ZenginRecordReader reader_;
  TransferKind transfer_ = TransferKind::Credit;
  bool twenty_digit_ = false;
  qint64 record_count_ = 0;
  qint64 next_record_ = 2;
  qint64 last_data_record_ = 0;
  bool past_end_ = false;  // the last read reached past the end of the file
  bool closing_ = false;
  LoggedCorrections corrections_;
  QString output_file_;
  // The debit results, gathered as the data records load.
  QLabel* results_label_ = nullptr;
  QLabel* results_warning_ = nullptr;
  QPushButton* export_failed_ = nullptr;
  DebitResultTally debit_tally_;
  DebitTrailer debit_trailer_;
  // A 振替 file the bank returned, once its records are loaded.
  bool debit_results_shown_ = false;
};

}  // namespace tsubakuro
