#include "gui/shell/file_chooser.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>

#include "gui/shell/message_dialogs.h"
#include "gui/shell/twips.h"
#include "gui/shell/window_routine.h"

namespace tsubakuro {
namespace {

constexpr int kPathRole = Qt::UserRole;

// The designed client area and places, in twips.
constexpr int kClientWidth = 6600;
constexpr int kClientHeight = 5160;
constexpr int kMargin = 120;
constexpr int kLeftListWidth = 3495;
constexpr int kDriveHeight = 330;
constexpr int kDirTop = 540;
constexpr int kDirHeight = 4080;
constexpr int kFileLeft = 3720;
constexpr int kFileWidth = 2775;
constexpr int kFileHeight = 4410;
constexpr int kButtonTop = 4650;
constexpr int kButtonWidth = 1300;
constexpr int kButtonHeight = 400;

bool folder_can_be_listed(const QString& path) {
  const QFileInfo info(path);
  return info.isDir() && info.isReadable() && info.isExecutable();
}

// Whether `path` lies on the volume mounted at `root`.
bool lies_under(const QString& path, const QString& root) {
  if (root == QLatin1String("/")) return path.startsWith(u'/');
  return path == root || path.startsWith(root + u'/');
}

// The file-system root, then the readable mount points in name order.
QStringList readable_drives() {
  QStringList roots{QDir::rootPath()};
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    const QString root = QDir::cleanPath(volume.rootPath());
    if (folder_can_be_listed(root) && !roots.contains(root)) roots.append(root);
  }
  std::sort(roots.begin() + 1, roots.end());
  return roots;
}

}  // namespace

QString compose_chosen_path(const QString& directory, const QString& file) {
  const QString native = QDir::toNativeSeparators(directory);
  const QChar separator = QDir::separator();
  return native.endsWith(separator) ? native + file : native + separator + file;
}

