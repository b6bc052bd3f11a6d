#pragma once

#include <array>
#include <initializer_list>

#include "core/settings/system_settings.h"

namespace tsubakuro {

// Every window with a slot keeps its geometry in SystemSettings under that number
// and counts itself open there; the main menu's enabling rules read the counts.
enum class WindowSlot {
  Main = 0,             // ツバクロ親
  CompanyPicker = 1,    // 環境設定切替
  CompanyEditor = 2,    // 環境設定
  FileChooser = 3,      // ファイル選択
  CompanySwitch = 4,    // 切替
  DatePrompt = 5,       // 変換日付入力
  Conversion = 6,       // 変換中 and Excel変換
  ResultViewer = 7,     // 変換結果
  LogViewer = 8,        // エラーログ
  Message = 9,          // 確認メッセージ, 選択メッセージ, 入力メッセージ
  SystemSettings = 10,  // システム設定
  FieldOptions = 11,    // オプション
};

class OpenWindowCounts {
 public:
  int count(WindowSlot slot) const { return counts_[static_cast<int>(slot)]; }
  void add(WindowSlot slot, int delta) { counts_[static_cast<int>(slot)] += delta; }
  int sum(std::initializer_list<WindowSlot> members) const {
    int total = 0;
    for (WindowSlot slot : members) total += count(slot);
    return total;
  }
  void reset() { counts_.fill(0); }

 private:
  std::array<int, kWindowSlotCount> counts_{};
};

}  // namespace tsubakuro
