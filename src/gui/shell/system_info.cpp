#include "gui/shell/system_info.h"

#include <QProcess>
#include <QStandardPaths>

namespace tsubakuro {

QStringList system_info_tools() {
  return {QStringLiteral("hardinfo2"),           QStringLiteral("hardinfo"),
          QStringLiteral("kinfocenter"),         QStringLiteral("gnome-system-monitor"),
          QStringLiteral("mate-system-monitor"), QStringLiteral("xfce4-taskmanager")};
}

QString find_system_info_tool(const QStringList& tools) {
  for (const QString& tool : tools) {
    const QString path = QStandardPaths::findExecutable(tool);
    if (!path.isEmpty()) return path;
  }
  return {};
}

bool StartSysInfo() {
  const QString tool = find_system_info_tool(system_info_tools());
  return !tool.isEmpty() && QProcess::startDetached(tool, {});
}

}  // namespace tsubakuro
