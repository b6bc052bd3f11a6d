#pragma once

#include <QString>

namespace tsubakuro {

struct WorkbookKind;

// Every text the workbook area shows a user. Each names the workbook by its file
// name, and a workbook kind by the label of its row in workbook_kind.cpp, so the
// program's own reader and the office suite speak of a workbook alike.

// How a message names a kind of workbook; a path naming none is a "表計算のブック".
QString workbook_kind_label(const WorkbookKind* kind);

// The routes that do not simply go on.
// The reader that made a workbook's rows: the user may want to know whether the
// office suite, which recalculates on opening, took part.
enum class WorkbookReader { Program, OfficeSuite };
QString workbook_read_by_notice(WorkbookReader reader);

// Said while a workbook becomes the rows a run reads.
QString reading_workbook_notice(const QString& workbook);
QString exported_by_hand_notice(const QString& workbook);
QString exported_by_hand_missing_message(const QString& workbook);
// A workbook whose formula results were not saved with it.
QString formula_results_missing_message(const QString& workbook);
QString refused_workbook_message(const QString& workbook);

// A file that is not the workbook its name says it is.
QString not_a_workbook_message(const QString& workbook, const WorkbookKind* kind);

// Why a conversion of the workbook into `target` failed.
QString no_temporary_file_message(const QString& workbook);
QString no_temporary_folder_message(const QString& workbook);
QString unwritable_target_message(const QString& target, const QString& workbook);
QString suite_not_started_message(const QString& workbook);
QString suite_time_limit_message(const QString& workbook, int seconds);
QString suite_failed_message(const QString& workbook, const WorkbookKind* kind);

// The program's own reader gave up on the workbook for `reason`, one of those below;
// the second form is said when no office suite is there to try it instead.
QString refused_read_message(const QString& workbook, const QString& reason);
QString refused_read_without_suite_message(const QString& refused_read_message);

// The reader found the workbook damaged, or past a size no payment list has, for
// `reason`: final, the office suite is not asked.
QString damaged_workbook_message(const QString& workbook, const QString& reason);

// A formula computed on the day of conversion needs the office suite; without it
// the workbook is refused with this.
QString volatile_function_without_suite_message(const QString& workbook, const QString& function);

// Why the program's own reader leaves a workbook to the office suite.
enum class ReadRefusal {
  NotAnArchive,
  NotASpreadsheet,
  NoWorkbookPart,
  NoWorksheet,
  CellsOutOfOrder,
  TooManyRows,
  TooManyColumns,
  TooManyStrings,
  BadSharedString,
  NotANumber,
  BadDate,
  BadTime,
  DateOutOfRange,
  TimeOfTwentyFourHours,
  UnknownNumberFormat,
  FormulaError,
  UnknownDateOrder,
  UnwritableTemporaryFile,
  DuplicateMembers,
  DuplicateRelationships,
  SheetWithoutRelationship,
  RowsOutOfOrder,
  ArrayFormula,
  UnknownBoolean,
  UnknownCellStyle,
  TextTooLong,
  ElementInValue,
  ArchiveCutShort,
  TooManyStyles,
};
QString read_refusal_reason(ReadRefusal refusal);
QString missing_member_reason(const QString& member);
QString broken_member_reason(const QString& member);
QString unknown_cell_type_reason(const QString& type);
QString cell_too_long_reason(const QString& member);
QString doctype_reason(const QString& member);
QString too_large_member_reason(const QString& member);
QString volatile_function_reason(const QString& function);

}  // namespace tsubakuro
