#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "core/zengin/record_kinds.h"
#include "core/zengin/transfer_date.h"

namespace tsubakuro::cli {

// What the user asked tsubakuro-convert to do. Unset values come from "tbk.ini"
// (company, kind) or from the company's settings (date).
struct ConvertRequest {
  QString directory;  // empty: the current folder
  std::optional<QString> company;
  std::optional<TransferKind> kind;
  std::optional<TransferDate> transfer_date;
  // The banks' rules for this run only; unset ones come from "tsubakuro.ini".
  std::optional<bool> check_characters;
  std::optional<bool> normalize_names;
  std::optional<bool> check_codes;
  // The transfer list of the bank file just written, as a PDF at this path.
  std::optional<QString> list_pdf;
};

// --print-list: the transfer list of a bank file as a PDF, without converting.
struct PrintListRequest {
  QString pdf;
  QString bank_file;
};

// --results: a 振替 file the bank returned, read back instead of a conversion. The
// paths are taken as given, from the folder the command runs in.
struct ResultsRequest {
  std::optional<QString> bank_file;
  std::optional<QString> failed_csv;  // where the records not debited are written
};

struct ParsedCommandLine {
  ConvertRequest request;
  ResultsRequest results;
  bool show_help = false;
  bool show_version = false;
  std::optional<PrintListRequest> print_list;
  QString error;  // a Japanese message when the arguments cannot be used
};

// The arguments after the program's name.
ParsedCommandLine parse_command_line(const QStringList& arguments);

// "0405", "405" refused as ambiguous, "4/5", "04/05", "4-5", "4月5日": the
// month and day as the date prompt would store them, or nothing.
std::optional<TransferDate> parse_transfer_date(const QString& text);

QString help_text();

// The release and the edition of the bank list the conversion checks codes
// against, one per line.
QString version_text();

}  // namespace tsubakuro::cli
