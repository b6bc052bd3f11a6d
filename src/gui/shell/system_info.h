#pragma once

#include <QString>
#include <QStringList>

namespace tsubakuro {

// The system information programs a Linux desktop may have, most thorough first.
QStringList system_info_tools();

// The first of `tools` found on the search path, as a full path; empty text when
// the machine has none of them.
QString find_system_info_tool(const QStringList& tools);

// Starts the platform's system information tool. False when there is none or it
// would not start; the caller then tells the user.
bool StartSysInfo();

}  // namespace tsubakuro
