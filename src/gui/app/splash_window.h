#pragma once

#include <QDialog>

namespace tsubakuro {

// 見出し: the product name, version and logo while the program starts. It goes
// away by itself after three seconds, or at once on a key or a click.
class SplashWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kShowMilliseconds = 3000;

  explicit SplashWindow(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace tsubakuro