FileChooser::FileChooser(AppState& app, QWidget* parent) : QDialog(parent), app_(app) {
  setObjectName(QStringLiteral("ファイル選択"));
  setWindowTitle(QStringLiteral("ファイル選択"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  const double dpi = logical_dpi(this);
  auto px = [dpi](int twips) { return twips_to_pixels(twips, dpi); };
  setFixedSize(px(kClientWidth), px(kClientHeight));

  drive_list_ = new QComboBox(this);
  drive_list_->setObjectName(QStringLiteral("Drive1"));
  drive_list_->setAccessibleName(QStringLiteral("ドライブ"));
  drive_list_->setGeometry(px(kMargin), px(kMargin), px(kLeftListWidth), px(kDriveHeight));

  dir_list_ = new QListWidget(this);
  dir_list_->setObjectName(QStringLiteral("Dir1"));
  dir_list_->setAccessibleName(QStringLiteral("フォルダ"));
  dir_list_->setGeometry(px(kMargin), px(kDirTop), px(kLeftListWidth), px(kDirHeight));

  file_list_ = new QListWidget(this);
  file_list_->setObjectName(QStringLiteral("File1"));
  file_list_->setAccessibleName(QStringLiteral("ファイル"));
  file_list_->setGeometry(px(kFileLeft), px(kMargin), px(kFileWidth), px(kFileHeight));

  cancel_button_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel_button_->setObjectName(QStringLiteral("Command1(0)"));
  cancel_button_->setGeometry(px(kClientWidth - kMargin - kButtonWidth), px(kButtonTop),
                              px(kButtonWidth), px(kButtonHeight));
  ok_button_ = new QPushButton(QStringLiteral("OK"), this);
  ok_button_->setObjectName(QStringLiteral("Command1(1)"));
  ok_button_->setGeometry(px(kClientWidth - 2 * kMargin - 2 * kButtonWidth), px(kButtonTop),
                          px(kButtonWidth), px(kButtonHeight));
  // Enter in a list acts on the list; no button takes it over.
  for (QPushButton* button : {ok_button_, cancel_button_}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }

  setTabOrder(drive_list_, dir_list_);
  setTabOrder(dir_list_, file_list_);
  setTabOrder(file_list_, cancel_button_);
  setTabOrder(cancel_button_, ok_button_);

  for (const QString& root : readable_drives()) {
    drive_list_->addItem(QDir::toNativeSeparators(root), root);
  }
  show_directory(QDir::currentPath());

  connect(drive_list_, &QComboBox::activated, this, &FileChooser::choose_drive);
  connect(dir_list_, &QListWidget::itemActivated, this, &FileChooser::activate_directory);
  connect(file_list_, &QListWidget::itemActivated, this, &FileChooser::accept_choice);
  connect(ok_button_, &QPushButton::clicked, this, &FileChooser::accept_choice);
  connect(cancel_button_, &QPushButton::clicked, this, &FileChooser::reject);
  drive_list_->setFocus();
}

std::optional<QString> FileChooser::choose(AppState& app, QWidget* parent) {
  FileChooser chooser(app, parent);
  chooser.exec();
  return chooser.chosen();
}

QString FileChooser::selected_file() const {
  const QListWidgetItem* item = file_list_->currentItem();
  return item != nullptr && item->isSelected() ? item->text() : QString();
}

void FileChooser::showEvent(QShowEvent* event) {
  if (!opened_) {
    opened_ = true;
    window_opened(app_, this, WindowSlot::FileChooser);
  }
  QDialog::showEvent(event);
}

void FileChooser::done(int result) {
  if (result != Accepted) chosen_.reset();
  if (opened_ && !closed_) {
    closed_ = true;
    window_closed(app_, this, WindowSlot::FileChooser);
  }
  QDialog::done(result);
}

void FileChooser::choose_drive(int index) {
  // The drive that holds the program's folder opens on that folder, as the other
  // drives open on their roots.
  const QString current = QDir::currentPath();
  const QString start =
      drive_index_of(current) == index ? current : drive_list_->itemData(index).toString();
  if (!show_directory(start)) {
    drive_list_->setCurrentIndex(shown_drive_);
  }
}

void FileChooser::activate_directory(QListWidgetItem* item) {
  if (item == nullptr) return;
  show_directory(item->data(kPathRole).toString());
}

bool FileChooser::show_directory(const QString& path) {
  const QString clean = QDir::cleanPath(QDir(path).absolutePath());
  if (!folder_can_be_listed(clean)) {
    // The folder's own name: the dialog grows with its message, and a whole path
    // can make it wider than the screen.
    const QString name = QFileInfo(clean).fileName();
    show_notice(app_, QStringLiteral("エラー"),
                QStringLiteral("フォルダ「%1」を読み込めません。")
                    .arg(name.isEmpty() ? QDir::toNativeSeparators(clean) : name));
    return false;
  }
  directory_ = clean;
  const QDir dir(clean);

  dir_list_->clear();
  const QIcon open_icon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed_icon = style()->standardIcon(QStyle::SP_DirClosedIcon);
  // The folders from the root down to this one, then this one's sub-folders.
  QStringList chain{clean};
  for (QDir up(clean); !up.isRoot() && up.cdUp();) chain.prepend(up.absolutePath());
  int depth = 0;
  for (const QString& folder : chain) {
    const QString name =
        QDir(folder).isRoot() ? QDir::toNativeSeparators(folder) : QFileInfo(folder).fileName();
    auto* item = new QListWidgetItem(open_icon, QString(depth * 2, u' ') + name, dir_list_);
    item->setData(kPathRole, folder);
    ++depth;
  }
  const int current_row = dir_list_->count() - 1;
  const QFileInfoList subfolders =
      dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QFileInfo& info : subfolders) {
    auto* item =
        new QListWidgetItem(closed_icon, QString(depth * 2, u' ') + info.fileName(), dir_list_);
    item->setData(kPathRole, info.absoluteFilePath());
  }
  dir_list_->setCurrentRow(current_row);

  file_list_->clear();
  for (const QString& name : dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
    file_list_->addItem(name);
  }

  shown_drive_ = drive_index_of(clean);
  if (shown_drive_ >= 0) drive_list_->setCurrentIndex(shown_drive_);
  return true;
}

int FileChooser::drive_index_of(const QString& path) const {
  int best = -1;
  int best_length = -1;
  for (int i = 0; i < drive_list_->count(); ++i) {
    const QString root = drive_list_->itemData(i).toString();
    if (lies_under(path, root) && root.size() > best_length) {
      best = i;
      best_length = root.size();
    }
  }
  return best;
}

void FileChooser::accept_choice() {
  chosen_ = compose_chosen_path(directory_, selected_file());
  accept();
}

}  // namespace tsubakuro
