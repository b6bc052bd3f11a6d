#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringView>
#include <optional>
#include <span>

#include "core/records/built_record.h"
#include "core/settings/bank_rules_settings.h"
#include "core/zengin/record_layout.h"

namespace tsubakuro {

class FieldChecker;

// Lays the fields of one record down in order, fitting each to its width in
// bytes. Widths count characters, and the checks keep a record to one-byte
// characters; but a field the checks let through (a name when the name check is
// skipped, a field whose kind the user blanked) may hold two-byte characters.
// Such a field is cut at a character boundary and filled with spaces, so every
// later field keeps its byte position and the bank reads the right amount and
// account; the cut, or a character CP932 cannot hold, fails the field.
class RecordAssembler {
 public:
  RecordAssembler(TransferKind transfer, RecordKind record, const FieldChecker& checker,
                  BankRules bank_rules = {});

  // Puts the next field (fields come in order from 1) and returns its number.
  int put(QStringView text);
  // Puts the next field and applies the field check of its working kind.
  void put_checked(QStringView text);
  // A zero-right field of its layout width, checked; a value too long for it keeps
  // its rightmost characters, so later fields hold their places, but when the
  // cut drops anything but leading zeros the field fails whatever its kind.
  void put_digits(QStringView value);
  // put_checked, or put when `check` is false (the name check skipped).
  void put_checked_if(bool check, QStringView text);
  // Puts a name field (company, bank, branch, account holder), space-filled to its
  // width and cut by name_kept_length. With the banks' rules on it is mended before
  // it is fitted and checked by their rule, which takes the place of the field's
  // kind; otherwise it is checked by its kind when `kind_check`. A mended name is
  // logged as the field holds it, and with any rule on a name that was cut is
  // noted. Returns the field as written, without its trailing blanks.
  QString put_name(QStringView value, bool kind_check);
  // Why put_name would fail `value` in the next field ("使えない文字「ｦ」",
  // "カナテーブルにない文字「-」"), or nothing: a name the build fills in itself
  // must pass the checks in force before it is put.
  std::optional<QString> name_failure(QStringView value, bool kind_check) const;
  // Puts a code field that passes only when `accepted`.
  void put_code(QStringView text, bool accepted);
  void fail(int field);
  void fail(int field, const QString& reason);
  // Tells the log that `field` holds `corrected` where `original` was given.
  void correct(int field, const QString& corrected, const QString& original);
  void note_difference(NameDifference difference);
  void note(NameNotice notice);
  // The number the next put field gets.
  int next_field() const { return next_field_; }
  // The width of `field` in the record's layout.
  int width(int field) const { return layout_[field - 1].width; }
  // `value` padded to the next field's width the way its layout pads it
  // (zero-right or space-left; a fixed field as given), so no builder spells a
  // width or a padding of its own.
  QString fitted(QStringView value) const;
  // True when fitted(value) keeps the whole value: a space-left field drops nothing
  // but trailing blanks, a zero-right one nothing but leading zeros. A code cut to
  // its width ("210" as "21") is another code, and fails.
  bool fits(QStringView value) const;
  // put_checked(fitted(value)), failing the field as well when the value does not
  // fit.
  void put_fitted(QStringView value);
  // Applies the field check of `field` to `text`: true when it fails.
  bool check_fails(QStringView text, int field) const;

  BuiltRecord finish();

 private:
  // Puts the next field as `text` fits its width in bytes; a name never keeps a
  // kana whose voicing mark the cut dropped.
  int put_field(QStringView text, bool name);
  // A name as put_name mends it, before the cut.
  QString prepared_name(QStringView value) const;
  struct NameCheck {
    bool fails = false;
    QString reason;
  };
  // The check put_name applies to a fitted name in `field`.
  NameCheck check_name(QStringView name, int field, bool kind_check) const;

  std::span<const FieldLayout> layout_;
  const FieldChecker& checker_;
  const BankRules bank_rules_;
  int part_;
  int next_field_ = 1;
  quint32 failed_mask_ = 0;
  QByteArray bytes_;
  QMap<int, QString> failure_reasons_;
  QList<FieldCorrection> corrections_;
  QList<NameDifference> name_differences_;
  QList<NameNotice> name_notices_;
};

}  // namespace tsubakuro
