#include "gui/shell/help_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tsubakuro {

HelpWindow::HelpWindow(const QUrl& manual, QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("ヘルプ"));
  setWindowTitle(QStringLiteral("ツバクロ ﾍﾙﾌﾟ"));
  setAttribute(Qt::WA_DeleteOnClose);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("manual"));
  browser_->setAccessibleName(QStringLiteral("ツバクロ 操作説明書"));
  browser_->setOpenExternalLinks(true);
  browser_->setSource(manual);

  auto* back = new QPushButton(QStringLiteral("戻る(&B)"), this);
  back->setObjectName(QStringLiteral("cmdBack"));
  back->setAccessibleName(QStringLiteral("戻る"));
  auto* contents = new QPushButton(QStringLiteral("目次(&T)"), this);
  contents->setObjectName(QStringLiteral("cmdContents"));
  contents->setAccessibleName(QStringLiteral("目次"));
  auto* close_button = new QPushButton(QStringLiteral("閉じる(&C)"), this);
  close_button->setObjectName(QStringLiteral("cmdClose"));
  close_button->setAccessibleName(QStringLiteral("閉じる"));
  back->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(contents, &QPushButton::clicked, browser_, &QTextBrowser::home);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back);
  buttons->addWidget(contents);
  buttons->addStretch();
  buttons->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);
  // Wide enough for the pictures of the larger windows.
  resize(980, 720);
}

}  // namespace tsubakuro
