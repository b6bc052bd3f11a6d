#include "gui/viewers/result_viewer.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTimer>

#include "core/conversion/failed_debits_csv.h"
#include "core/settings/company_name.h"
#include "core/settings/company_settings.h"
#include "core/settings/conversion_options.h"
#include "core/zengin/debit_result_messages.h"
#include "core/zengin/record_layout.h"
#include "core/zengin/transfer_list_messages.h"
#include "core/zengin/transfer_list_printer.h"
#include "gui/shell/message_dialogs.h"
#include "gui/shell/twips.h"
#include "gui/shell/window_routine.h"
#include "gui/viewers/result_data_model.h"
#include "gui/viewers/result_grid_view.h"
#include "gui/viewers/result_view_layout.h"

namespace tsubakuro {

namespace {

// A file the bank returns ends its records as the bank does, whatever the
// company's setting: the file's own bytes decide when they name one length
// only, and the setting when they fit none or more than one.
int record_length_of(const QString& path, int setting) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return setting;
  const Result<DetectedRecordLength> detected = detect_record_length(file);
  return detected && detected->unambiguous ? detected->record_length : setting;
}

constexpr int kBatchSize = 51;
constexpr qint64 kTurnMilliseconds = 15;
constexpr char kHeaderKind = '1';
constexpr char kDataKind = '2';
constexpr char kTrailerKind = '8';
constexpr char kEndKind = '9';

// Sizes in twips.
constexpr int kGap = 170;
constexpr int kSideRoom = 340;
constexpr int kOneRowHeight = 540;      // heading row and one record
constexpr int kScrollableHeight = 780;  // the same with room for a scroll bar
constexpr int kRowHeight = 240;
constexpr int kHeaderFitsWidth = 13310;
constexpr int kTrailerFitsWidth = 12500;
constexpr int kFirstColumnWidth = 960;
// The data rows a first opening shows at once.
constexpr int kFirstDataRows = 20;
// The debit results' line and the line that tells of a trailer that disagrees.
constexpr int kResultsLineHeight = 300;
constexpr int kExportButtonWidth = 2400;
constexpr int kExportButtonHeight = 360;
// The widest meaning of a 振替結果コード, 預金者の都合による振替停止, in characters.
constexpr int kResultMeaningWidth = 26;
constexpr int kButtonHeight = 360;
constexpr int kButtonWidth = 1800;

const QString kErrorTitle = QStringLiteral("エラー");

}  // namespace

