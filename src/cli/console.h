#pragma once

#include <QString>

namespace tsubakuro::cli {

// The converter speaks UTF-8 on the terminal, whatever the files hold (CP932).
void print_out(const QString& text);    // standard output, a line end appended
void print_error(const QString& text);  // standard error, a line end appended

}  // namespace tsubakuro::cli
