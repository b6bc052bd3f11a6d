#include "gui/app/splash_window.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/app/version.h"

namespace tsubakuro {

namespace {

QLabel* add_label(QWidget* parent, const char* name, const QString& text, int point_size,
                  bool bold = false) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setAccessibleName(text);
  QFont font = label->font();
  font.setPointSize(point_size);
  font.setBold(bold);
  label->setFont(font);
  return label;
}

}  // namespace

SplashWindow::SplashWindow(QWidget* parent)
    // A tool window stays out of the task bar. Not Qt::SplashScreen: showing one
    // runs pending events before exec() has its loop, and a key or click taken
    // then would close the window with nothing left to end exec().
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("見出し"));
  setWindowTitle(QStringLiteral("ツバクロ"));
  setModal(true);

  auto* frame = new QFrame(this);
  frame->setObjectName(QStringLiteral("Frame1"));
  frame->setFrameShape(QFrame::Box);
  frame->setLineWidth(2);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(frame);

  auto* logo = new QLabel(frame);
  logo->setObjectName(QStringLiteral("imgLogo"));
  logo->setPixmap(product_logo(128));
  logo->setAccessibleName(QStringLiteral("ツバクロのロゴ"));

  QLabel* company_product = add_label(frame, "lblCompanyProduct",
                                      QStringLiteral("全銀協規定フォーマット変換　ツバクロ"), 10);
  QLabel* product = add_label(frame, "lblProductName", QStringLiteral("ツバクロ"), 32, true);
  QLabel* version = add_label(frame, "lblVersion", version_label(), 11);
  QLabel* platform = add_label(frame, "lblPlatform", QStringLiteral("振込・振替データ作成"), 10);
  version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  platform->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  auto* grid = new QGridLayout(frame);
  grid->setContentsMargins(24, 24, 24, 24);
  grid->setHorizontalSpacing(24);
  grid->addWidget(logo, 0, 0, 4, 1, Qt::AlignCenter);
  grid->addWidget(company_product, 0, 1);
  grid->addWidget(product, 1, 1);
  grid->addWidget(platform, 2, 1);
  grid->addWidget(version, 3, 1);

  auto* timer = new QTimer(this);
  timer->setObjectName(QStringLiteral("Timer1"));
  timer->setSingleShot(true);
  timer->setInterval(kShowMilliseconds);
  connect(timer, &QTimer::timeout, this, &QDialog::accept);
  timer->start();
}

// The window takes the keys itself: it has no control that wants them.
void SplashWindow::keyPressEvent(QKeyEvent*) { accept(); }

void SplashWindow::mousePressEvent(QMouseEvent*) { accept(); }

}  // namespace tsubakuro
