#pragma once

#include <QString>

#include "core/settings/notifier.h"

namespace tsubakuro::cli {

// The converter speaks UTF-8 on the terminal, whatever the files hold (CP932).
void print_out(const QString& text);    // standard output, a line end appended
void print_error(const QString& text);  // standard error, a line end appended

// Messages the desktop program shows in a dialog: "title: message" on standard error.
class StderrNotifier : public Notifier {
 public:
  void show_notice(const QString& title, const QString& message) override;
};

}  // namespace tsubakuro::cli
