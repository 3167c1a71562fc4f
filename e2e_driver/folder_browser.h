// Driving the shell's folder browser that the destination page opens, from outside.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Waits for the browser window of the process ("选择文件夹" with its tree).
HWND WaitForFolderBrowser(DWORD processId);

// Selects the tree item reached through `itemTexts` (for example {"我的电脑", " (C:)",
// "kit-tests"}) by expanding each level, and answers whether every level was found.
bool SelectInFolderBrowser(HWND browser, DWORD processId, const std::vector<std::string>& itemTexts);

// Presses Browse on the destination page, selects the item path, presses OK and waits
// until the browser has closed.
bool BrowseTo(DWORD processId, HWND destinationPage, const std::vector<std::string>& itemTexts);

}  // namespace e2e
