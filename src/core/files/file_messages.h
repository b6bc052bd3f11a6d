#pragma once

#include <QString>

namespace tsubakuro {

// The texts a user is shown about the files the program writes whole.

// A file that could not be written whole; the previous one is still there.
QString unsaved_file_message(const QString& file_name);

}  // namespace tsubakuro
