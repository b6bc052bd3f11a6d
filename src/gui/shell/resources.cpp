#include "gui/shell/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function of the global namespace.
static void register_program_resources() {
  Q_INIT_RESOURCE(tsubakuro);
  Q_INIT_RESOURCE(manual_pictures);
}

namespace tsubakuro {

void load_resources() {
  static const bool registered = [] {
    register_program_resources();
    return true;
  }();
  (void)registered;
}

}  // namespace tsubakuro
