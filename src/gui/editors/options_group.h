#pragma once

#include <QWidget>
#include <array>

#include "core/settings/conversion_options.h"
#include "core/zengin/field_dictionary.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace tsubakuro {

// The names the option controls carry in the window that shows them.
struct OptionControlNames {
  const char* skip_name_check;
  const char* kana_table;
  const char* crlf_each_record;
  const char* credit_20digit;
  // 振替: twenty digits, trailer zeros, data zero.
  std::array<const char*, 3> debit;
};

// The three groups (共通, 振込, 振替) that show one set of conversion options: the
// system's in システム設定, a company's own copy on the 共通 page of 環境設定. The
// record lengths are option buttons Option1(0..5), in the order of kRecordLengths.
class OptionsGroup : public QWidget {
  Q_OBJECT

 public:
  // Captions that name fields follow the working field names.
  OptionsGroup(const OptionControlNames& names, const FieldTable& field_names,
               QWidget* parent = nullptr);

  // A length the bank files do not know is shown, and so stored, as the plain 120.
  void show_options(const ConversionOptions& options);
  // Every option from the controls; the length is always one of kRecordLengths.
  ConversionOptions options() const;

  QLineEdit* kana_table_box() const { return kana_table_; }
  bool credit_20digit() const;
  bool debit_20digit() const;
  bool debit_data_zero() const;

 private:
  QCheckBox* skip_name_check_ = nullptr;
  QLineEdit* kana_table_ = nullptr;
  QCheckBox* crlf_check_ = nullptr;
  QButtonGroup* record_lengths_ = nullptr;  // each button's id is its length
  QCheckBox* credit_20digit_ = nullptr;
  QCheckBox* debit_20digit_ = nullptr;
  QCheckBox* debit_trailer_zero_ = nullptr;
  QCheckBox* debit_data_zero_ = nullptr;
};

}  // namespace tsubakuro
