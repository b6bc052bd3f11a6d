#include "gui/editors/options_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/editors/options_group.h"

namespace tsubakuro {

OptionsPage::OptionsPage(const FieldTable& field_names, QWidget* parent) : QWidget(parent) {
  options_ = new OptionsGroup({.skip_name_check = "Check43",
                               .kana_table = "Text4",
                               .crlf_each_record = "Check41",
                               .credit_20digit = "Check42",
                               .debit = {"Check5(0)", "Check5(1)", "Check5(2)"}},
                              field_names, this);

  copy_button_ = new QPushButton(QStringLiteral("ｼｽﾃﾑ設定  からｺﾋﾟｰ"), this);
  copy_button_->setObjectName(QStringLiteral("Command3"));
  // The style's own hint leaves this long caption touching the frame.
  copy_button_->setMinimumWidth(
      copy_button_->fontMetrics().horizontalAdvance(copy_button_->text()) +
      4 * copy_button_->fontMetrics().averageCharWidth());
  auto* note = new QLabel(
      QStringLiteral(
          "この画面の設定を利用する場合は、システム設定の会社別で設定するにチェックを入れて下さい"),
      this);
  note->setWordWrap(true);

  auto* copy_row = new QHBoxLayout;
  copy_row->addWidget(note, 1);
  copy_row->addWidget(copy_button_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(options_);
  layout->addLayout(copy_row);
  layout->addStretch();
}

}  // namespace tsubakuro
