#pragma once

#include <array>
#include <vector>

#include "gui/shell/child_window.h"

class QLineEdit;
class QTabWidget;

namespace tsubakuro {

class ChoiceList;

// オプション: the user's own name and kind (文字 or 数字) for every Zengin field of both
// transfer kinds. Only "OK" changes SystemSettings; everything opened afterwards
// (labels, captions, viewer headings, the next conversion's messages and checks)
// follows the new names and kinds.
class FieldOptionsEditor : public ChildWindow {
  Q_OBJECT

 public:
  explicit FieldOptionsEditor(AppState& app);

  // ﾌﾞﾗﾝｸ初期値ｾｯﾄ: puts the built-in name into every name box that is empty or
  // holds only blanks. Nothing is stored until "OK".
  void text_dft_set();

 protected:
  void on_opened() override;

 private:
  struct Row {
    QLineEdit* name = nullptr;
    ChoiceList* kind = nullptr;
  };
  using Rows = std::array<std::vector<Row>, kRecordKindCount>;

  QWidget* build_page(TransferKind transfer);
  void load_values();
  void accept_values();
  void show_page(int index);
  Rows& rows(TransferKind transfer) { return rows_[static_cast<int>(transfer)]; }

  QTabWidget* tab_strip_ = nullptr;
  std::array<Rows, kTransferKindCount> rows_;
};

}  // namespace tsubakuro
