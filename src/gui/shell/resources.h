#pragma once

namespace tsubakuro {

// Makes the logo and the manual with its pictures, compiled into the program, readable under
// ":/tsubakuro/". A static library's resources need this call before first use.
void load_resources();

}  // namespace tsubakuro
