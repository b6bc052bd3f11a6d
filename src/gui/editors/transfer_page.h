#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <memory>

#include "core/settings/company_settings.h"
#include "core/zengin/bank_list.h"
#include "core/zengin/field_dictionary.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tsubakuro {

class ChoiceList;

// One page of 環境設定 for one transfer kind: the files, the use flag, the fixed
// header values, the input column of every data field and the rows to skip. The
// 振込 and 振替 pages are alike but for the names of their controls. Beside the
// bank and branch codes of the header it names the bank and branch the list
// knows by them, fills their kana names while those are empty, and offers the
// bank list's 銀行検索.
class TransferPage : public QWidget {
  Q_OBJECT

 public:
  TransferPage(TransferKind kind, QWidget* parent = nullptr);

  // Labels the header and body rows with the working field names.
  void label_rows(const FieldTable& field_names);
  void fill(const TransferSettings& section);
  void store(TransferSettings& section) const;

  TransferKind kind() const { return kind_; }
  // The list of data field `number` (2 to 15).
  ChoiceList* body_list(int number) const { return body_lists_[number - 2]; }
  QPushButton* browse_button(int index) const { return browse_buttons_[index]; }
  QLineEdit* file_box(int index) const { return file_boxes_[index]; }
  QLineEdit* header_box(int index) const { return header_boxes_[index]; }
  QPushButton* bank_search_button() const { return bank_search_button_; }
  // Asks 銀行検索 for a bank and branch and puts both codes and kana names in.
  void search_bank();

 private:
  TransferKind kind_;
  std::array<QLineEdit*, 2> file_boxes_{};
  std::array<QPushButton*, 2> browse_buttons_{};
  QCheckBox* use_check_ = nullptr;
  std::array<QLabel*, kHeaderValueCount> header_labels_{};
  std::array<QLineEdit*, kHeaderValueCount> header_boxes_{};
  std::array<QLabel*, kBodyColumnCount> body_labels_{};
  std::array<ChoiceList*, kBodyColumnCount> body_lists_{};
  ChoiceList* skip_rows_list_ = nullptr;
  QCheckBox* footer_check_ = nullptr;

  // 0 the bank, 1 the branch.
  void code_edited(int which);
  void show_bank_hints();
  std::shared_ptr<const BankList> bank_list_;
  std::array<QLabel*, 2> bank_hints_{};
  // The kana name each code last filled in: replaced while it stands unchanged,
  // so typing a code digit by digit does not leave the name of a code on the way.
  std::array<QString, 2> filled_names_{};
  QPushButton* bank_search_button_ = nullptr;
};

}  // namespace tsubakuro
