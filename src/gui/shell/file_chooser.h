#pragma once

#include <QDialog>
#include <QString>
#include <optional>

#include "gui/shell/app_state.h"

class QComboBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tsubakuro {

// ファイル選択: picks a file through a drive, a directory and a file list, and answers
// with the full path. Every way out other than "OK" (ｷｬﾝｾﾙ, Esc, the close box)
// answers nothing.
class FileChooser : public QDialog {
  Q_OBJECT

 public:
  explicit FileChooser(AppState& app, QWidget* parent = nullptr);

  // Shows the chooser modally and gives its answer.
  static std::optional<QString> choose(AppState& app, QWidget* parent);

  // The path "OK" composed; nothing before that or after any other way out.
  const std::optional<QString>& chosen() const { return chosen_; }

  // The directory list's folder, the one OK gives.
  QString directory() const { return directory_; }

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void choose_drive(int index);
  void activate_directory(QListWidgetItem* item);
  // Moves the directory and file lists to `path`; an unreadable folder is told and
  // the lists stay where they were. Returns whether the move happened.
  bool show_directory(const QString& path);
  void accept_choice();
  // The drive in Drive1 whose volume holds `path` (the deepest mount), or -1.
  int drive_index_of(const QString& path) const;
  QString selected_file() const;

  AppState& app_;
  QComboBox* drive_list_ = nullptr;
  QListWidget* dir_list_ = nullptr;
  QListWidget* file_list_ = nullptr;
  QPushButton* ok_button_ = nullptr;
  QPushButton* cancel_button_ = nullptr;
  QString directory_;
  std::optional<QString> chosen_;
  int shown_drive_ = -1;
  bool opened_ = false;
  bool closed_ = false;
};

// P followed by F, with one separator of the platform between them when P does not
// already end in one.
QString compose_chosen_path(const QString& directory, const QString& file);

}  // namespace tsubakuro
