#include "gui/editors/bank_search_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace tsubakuro {
namespace {

enum Column { kCodeColumn = 0, kKanaColumn = 1, kNameColumn = 2 };

QTreeWidget* new_entry_list(const QString& name, const QString& accessible,
                            const QString& name_heading, QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  list->setObjectName(name);
  list->setAccessibleName(accessible);
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setAllColumnsShowFocus(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setHeaderLabels({QStringLiteral("コード"), QStringLiteral("カナ"), name_heading});
  list->header()->setStretchLastSection(true);
  list->setColumnWidth(kCodeColumn,
                       list->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
  list->setColumnWidth(kKanaColumn,
                       list->fontMetrics().horizontalAdvance(QString(16, QChar(u'ﾊ'))) + 12);
  return list;
}

void fill_list(QTreeWidget* list, const QList<BankListEntry>& entries, const QString& keep_code) {
  list->setUpdatesEnabled(false);
  list->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(entries.size());
  QTreeWidgetItem* kept = nullptr;
  for (const BankListEntry& entry : entries) {
    auto* item = new QTreeWidgetItem(
        QStringList{entry.code.toString(), entry.kana.toString(), entry.name.toString()});
    if (entry.code == keep_code) kept = item;
    items.append(item);
  }
  list->addTopLevelItems(items);
  // The one match of a narrow search is what the user looked for.
  if (!kept && items.size() == 1) kept = items.front();
  if (kept) {
    list->setCurrentItem(kept);
    list->scrollToItem(kept, QAbstractItemView::PositionAtCenter);
  }
  list->setUpdatesEnabled(true);
}

}  // namespace

BankSearchWindow::BankSearchWindow(std::shared_ptr<const BankList> list, const QString& bank_code,
                                   const QString& branch_code, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      list_(std::move(list)) {
  setObjectName(QStringLiteral("銀行検索"));
  setWindowTitle(QStringLiteral("銀行検索"));
  setModal(true);

  bank_query_ = new QLineEdit(this);
  bank_query_->setObjectName(QStringLiteral("txtBank"));
  bank_query_->setAccessibleName(QStringLiteral("銀行の検索"));
  bank_query_->setPlaceholderText(QStringLiteral("コード・カナ・ひらがな・漢字の始め"));
  bank_query_->setClearButtonEnabled(true);
  auto* bank_label = new QLabel(QStringLiteral("銀行(&B)"), this);
  bank_label->setBuddy(bank_query_);
  bank_list_ = new_entry_list(QStringLiteral("lstBank"), QStringLiteral("銀行"),
                              QStringLiteral("銀行名"), this);

  branch_query_ = new QLineEdit(this);
  branch_query_->setObjectName(QStringLiteral("txtBranch"));
  branch_query_->setAccessibleName(QStringLiteral("支店の検索"));
  branch_query_->setPlaceholderText(bank_query_->placeholderText());
  branch_query_->setClearButtonEnabled(true);
  auto* branch_label = new QLabel(QStringLiteral("支店(&R)"), this);
  branch_label->setBuddy(branch_query_);
  branch_list_ = new_entry_list(QStringLiteral("lstBranch"), QStringLiteral("支店"),
                                QStringLiteral("支店名"), this);

  auto* edition =
      new QLabel(list_ ? QStringLiteral("銀行一覧: %1").arg(list_->edition()) : QString(), this);
  edition->setObjectName(QStringLiteral("lblEdition"));
  edition->setAccessibleName(edition->text());
  edition->setEnabled(false);

  ok_button_ = new QPushButton(QStringLiteral("OK"), this);
  ok_button_->setObjectName(QStringLiteral("cmdOK"));
  ok_button_->setAccessibleName(QStringLiteral("OK"));
  ok_button_->setDefault(true);
  auto* cancel_button = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel_button->setObjectName(QStringLiteral("cmdCancel"));
  cancel_button->setAccessibleName(QStringLiteral("ｷｬﾝｾﾙ"));
  connect(ok_button_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_button, &QPushButton::clicked, this, &QDialog::reject);

  auto* grid = new QGridLayout(this);
  grid->addWidget(bank_label, 0, 0);
  grid->addWidget(bank_query_, 0, 1);
  grid->addWidget(bank_list_, 1, 0, 1, 2);
  grid->addWidget(branch_label, 2, 0);
  grid->addWidget(branch_query_, 2, 1);
  grid->addWidget(branch_list_, 3, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(edition, 1);
  buttons->addWidget(ok_button_);
  buttons->addWidget(cancel_button);
  grid->addLayout(buttons, 4, 0, 1, 2);
  grid->setRowStretch(1, 1);
  grid->setRowStretch(3, 2);
  resize(560, 560);

  connect(bank_query_, &QLineEdit::textChanged, this,
          [this] { show_banks(selected_code(bank_list_)); });
  // Another bank starts with no branch chosen.
  connect(bank_list_, &QTreeWidget::currentItemChanged, this, [this] { show_branches({}); });
  connect(branch_query_, &QLineEdit::textChanged, this,
          [this] { show_branches(selected_code(branch_list_)); });
  connect(branch_list_, &QTreeWidget::currentItemChanged, this, [this] { update_ok(); });
  connect(branch_list_, &QTreeWidget::itemActivated, this, [this] {
    if (ok_button_->isEnabled()) accept();
  });
  connect(bank_list_, &QTreeWidget::itemActivated, this, [this] { branch_query_->setFocus(); });

  show_banks(bank_code);
  show_branches(branch_code);
  bank_query_->setFocus();
}

std::optional<BankChoice> BankSearchWindow::choose(std::shared_ptr<const BankList> list,
                                                   const QString& bank_code,
                                                   const QString& branch_code, QWidget* parent) {
  BankSearchWindow window(std::move(list), bank_code, branch_code, parent);
  if (window.exec() != QDialog::Accepted) return std::nullopt;
  return window.choice();
}

QString BankSearchWindow::selected_code(const QTreeWidget* list) const {
  const QTreeWidgetItem* item = list->currentItem();
  return item ? item->text(kCodeColumn) : QString();
}

void BankSearchWindow::show_banks(const QString& keep_code) {
  fill_list(bank_list_, list_ ? list_->find_banks(bank_query_->text()) : QList<BankListEntry>{},
            keep_code);
}

void BankSearchWindow::show_branches(const QString& keep_code) {
  const QString bank = selected_code(bank_list_);
  fill_list(branch_list_,
            list_ && !bank.isEmpty() ? list_->find_branches(bank, branch_query_->text())
                                     : QList<BankListEntry>{},
            keep_code);
  update_ok();
}

void BankSearchWindow::update_ok() { ok_button_->setEnabled(choice().has_value()); }

std::optional<BankChoice> BankSearchWindow::choice() const {
  const QTreeWidgetItem* bank = bank_list_->currentItem();
  if (!bank || !list_) return std::nullopt;
  BankChoice chosen{bank->text(kCodeColumn), bank->text(kKanaColumn), {}, {}};
  if (const QTreeWidgetItem* branch = branch_list_->currentItem()) {
    chosen.branch_code = branch->text(kCodeColumn);
    chosen.branch_kana = branch->text(kKanaColumn);
    return chosen;
  }
  // A bank the list gives no branch can still be chosen on its own.
  if (list_->find_branches(chosen.bank_code, u"", 1).isEmpty()) return chosen;
  return std::nullopt;
}

}  // namespace tsubakuro
