#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "core/text/result.h"
#include "core/text/write_notation.h"

namespace tsubakuro {

// The whole text of a settings file, decoded from CP932. A settings file is a few
// kilobytes; only the first megabyte of a stray huge file is looked at, so a wrong
// file can never exhaust memory.
Result<QString> read_settings_text(const QString& file_name);

// Writes `text` in CP932 to a temporary file beside `file_name` and renames it
// over, so the previous file survives any failure. The text must be storable
// (see check_storable_text).
Result<void> write_settings_file(const QString& file_name, const QString& text);

// A number value of a settings file, rounded and held within int; text that is
// no number reads as 0.
int settings_integer(QStringView item);
// A flag value: check boxes give 0 or 1, and every reader of a flag asks whether
// it is 1, so anything else reads as off.
bool settings_flag(QStringView item);

// The two settings files are one list of values each, in a fixed order. Each file
// spells its order once, as a function that hands every value to a visitor's text,
// flag, integer and length; these two visitors read and write them.

// Reads the values in order. Once the file has ended, every later value keeps the
// one it had, so a file cut short leaves the rest of the settings as they were.
class SettingsItemReader {
 public:
  explicit SettingsItemReader(QString text) : reader_(std::move(text)) {}

  // The next item, or nothing once the file has ended.
  std::optional<QString> next() {
    if (reader_.at_end()) return std::nullopt;
    ++items_read_;
    return reader_.read_item();
  }
  // How many values the file held, so far: a caller can tell a file cut short.
  int items_read() const { return items_read_; }
  void text(QString& value) {
    if (auto item = next()) value = *item;
  }
  void flag(bool& value) {
    if (auto item = next()) value = settings_flag(*item);
  }
  void integer(int& value) {
    if (auto item = next()) value = settings_integer(*item);
  }
  // An empty line is a length never set.
  void length(std::optional<int>& value) {
    if (auto item = next())
      value = item->isEmpty() ? std::nullopt : std::optional(settings_integer(*item));
  }

 private:
  WriteNotationReader reader_;
  int items_read_ = 0;
};

// Writes the values in order; flags as 0 and 1, a length never set as an empty line.
class SettingsItemWriter {
 public:
  void text(const QString& value) { writer_.write_text(value); }
  void flag(bool value) { writer_.write_number(value ? 1 : 0); }
  void integer(int value) { writer_.write_number(value); }
  void length(const std::optional<int>& value) {
    if (value)
      writer_.write_number(*value);
    else
      writer_.write_empty();
  }
  const QString& file_text() const { return writer_.text(); }

 private:
  WriteNotationWriter writer_;
};

// Whether `text` can be stored as one quoted value of a settings file; the failure
// names `caption`. Nothing in the file is escaped, so a double quote or a line
// break would end the value early, and a character CP932 lacks would be lost.
Result<void> check_storable_text(const QString& caption, QStringView text);

}  // namespace tsubakuro
