#include "gui/app/manual_pictures.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>

#include "gui/shell/resources.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::ScopedWorkingDir;
using testing::source_path;

QString manual_text() {
  QFile file(source_path(QStringLiteral("docs/manual.html")));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

// A window picture holds text and frames; a blank or one-colour grab is a window
// that never painted.
bool looks_drawn(const QImage& image) {
  if (image.isNull() || image.width() < 40 || image.height() < 30) return false;
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 3) {
    for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
  }
  return colours.size() >= 8;
}

// The manual and its pictures go together: a picture it names but nobody made
// shows as a broken image, and a window of the list without its picture is a
// window the reader meets unprepared.
TEST(ManualPictures, TheManualShowsEveryWindowsPictureWithACaptionAndEachPictureIsThere) {
  const QString manual = manual_text();
  ASSERT_FALSE(manual.isEmpty());
  load_resources();
  const QRegularExpression figure(
      QStringLiteral("<figure[^>]*>\\s*<img src=\"images/([^\"]+)\\.png\"[^>]*>\\s*(?:<br>)?\\s*"
                     "<figcaption>([^<]+)</figcaption>\\s*</figure>"));
  QSet<QString> figures;
  for (const QRegularExpressionMatch& match : figure.globalMatch(manual))
    figures.insert(match.captured(1));
  int images = 0;
  for (const QRegularExpressionMatch& match :
       QRegularExpression(QStringLiteral("<img src=\"([^\"]+)\"")).globalMatch(manual)) {
    ++images;
    const QString picture = match.captured(1);
    EXPECT_TRUE(picture.startsWith(QStringLiteral("images/"))) << picture.toStdString();
    EXPECT_TRUE(QFile::exists(source_path(QStringLiteral("docs/") + picture)))
        << picture.toStdString() << " is not in docs/images";
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/tsubakuro/") + picture))
        << picture.toStdString() << " is not in the program's resources";
  }
  EXPECT_EQ(images, figures.size()) << "every picture stands in a figure with its caption";
  for (const ManualPicture& picture : kManualPictures) {
    EXPECT_TRUE(figures.contains(QString::fromUtf8(picture.file)))
        << picture.window << " (" << picture.file << ".png) is not in the manual";
  }
}

TEST(ManualPictures, TheDriverPicturesEveryWindowOfTheListOnTheSampleCompany) {
  ScopedWorkingDir dir;
  testing::copy_sample_company();
  ASSERT_TRUE(QFile::copy(source_path(QStringLiteral("examples/tsubakuro.ini")),
                          QStringLiteral("tsubakuro.ini")));
  const Result<QStringList> made = make_manual_pictures(QStringLiteral("pictures"));
  ASSERT_TRUE(made) << made.message().toStdString();
  QStringList expected;
  for (const ManualPicture& picture : kManualPictures) expected << QString::fromUtf8(picture.file);
  EXPECT_EQ(*made, expected);
  for (const QString& file : expected) {
    const QImage image(QDir(QStringLiteral("pictures")).filePath(file + QStringLiteral(".png")));
    EXPECT_TRUE(looks_drawn(image)) << file.toStdString();
  }
}

}  // namespace
}  // namespace tsubakuro
