#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <optional>

#include "core/zengin/bank_list.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace tsubakuro {

// A bank and branch picked from the bank list, as the header values take them.
struct BankChoice {
  QString bank_code;
  QString bank_kana;
  QString branch_code;  // empty for a bank the list gives no branch
  QString branch_kana;
};

// 銀行検索: finds a bank, then one of its branches, by code or by the beginning
// of the kana, hiragana or kanji name, and answers with both codes and kana names.
class BankSearchWindow : public QDialog {
  Q_OBJECT

 public:
  // Opens on the bank and branch of the given codes when the list knows them.
  BankSearchWindow(std::shared_ptr<const BankList> list, const QString& bank_code,
                   const QString& branch_code, QWidget* parent = nullptr);

  // Shows the window modally; the choice when the user pressed OK.
  static std::optional<BankChoice> choose(std::shared_ptr<const BankList> list,
                                          const QString& bank_code, const QString& branch_code,
                                          QWidget* parent);

  // The bank and branch selected now, when they make a choice.
  std::optional<BankChoice> choice() const;

 private:
  void show_banks(const QString& keep_code);
  void show_branches(const QString& keep_code);
  void update_ok();
  QString selected_code(const QTreeWidget* list) const;

  std::shared_ptr<const BankList> list_;
  QLineEdit* bank_query_ = nullptr;
  QTreeWidget* bank_list_ = nullptr;
  QLineEdit* branch_query_ = nullptr;
  QTreeWidget* branch_list_ = nullptr;
  QPushButton* ok_button_ = nullptr;
};

}  // namespace tsubakuro
