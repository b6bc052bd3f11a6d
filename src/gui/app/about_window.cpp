#include "gui/app/about_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "core/zengin/bank_list.h"
#include "gui/app/version.h"
#include "gui/shell/message_dialogs.h"
#include "gui/shell/system_info.h"

namespace tsubakuro {

AboutWindow::AboutWindow(AppState& app, QWidget* parent, std::function<bool()> start_system_info)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      app_(app),
      start_system_info_(start_system_info ? std::move(start_system_info) : StartSysInfo) {
  setObjectName(QStringLiteral("バージョン情報"));
  setWindowTitle(QStringLiteral("ツバクロのﾊﾞｰｼﾞｮﾝ情報"));
  setModal(true);

  auto* logo = new QLabel(this);
  logo->setObjectName(QStringLiteral("picIcon"));
  logo->setPixmap(product_logo(64));
  logo->setAccessibleName(QStringLiteral("ツバクロのロゴ"));

  auto* title = new QLabel(QStringLiteral("ツバクロ"), this);
  title->setObjectName(QStringLiteral("lblTitle"));
  QFont title_font = title->font();
  title_font.setPointSize(title_font.pointSize() + 6);
  title_font.setBold(true);
  title->setFont(title_font);
  auto* version = new QLabel(version_label(), this);
  version->setObjectName(QStringLiteral("lblVersion"));
  auto* description = new QLabel(
      QStringLiteral("支払一覧から全銀協規定フォーマットの\n振込・振替データを作成します。"), this);
  description->setObjectName(QStringLiteral("lblDescription"));
  const auto banks = shipped_bank_list();
  auto* bank_list =
      new QLabel(QStringLiteral("銀行一覧: %1")
                     .arg(banks ? banks->edition()
                                : QStringLiteral("見つかりません（コードの確認はしません）")),
                 this);
  bank_list->setObjectName(QStringLiteral("lblBankList"));
  for (QLabel* label : {title, version, description, bank_list})
    label->setAccessibleName(label->text());

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setAccessibleName(QStringLiteral("OK"));
  ok->setDefault(true);
  auto* system_info = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
  system_info->setObjectName(QStringLiteral("cmdSysInfo"));
  system_info->setAccessibleName(QStringLiteral("ｼｽﾃﾑ情報..."));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(system_info, &QPushButton::clicked, this, &AboutWindow::show_system_info);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(16, 16, 16, 16);
  grid->setHorizontalSpacing(16);
  grid->addWidget(logo, 0, 0, 4, 1, Qt::AlignTop);
  grid->addWidget(title, 0, 1);
  grid->addWidget(version, 1, 1);
  grid->addWidget(description, 2, 1);
  grid->addWidget(bank_list, 3, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(system_info);
  buttons->addStretch();
  grid->addLayout(buttons, 0, 2, 4, 1);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutWindow::show_system_info() {
  if (!start_system_info_()) {
    show_notice(app_, QStringLiteral("ツバクロ"),
                QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
  }
}

}  // namespace tsubakuro
