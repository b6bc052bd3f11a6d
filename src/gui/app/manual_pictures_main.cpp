// tsubakuro-manual-pictures: the manual's pictures of the program's windows,
// taken in the working folder (the sample company), for
// scripts/make-manual-pictures.sh. Not installed.

#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "gui/app/manual_pictures.h"
#include "gui/shell/fixed_font.h"
#include "gui/shell/resources.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ツバクロ"));
  tsubakuro::load_resources();
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/tsubakuro/icon.png")));
  QApplication::setFont(tsubakuro::caption_font());

  const QStringList arguments = QApplication::arguments();
  if (arguments.size() != 2) {
    std::fputs("使い方: tsubakuro-manual-pictures 画像のフォルダ\n", stderr);
    return 2;
  }
  const tsubakuro::Result<QStringList> made = tsubakuro::make_manual_pictures(arguments[1]);
  if (!made) {
    std::fprintf(stderr, "%s\n", made.message().toLocal8Bit().constData());
    return 1;
  }
  for (const QString& file : *made) std::printf("%s.png\n", file.toLocal8Bit().constData());
  return 0;
}
