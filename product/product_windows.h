// Finding the product's running programs by their window titles.
#pragma once

namespace product {

// True while the product's main window is open.
bool MainProgramIsRunning();

// Posts the review monitor up to 30 close requests, 100 ms apart, while its window is
// there. True when no window is left (or there was none).
bool CloseReviewMonitor();

}  // namespace product
