// Finding the product's running programs by their window titles.
#pragma once

namespace product {

// True while the product's main window is open.
bool MainProgramIsRunning();

// Tells the user to stop a program of the product first: a box without owner, style
// MB_OK | MB_ICONINFORMATION, with the program's own caption.
void ShowStopProductMessage(const char* text, const char* caption);

// Posts the review monitor up to 30 close requests, 100 ms apart, while its window is
// there. True when no window is left (or there was none).
bool CloseReviewMonitor(int* requestsMade = nullptr);

}  // namespace product
