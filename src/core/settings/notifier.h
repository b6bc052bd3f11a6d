#pragma once

#include <QString>

namespace tsubakuro {

// Where the core hands a message that the user must see: a dialog in the desktop
// program, standard error in the command-line converter, a list in the tests.
class Notifier {
 public:
  virtual ~Notifier() = default;
  virtual void show_notice(const QString& title, const QString& message) = 0;
};

// The outcome of writing a file the user owns. On failure the old file is left
// as it was and `message` says in Japanese what went wrong, naming the file or field.
struct SaveResult {
  bool ok = true;
  QString message;

  static SaveResult failure(QString message) { return {false, std::move(message)}; }
};

}  // namespace tsubakuro