ResultViewer::ResultViewer(AppState& app, QWidget* parent)
    : ChildWindow(app, WindowSlot::ResultViewer, parent) {
  setObjectName(QStringLiteral("変換結果"));
  setWindowTitle(QStringLiteral("変換結果"));
  for (int i = 0; i < 4; ++i) {
    grids_[i] = new ResultGridView(i, record_kind_word(static_cast<RecordKind>(i)), this);
    grids_[i]->set_fixed_sizes(to_pixels(kRowHeight), to_pixels(kFirstColumnWidth));
    if (i != kDataGrid) grids_[i]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  results_label_ = new QLabel(this);
  results_label_->setObjectName(QStringLiteral("振替結果"));
  results_label_->setAccessibleName(QStringLiteral("振替結果"));
  results_label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  results_warning_ = new QLabel(this);
  results_warning_->setObjectName(QStringLiteral("トレーラとの違い"));
  results_warning_->setAccessibleName(QStringLiteral("トレーラとの違い"));
  results_warning_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QPalette warning = results_warning_->palette();
  warning.setColor(QPalette::WindowText, Qt::red);
  results_warning_->setPalette(warning);
  export_failed_ = new QPushButton(QStringLiteral("振替不能を書き出す..."), this);
  export_failed_->setObjectName(QStringLiteral("振替不能を書き出す"));
  export_failed_->setAccessibleName(QStringLiteral("振替不能を書き出す..."));
  connect(export_failed_, &QPushButton::clicked, this, &ResultViewer::ask_failed_debits_path);
  for (QWidget* widget :
       {static_cast<QWidget*>(results_label_), static_cast<QWidget*>(results_warning_),
        static_cast<QWidget*>(export_failed_)})
    widget->hide();
  list_pdf_button_ = new QPushButton(QStringLiteral("一覧表(PDF)..."), this);
  list_pdf_button_->setObjectName(QStringLiteral("一覧表PDF"));
  list_pdf_button_->setAccessibleName(QStringLiteral("振込・振替一覧表をPDFに保存"));
  connect(list_pdf_button_, &QPushButton::clicked, this, &ResultViewer::save_list_pdf);
  print_button_ = new QPushButton(QStringLiteral("印刷..."), this);
  print_button_->setObjectName(QStringLiteral("一覧表印刷"));
  print_button_->setAccessibleName(QStringLiteral("振込・振替一覧表を印刷"));
  connect(print_button_, &QPushButton::clicked, this, &ResultViewer::print_list);
  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setInterval(1);
  connect(timer1_, &QTimer::timeout, this, &ResultViewer::load_data_batches);
}

bool ResultViewer::loading() const { return timer1_->isActive(); }

void ResultViewer::on_opened() {
  if (Result<LoadedCompanySettings> loaded =
          load_company_settings(app_.system.current_company, app_.company))
    app_.company = std::move(loaded->settings);
  else
    show_failure(app_, loaded.failure());
  closing_ = false;
  transfer_ = app_.system.transfer_kind;
  const ConversionOptions options = take_conversion_options(app_.system, app_.company);
  twenty_digit_ = options.twenty_digit(transfer_);
  const Result<QString> log_file = company_log_file(app_.system.current_company);
  corrections_ = log_file ? LoggedCorrections::read(*log_file) : LoggedCorrections();
  set_up_grids();
  data_model_->set_corrections(corrections_);
  set_up_debit_results();
  const QString& company = app_.system.current_company;
  setWindowTitle(
      company.isEmpty()
          ? QStringLiteral("変換結果")
          : QStringLiteral("変換結果　%1(%2)").arg(company, transfer_kind_word(transfer_)));
  open_output_file(options.physical_record_length());
  list_pdf_button_->setEnabled(record_count_ >= 1);
  print_button_->setEnabled(record_count_ >= 1);
  if (record_count_ >= 1) timer1_->start();
  show_fixed_record(1);
  show_fixed_record(record_count_ - 1);
  show_fixed_record(record_count_);
  next_record_ = 2;
  if (record_count_ < 1) show_debit_results();
  lay_out();
}

void ResultViewer::on_closing() {
  closing_ = true;
  timer1_->stop();
  reader_.close();
}

void ResultViewer::set_up_grids() {
  set_up_grid(kHeaderGrid, RecordKind::Header);
  set_up_grid(kDataGrid, RecordKind::Data);
  set_up_grid(kTrailerGrid, RecordKind::Trailer);
  set_up_grid(kEndGrid, RecordKind::End);
}

void ResultViewer::set_up_grid(Grid grid, RecordKind record) {
  const std::vector<ResultColumn> columns = result_columns(transfer_, record, twenty_digit_);
  const QStringList headings = result_headings(columns, app_.system.field_names, transfer_, record);
  ResultGridView* view = grids_[grid];
  if (grid == kDataGrid) {
    data_model_ = new ResultDataModel(reader_, transfer_, twenty_digit_, headings, this);
    view->setModel(data_model_);
  } else {
    auto* model = new QStandardItemModel(1, static_cast<int>(headings.size()), this);
    model->setHorizontalHeaderLabels(headings);
    model->setVerticalHeaderLabels({QString()});
    for (int c = 0; c < headings.size(); ++c)
      model->setHeaderData(c, Qt::Horizontal, headings[c], Qt::ToolTipRole);
    fixed_models_[grid] = model;
    view->setModel(model);
  }
  for (int c = 0; c < static_cast<int>(columns.size()); ++c)
    view->setColumnWidth(c, column_width(view, columns[c], headings[c]));
  if (grid == kDataGrid && data_model_->result_column() >= 0) {
    const int c = data_model_->result_column();
    view->setColumnWidth(
        c, qMax(to_pixels(result_column_twips(kResultMeaningWidth)),
                view->heading_width(data_model_->headerData(c, Qt::Horizontal).toString())));
  }
}

// The width the field's characters take, but never less than its heading: a
// heading cut short leaves the user guessing which field a column is.
int ResultViewer::column_width(const ResultGridView* view, const ResultColumn& column,
                               const QString& heading) const {
  return qMax(to_pixels(result_column_twips(column.width)), view->heading_width(heading));
}

QSize ResultViewer::sizeHint() const {
  // The widest of the grids with the names of the kind the user works in; a
  // company's 20-digit option only narrows the data grid.
  const TransferKind transfer = app_.system.transfer_kind;
  int widest = 0;
  for (RecordKind record : {RecordKind::Header, RecordKind::Data, RecordKind::Trailer}) {
    const std::vector<ResultColumn> columns = result_columns(transfer, record, false);
    const QStringList headings =
        result_headings(columns, app_.system.field_names, transfer, record);
    int width = 0;
    for (int c = 0; c < static_cast<int>(columns.size()); ++c)
      width += column_width(grids_[kHeaderGrid], columns[c], headings[c]);
    widest = qMax(widest, width);
  }
  const int bar = grids_[kDataGrid]->verticalScrollBar()->sizeHint().width();
  const int frame = 2 * grids_[kDataGrid]->frameWidth();
  const int height_twips = 5 * kGap + 3 * kOneRowHeight + (kFirstDataRows + 1) * kRowHeight;
  return {widest + to_pixels(kFirstColumnWidth + kSideRoom) + bar + frame,
          to_pixels(height_twips) + bar + 4 * frame};
}

void ResultViewer::open_output_file(int record_length) {
  const QString& output = app_.company.section(transfer_).output_file;
  output_file_ = output;
  record_count_ = 0;
  if (output.isEmpty() || !QFile::exists(output)) {
    show_notice(app_, kErrorTitle, QStringLiteral("出力ファイルが存在しません"));
    return;
  }
  // The window has always answered a file it cannot open with this one message.
  if (!reader_.open(output, record_length_of(output, record_length)).ok()) {
    show_notice(app_, kErrorTitle, QStringLiteral("環境設定に問題があります。確認して下さい。"));
    return;
  }
  record_count_ = reader_.record_count();
}

void ResultViewer::show_fixed_record(qint64 number) {
  const RecordRead read = reader_.read(number);
  if (read.status == RecordRead::Status::PastEnd) past_end_ = true;
  Grid grid;
  RecordKind record;
  switch (read.data_kind()) {
    case kHeaderKind:
      grid = kHeaderGrid;
      record = RecordKind::Header;
      break;
    case kTrailerKind:
      grid = kTrailerGrid;
      record = RecordKind::Trailer;
      if (debit()) debit_trailer_ = read_debit_trailer(read.bytes);
      break;
    case kEndKind:
      grid = kEndGrid;
      record = RecordKind::End;
      break;
    default:
      return;
  }
  const QStringList cells =
      result_cells(cut_record(read.bytes, record_layout(transfer_, record)), record, twenty_digit_);
  QStandardItemModel* model = fixed_models_[grid];
  for (int c = 0; c < cells.size(); ++c) {
    model->setData(model->index(0, c), cells[c]);
    if (grid != kHeaderGrid) continue;
    if (const std::optional<QString> original = corrections_.header_original(c + 1)) {
      model->setData(model->index(0, c), corrected_cell_tint(), Qt::BackgroundRole);
      model->setData(model->index(0, c), corrected_cell_tooltip(*original), Qt::ToolTipRole);
    }
  }
}

void ResultViewer::show_data_record(qint64 number) {
  if (past_end_) return;
  const RecordRead read = reader_.read(number);
  if (read.status == RecordRead::Status::PastEnd) past_end_ = true;
  if (read.data_kind() != kDataKind) return;
  last_data_record_ = number;
  if (debit()) debit_tally_.add(read.bytes);
}

void ResultViewer::load_data_batches() {
  // The first tick comes once the window is shown; after it the batches follow
  // each other as fast as the events in between allow.
  timer1_->setInterval(0);
  // Batches that take a fraction of a millisecond share one turn of the event
  // loop, and the grid is told of them at once: drawing the grid after every
  // batch would cost more than reading it and would make a million records take
  // minutes. A turn stays short enough that the window answers at once.
  QElapsedTimer turn;
  turn.start();
  while (!closing_ && !past_end_ && turn.elapsed() < kTurnMilliseconds) {
    for (int i = 0; i < kBatchSize; ++i) {
      show_data_record(next_record_);
      ++next_record_;
    }
  }
  data_model_->show_through_record(last_data_record_);
  if (closing_ || past_end_) timer1_->stop();
  if (!closing_ && past_end_) show_debit_results();
}

void ResultViewer::set_up_debit_results() {
  debit_tally_ = {};
  debit_trailer_ = {};
  debit_results_shown_ = false;
  for (QWidget* widget :
       {static_cast<QWidget*>(results_label_), static_cast<QWidget*>(results_warning_),
        static_cast<QWidget*>(export_failed_)})
    widget->setVisible(debit());
  results_label_->setText(debit_result_messages::still_loading());
  results_warning_->clear();
  export_failed_->setEnabled(false);
}

// Shown once every record is read: the trailer is compared with all of them.
void ResultViewer::show_debit_results() {
  if (!debit()) return;
  if (!reader_.is_open()) {
    results_label_->clear();
    return;
  }
  debit_results_shown_ = debit_tally_.has_failure_codes() || debit_trailer_.carries_results();
  data_model_->set_results_shown(debit_results_shown_);
  export_failed_->setEnabled(debit_results_shown_);
  if (!debit_results_shown_) {
    results_label_->setText(debit_result_messages::no_results(output_file_));
    return;
  }
  // A long line is cut at the window's edge; its tooltip holds it whole.
  const QString summary = debit_result_summary(debit_tally_);
  results_label_->setText(summary);
  results_label_->setToolTip(summary);
  const QString warning = debit_trailer_disagreements(debit_tally_, debit_trailer_).join(u' ');
  results_warning_->setText(warning);
  results_warning_->setToolTip(warning);
}

void ResultViewer::ask_failed_debits_path() {
  QFileDialog dialog(this, QStringLiteral("振替不能を書き出す"));
  dialog.setObjectName(QStringLiteral("振替不能の書き出し先"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters({QStringLiteral("CSV ファイル (*.csv)"), QStringLiteral("すべて (*)")});
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  dialog.setDirectory(QFileInfo(output_file_).absolutePath());
  dialog.selectFile(QStringLiteral("振替不能.csv"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  write_failed_debits_to(dialog.selectedFiles().constFirst());
}

void ResultViewer::write_failed_debits_to(const QString& path) {
  if (!debit_results_shown_) return;
  const FailedDebitsCsv layout = FailedDebitsCsv::for_company(
      app_.company.section(TransferKind::Debit), twenty_digit_, app_.system.field_names);
  const Result<qint64> written =
      write_failed_debits(output_file_, reader_.record_length(), layout, path);
  if (!written) {
    show_failure(app_, written.failure());
    return;
  }
  show_notice(app_, QStringLiteral("振替不能を書き出す"),
              debit_result_messages::failed_list_written(*written, path));
}

void ResultViewer::resizeEvent(QResizeEvent* event) {
  ChildWindow::resizeEvent(event);
  lay_out();
}

void ResultViewer::lay_out() {
  QWidget* frame = window_frame(this);
  if (frame->isMinimized()) return;
  if (app_.host) app_.host->enforce_main_minimum();
  if (!(frame->windowState() & Qt::WindowMaximized)) {
    const QSize minimum = minimum_size_twips(WindowSlot::ResultViewer);
    const QSize grown =
        frame->size().expandedTo(QSize(to_pixels(minimum.width()), to_pixels(minimum.height())));
    if (grown != frame->size()) frame->resize(grown);
  }
  const double dpi = logical_dpi(this);
  const int client_height = pixels_to_twips(height(), dpi);
  const int outer_width = pixels_to_twips(frame->width(), dpi);
  const int header_height = outer_width > kHeaderFitsWidth ? kOneRowHeight : kScrollableHeight;
  const int trailer_height = outer_width > kTrailerFitsWidth ? kOneRowHeight : kScrollableHeight;
  const int end_height = kOneRowHeight;
  const int header_top = kGap;
  const int data_top = header_top + header_height + kGap;
  const int end_top = client_height - end_height - kGap;
  const int trailer_top = end_top - trailer_height - kGap;
  // A 振替 file's results stand between its data and its trailer.
  const int results_height = debit() ? 2 * kResultsLineHeight : 0;
  const int results_top = trailer_top - (debit() ? results_height + kGap : 0);
  // In a main window too small for the four grids the data grid gives way first.
  const int data_height = qMax(0, results_top - data_top - kGap);

  const int grid_width = qMax(0, frame->width() - to_pixels(kSideRoom));
  const int left = qMax(0, (width() - grid_width) / 2);
  const auto place = [&](Grid grid, int top, int grid_height) {
    grids_[grid]->setGeometry(left, to_pixels(top), grid_width, to_pixels(grid_height));
  };
  place(kHeaderGrid, header_top, header_height);
  place(kDataGrid, data_top, data_height);
  place(kTrailerGrid, trailer_top, trailer_height);
  // The end record has one column: the list's buttons share its row, at the right.
  const int buttons_width = to_pixels(2 * kButtonWidth + 2 * kGap);
  const int end_width = qMax(to_pixels(kFirstColumnWidth), grid_width - buttons_width);
  grids_[kEndGrid]->setGeometry(left, to_pixels(end_top), end_width, to_pixels(end_height));
  const int buttons_top = to_pixels(end_top + (end_height - kButtonHeight) / 2);
  const int first_button = left + end_width + to_pixels(kGap);
  list_pdf_button_->setGeometry(first_button, buttons_top, to_pixels(kButtonWidth),
                                to_pixels(kButtonHeight));
  print_button_->setGeometry(first_button + to_pixels(kButtonWidth + kGap), buttons_top,
                             to_pixels(kButtonWidth), to_pixels(kButtonHeight));
  if (debit()) {
    const int button_width = to_pixels(kExportButtonWidth);
    const int label_width = qMax(0, grid_width - button_width - to_pixels(kGap));
    results_label_->setGeometry(left, to_pixels(results_top), label_width,
                                to_pixels(kResultsLineHeight));
    results_warning_->setGeometry(left, to_pixels(results_top + kResultsLineHeight), label_width,
                                  to_pixels(kResultsLineHeight));
    export_failed_->setGeometry(left + grid_width - button_width,
                                to_pixels(results_top + (results_height - kExportButtonHeight) / 2),
                                button_width, to_pixels(kExportButtonHeight));
  }
}

std::unique_ptr<TransferList> ResultViewer::open_list() {
  TransferListOptions options;
  options.twenty_digit = twenty_digit_;
  Result<std::unique_ptr<TransferList>> list =
      TransferList::open(app_.company.section(transfer_).output_file, options);
  if (!list) {
    show_notice(app_, kErrorTitle, list.message());
    return nullptr;
  }
  return std::move(*list);
}

void ResultViewer::save_list_pdf() {
  std::unique_ptr<TransferList> list = open_list();
  if (!list) return;
  const QFileInfo output(app_.company.section(transfer_).output_file);
  QFileDialog dialog(
      this, QStringLiteral("一覧表の保存"),
      output.absoluteDir().filePath(output.completeBaseName() + QStringLiteral("_一覧表.pdf")),
      QStringLiteral("PDF (*.pdf)"));
  dialog.setObjectName(QStringLiteral("一覧表の保存"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const Result<int> written =
      write_transfer_list_pdf(*list, dialog.selectedFiles().first(), QDateTime::currentDateTime());
  if (!written)
    show_notice(app_, kErrorTitle, written.message());
  else if (!list->totals_agree())
    show_notice(app_, kErrorTitle, transfer_list_messages::totals_disagree());
}

void ResultViewer::print_list() {
  std::unique_ptr<TransferList> list = open_list();
  if (!list) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(transfer_list_page_layout());
  printer.setDocName(list->title());
  QPrintDialog dialog(&printer, this);
  dialog.setObjectName(QStringLiteral("一覧表の印刷"));
  dialog.setWindowTitle(QStringLiteral("一覧表の印刷"));
  if (dialog.exec() != QDialog::Accepted) return;
  const Result<int> printed = paint_transfer_list(*list, printer, QDateTime::currentDateTime());
  if (!printed)
    show_notice(app_, kErrorTitle, printed.message());
  else if (!list->totals_agree())
    show_notice(app_, kErrorTitle, transfer_list_messages::totals_disagree());
}

int ResultViewer::to_pixels(int twips) const { return twips_to_pixels(twips, logical_dpi(this)); }

}  // namespace tsubakuro
