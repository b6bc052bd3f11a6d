#include "gui/editors/field_options_editor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/settings/settings_file.h"
#include "core/settings/settings_messages.h"
#include "core/zengin/padding.h"
#include "core/zengin/record_layout.h"
#include "gui/shell/choice_list.h"
#include "gui/shell/message_dialogs.h"
#include "gui/shell/scrolling_content.h"

namespace tsubakuro {

namespace {

constexpr std::array<RecordKind, kRecordKindCount> kRecordKinds = {
    RecordKind::Header, RecordKind::Data, RecordKind::Trailer, RecordKind::End};
constexpr std::array<TransferKind, kTransferKindCount> kTransferKinds = {TransferKind::Credit,
                                                                         TransferKind::Debit};

const QString kCharacterKind = QStringLiteral("文字");
const QString kNumericKind = QStringLiteral("数字");

// 振込 keeps its name boxes in Text1 to Text4 and its kind lists in Combo11 to
// Combo14; 振替 in Text21 to Text24 and Combo21 to Combo24.
int name_array_number(TransferKind transfer, RecordKind record) {
  return (transfer == TransferKind::Credit ? 1 : 21) + static_cast<int>(record);
}

int kind_array_number(TransferKind transfer, RecordKind record) {
  return (transfer == TransferKind::Credit ? 11 : 21) + static_cast<int>(record);
}

QString row_label(int field) { return QStringLiteral("[%1]").arg(field, 2); }

}  // namespace

FieldOptionsEditor::FieldOptionsEditor(AppState& app) : ChildWindow(app, WindowSlot::FieldOptions) {
  setObjectName(QStringLiteral("オプション"));
  setWindowTitle(QStringLiteral("オプション"));

  tab_strip_ = new QTabWidget;
  tab_strip_->setObjectName(QStringLiteral("TabStrip1"));
  for (TransferKind transfer : kTransferKinds)
    tab_strip_->addTab(new ScrollingContent(build_page(transfer)), transfer_kind_word(transfer));
  connect(tab_strip_, &QTabWidget::currentChanged, this, &FieldOptionsEditor::show_page);

  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setObjectName(QStringLiteral("Command1(1)"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"));
  cancel->setObjectName(QStringLiteral("Command1(0)"));
  auto* defaults = new QPushButton(QStringLiteral("ﾌﾞﾗﾝｸ初期値ｾｯﾄ"));
  defaults->setObjectName(QStringLiteral("Command1(2)"));
  connect(ok, &QPushButton::clicked, this, &FieldOptionsEditor::accept_values);
  connect(cancel, &QPushButton::clicked, this, [this] { close(); });
  connect(defaults, &QPushButton::clicked, this, &FieldOptionsEditor::text_dft_set);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(defaults);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tab_strip_);
  layout->addLayout(buttons);

  show_page(tab_strip_->currentIndex());
  load_values();
}

QWidget* FieldOptionsEditor::build_page(TransferKind transfer) {
  const QString transfer_word = transfer_kind_word(transfer);
  const QStringList kinds = {kCharacterKind, kNumericKind};
  std::array<QGroupBox*, kRecordKindCount> frames{};
  for (RecordKind record : kRecordKinds) {
    auto* frame = new QGroupBox(record_kind_word(record));
    auto* grid = new QGridLayout(frame);
    std::vector<Row>& record_rows = rows(transfer)[static_cast<int>(record)];
    const int fields = static_cast<int>(app_.system.field_names.of(transfer, record).size());
    for (int i = 0; i < fields; ++i) {
      const QString label_text = row_label(i + 1);
      auto* label = new QLabel(label_text);
      Row row;
      row.name = new QLineEdit;
      row.name->setObjectName(
          QStringLiteral("Text%1(%2)").arg(name_array_number(transfer, record)).arg(i));
      row.name->setMinimumWidth(fontMetrics().horizontalAdvance(QString(9, QChar(u'あ'))));
      row.name->setAccessibleName(
          QStringLiteral("%1 %2 %3 名称").arg(transfer_word, record_kind_word(record), label_text));
      label->setBuddy(row.name);
      // Typed text is a kind of its own ("N" unless it reads 文字), not a new entry.
      row.kind = new ChoiceList;
      row.kind->addItems(kinds);
      row.kind->setObjectName(
          QStringLiteral("Combo%1(%2)").arg(kind_array_number(transfer, record)).arg(i));
      row.kind->setAccessibleName(
          QStringLiteral("%1 %2 %3 種別").arg(transfer_word, record_kind_word(record), label_text));
      grid->addWidget(label, i, 0);
      grid->addWidget(row.name, i, 1);
      grid->addWidget(row.kind, i, 2);
      record_rows.push_back(row);
    }
    grid->setColumnStretch(1, 1);
    frames[static_cast<int>(record)] = frame;
  }

  auto* page = new QWidget;
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(frames[static_cast<int>(RecordKind::Header)], 0, Qt::AlignTop);
  layout->addWidget(frames[static_cast<int>(RecordKind::Data)], 0, Qt::AlignTop);
  auto* short_records = new QVBoxLayout;
  short_records->addWidget(frames[static_cast<int>(RecordKind::Trailer)]);
  short_records->addWidget(frames[static_cast<int>(RecordKind::End)]);
  short_records->addStretch();
  layout->addLayout(short_records);
  return page;
}

void FieldOptionsEditor::show_page(int index) {
  for (int i = 0; i < tab_strip_->count(); ++i) tab_strip_->widget(i)->setEnabled(i == index);
}

void FieldOptionsEditor::load_values() {
  const SystemSettings& settings = app_.system;
  for (TransferKind transfer : kTransferKinds) {
    for (RecordKind record : kRecordKinds) {
      const std::vector<Row>& record_rows = rows(transfer)[static_cast<int>(record)];
      for (int i = 0; i < static_cast<int>(record_rows.size()); ++i) {
        record_rows[i].name->setText(
            trim_trailing_spaces(settings.field_names.at(transfer, record, i + 1)).toString());
        const bool character = settings.field_kinds.at(transfer, record, i + 1) == u"C";
        record_rows[i].kind->set_value(character ? kCharacterKind : kNumericKind);
      }
    }
  }
}

void FieldOptionsEditor::text_dft_set() {
  const FieldTable builtin = builtin_field_names();
  for (TransferKind transfer : kTransferKinds) {
    for (RecordKind record : kRecordKinds) {
      const std::vector<Row>& record_rows = rows(transfer)[static_cast<int>(record)];
      for (int i = 0; i < static_cast<int>(record_rows.size()); ++i) {
        QString name = trim_trailing_spaces(record_rows[i].name->text()).toString();
        if (name.isEmpty()) name = builtin.at(transfer, record, i + 1);
        record_rows[i].name->setText(name);
      }
    }
  }
}

void FieldOptionsEditor::accept_values() {
  // tbk.ini keeps every name between double quotes with nothing escaped: a quote
  // inside a name would cut it short and shift every later line of the file.
  // The page and the box of the first such name are shown for mending.
  for (int page = 0; page < kTransferKindCount; ++page) {
    const TransferKind transfer = kTransferKinds[page];
    for (RecordKind record : kRecordKinds) {
      const std::vector<Row>& record_rows = rows(transfer)[static_cast<int>(record)];
      for (int i = 0; i < static_cast<int>(record_rows.size()); ++i) {
        const Result<void> checked = check_storable_text(
            field_name_caption(transfer, record, i + 1), record_rows[i].name->text());
        if (checked) continue;
        show_failure(app_, checked.failure());
        tab_strip_->setCurrentIndex(page);
        record_rows[i].name->setFocus();
        return;
      }
    }
  }

  SystemSettings& settings = app_.system;
  for (TransferKind transfer : kTransferKinds) {
    for (RecordKind record : kRecordKinds) {
      const std::vector<Row>& record_rows = rows(transfer)[static_cast<int>(record)];
      QStringList& names = settings.field_names.of(transfer, record);
      QStringList& kinds = settings.field_kinds.of(transfer, record);
      names.resize(record_rows.size());
      kinds.resize(record_rows.size());
      for (int i = 0; i < static_cast<int>(record_rows.size()); ++i) {
        names[i] = record_rows[i].name->text();
        kinds[i] = record_rows[i].kind->currentText() == kCharacterKind ? QStringLiteral("C")
                                                                        : QStringLiteral("N");
      }
    }
  }
  close();
}

void FieldOptionsEditor::on_opened() {
  // The menus keep the company picker shut while this window opens; should it be
  // open anyway, it goes, so that no company is edited against names in change.
  if (app_.host) {
    if (QMdiSubWindow* picker = app_.host->child_frame(QStringLiteral("環境設定切替")))
      picker->close();
  }
}

}  // namespace tsubakuro
