#pragma once

namespace tsubakuro::cli {

// Ctrl+C asks the conversion to stop between two lines, as the run window's 中止
// button does, so the log gets its cancel marker. A second Ctrl+C ends the
// program at once.
void watch_interrupt();
bool interrupt_requested();

}  // namespace tsubakuro::cli
