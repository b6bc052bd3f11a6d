#include "gui/editors/company_editor.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <optional>

#include "core/settings/company_name.h"
#include "gui/editors/options_group.h"
#include "gui/editors/options_page.h"
#include "gui/editors/transfer_page.h"
#include "gui/shell/choice_list.h"
#include "gui/shell/file_chooser.h"
#include "gui/shell/message_dialogs.h"
#include "gui/shell/scrolling_content.h"

namespace tsubakuro {

CompanyEditor::CompanyEditor(AppState& app, EditMode mode, const QString& company, QWidget* parent)
    : ChildWindow(app, WindowSlot::CompanyEditor, parent),
      mode_(mode),
      company_(company),
      settings_(app.company) {
  setObjectName(QStringLiteral("環境設定"));
  const bool new_mode = mode_ == EditMode::New;

  tabs_ = new QTabBar(this);
  tabs_->setObjectName(QStringLiteral("TabStrip1"));
  tabs_->setExpanding(false);
  for (const char16_t* caption : {u"振込", u"振替", u"共通"}) {
    tabs_->addTab(QString::fromUtf16(caption));
  }
  credit_page_ = new TransferPage(TransferKind::Credit, this);
  debit_page_ = new TransferPage(TransferKind::Debit, this);
  options_page_ = new OptionsPage(app_.system.field_names, this);
  pages_ = new QStackedWidget(this);
  pages_->addWidget(credit_page_);
  pages_->addWidget(debit_page_);
  pages_->addWidget(options_page_);

  auto* cancel_button = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel_button->setObjectName(QStringLiteral("Command2(0)"));
  auto* save_button =
      new QPushButton(new_mode ? QStringLiteral("登録") : QStringLiteral("更新"), this);
  save_button->setObjectName(QStringLiteral("Command2(1)"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(save_button);
  buttons->addWidget(cancel_button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(new ScrollingContent(pages_), 1);
  layout->addLayout(buttons);

  setWindowTitle(new_mode ? QStringLiteral("環境設定（新規）")
                          : QStringLiteral("環境設定（変更）：") + company_);
  show_page(0);

  for (TransferPage* page : {credit_page_, debit_page_}) {
    page->label_rows(app_.system.field_names);
  }
  if (!new_mode) {
    if (Result<LoadedCompanySettings> loaded = load_company_settings(company_, settings_))
      settings_ = std::move(loaded->settings);
    else
      show_failure(app_, loaded.failure());
    credit_page_->fill(settings_.credit);
    debit_page_->fill(settings_.debit);
  }
  options_page_->options()->show_options(settings_.options);
  apply_merged_field_rule();

  connect(tabs_, &QTabBar::currentChanged, this, &CompanyEditor::show_page);
  for (TransferPage* page : {credit_page_, debit_page_}) {
    for (int box = 0; box < 2; ++box) {
      connect(page->browse_button(box), &QPushButton::clicked, this,
              [this, page, box] { browse(page, box); });
    }
  }
  connect(options_page_->copy_button(), &QPushButton::clicked, this,
          [this] { options_page_->options()->show_options(app_.system.options); });
  connect(save_button, &QPushButton::clicked, this, &CompanyEditor::save_clicked);
  connect(cancel_button, &QPushButton::clicked, this, [this] { close(); });
}

void CompanyEditor::show_page(int index) {
  pages_->setCurrentIndex(index);
  for (int i = 0; i < pages_->count(); ++i) pages_->widget(i)->setEnabled(i == index);
  if (app_.system.company_specific) apply_merged_field_rule();
}

void CompanyEditor::apply_merged_field_rule() {
  QComboBox* credit_field13 = credit_page_->body_list(13);
  QComboBox* debit_field13 = debit_page_->body_list(13);
  QComboBox* debit_field14 = debit_page_->body_list(14);
  if (app_.system.company_specific) {
    credit_field13->setEnabled(!options_page_->options()->credit_20digit());
    debit_field13->setEnabled(!options_page_->options()->debit_20digit());
    debit_field14->setEnabled(!options_page_->options()->debit_data_zero());
    return;
  }
  // The system's options cannot change while this window is open.
  if (app_.system.options.credit_20digit) credit_field13->setEnabled(false);
  if (app_.system.options.debit_20digit) debit_field13->setEnabled(false);
  if (app_.system.options.debit_data_zero) debit_field14->setEnabled(false);
}

void CompanyEditor::browse(TransferPage* page, int box) {
  if (const std::optional<QString> chosen = FileChooser::choose(app_, this))
    page->file_box(box)->setText(*chosen);
}

void CompanyEditor::save_clicked() {
  CompanySettings edited = settings_;
  credit_page_->store(edited.credit);
  debit_page_->store(edited.debit);
  edited.options = options_page_->options()->options();
  if (const Result<void> checked = check_company_settings(edited, app_.system.field_names);
      !checked) {
    show_failure(app_, checked.failure());
    return;
  }
  QString name = company_;
  if (mode_ == EditMode::New) {
    name = ask_new_name();
    if (name.isEmpty()) return;
  } else if (!ask_confirm(app_, QStringLiteral("保存確認"), QStringLiteral("保存しますか？"))) {
    return;
  }
  if (const Result<void> saved = save_company_settings(name, edited); !saved) {
    show_failure(app_, saved.failure());
    return;
  }
  // The current company's record follows its file, so a conversion started now
  // shows what was just saved.
  if (name == app_.system.current_company) app_.company = edited;
  close();
}

QString CompanyEditor::ask_new_name() {
  for (;;) {
    const QString name =
        ask_text(app_, QStringLiteral("新規登録"), QStringLiteral("登録名称を入力してください。"),
                 check_entered_company_name);
    if (name.isEmpty()) return {};
    const Result<QString> file = company_settings_file(name);
    if (file && QFileInfo::exists(*file) &&
        !ask_confirm(app_, QStringLiteral("存在確認"), QStringLiteral("上書きしますか？"))) {
      continue;
    }
    return name;
  }
}

}  // namespace tsubakuro
