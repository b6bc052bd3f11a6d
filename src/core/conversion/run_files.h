#pragma once

#include <QString>

#include "core/text/result.h"

namespace tsubakuro {

// The file a run reads for a configured input path: a workbook's rows come from
// "tbk.tmp" in the working folder.
QString run_input_file(const QString& configured_path);

// The files a conversion reads and writes, checked before anything is written.

// A payment list must be an ordinary file: a named pipe would block the run for
// ever and a device (/dev/urandom) would fill the disk, so both are refused at
// once, as is a folder, each named for what it is.
Result<void> check_input_file(const QString& path);

// What `path` is when it is there but no ordinary file ("フォルダ", "デバイス", ...);
// empty for an ordinary file or nothing at all. The bank file and the log are
// written beside their old selves and renamed into place, which must never
// happen to a device.
QString special_file_kind(const QString& path);

// The bank file must not land on a file the user keeps: the payment list itself,
// the workbook's "tbk.tmp", the settings files of the working folder, the
// company's log, or the payment list of either kind that any company's settings
// file names; nor on a folder or a device. Paths are compared once resolved ("./x",
// "../folder/x" and links count), so no spelling of the path gets round it; any other place, on any
// drive, stays allowed.
Result<void> check_output_file(const QString& output, const QString& configured_input,
                               const QString& run_input, const QString& log_file);

// The name a run's bank file or log waits under, beside `path`, in the moment
// between the two renames that put them in place.
QString pending_file_name(const QString& path);

// Finishes what a run stopped between its two renames left: the new log pending
// while its bank file is already in place is put in place too. Any other pending
// file is a run stopped sooner, whose old pair still stands, and is removed. Call
// it only while the company's conversion is claimed.
void settle_pending_pair(const QString& output, const QString& log);

}  // namespace tsubakuro
