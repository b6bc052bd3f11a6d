#include "editors/settings_text_problem.h"

namespace tsubakuro {

QString unstorable_text_problem(const QString& caption, QStringView text) {
  if (!text.contains(u'"')) return {};
  return QStringLiteral("%1にダブルクォーテーション（\"）が含まれているため保存できません。")
      .arg(caption);
}

}  // namespace tsubakuro
