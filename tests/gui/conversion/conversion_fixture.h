#pragma once

#include <gtest/gtest.h>
#include <QList>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

#include "gui/app/main_window.h"
#include "gui/shell/app_state.h"
#include "test_support.h"

namespace tsubakuro::testing {

struct Notice {
  QString title;
  QString message;
  bool operator==(const Notice&) const = default;
};
void PrintTo(const Notice& notice, std::ostream* out);

// Answers every message dialog ("確認メッセージ") with its "OK" as soon as it is up,
// from inside its own event loop, and keeps what it said.
class NoticeAnswerer {
 public:
  NoticeAnswerer();
  QList<Notice> notices;
  // Runs inside the dialog's event loop before it is answered.
  std::function<void(const Notice&)> on_notice;

 private:
  void answer();
  QTimer poll_;
};

// Lets events run until `condition` holds; false after `timeout_ms`.
bool wait_until(const std::function<bool()>& condition, int timeout_ms = 60'000);

// Runs build/tsubakuro-convert with `arguments` in `folder`; its exit status.
int run_tsubakuro_convert(const QStringList& arguments, const QString& folder);

// The desktop program in a fresh working folder that holds the sample company,
// with サンプル商事 chosen as the company switch would choose it.
class ConversionWindowTest : public ::testing::Test {
 protected:
  static const QString kCompany;

  void SetUp() override;
  void TearDown() override;

  // A child window of the main window by name, or nullptr.
  QWidget* child(const QString& name) const;
  QPushButton* button(QWidget* window, const QString& name) const;
  void click(QWidget* window, const QString& name) const;

  // 変換処理 on the toolbar; the date prompt once it is up.
  QWidget* open_date_prompt();
  // Types the date into the open date prompt and presses 変換開始.
  void start_conversion(const QString& month, const QString& day);
  // Waits until neither conversion window is open any more.
  bool wait_for_conversion_end(int timeout_ms = 60'000);

  std::unique_ptr<ScopedWorkingDir> dir_;
  AppState app_;
  std::unique_ptr<MainWindow> main_;
  NoticeAnswerer answerer_;
};

}  // namespace tsubakuro::testing
