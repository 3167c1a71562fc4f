// Stand-in for the product's review monitor: it closes on the first close request.
#include <windows.h>

#include "product/product_facts.h"
#include "sample/standin_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return sample::RunTitledWindow(product::kReviewMonitorProgram, product::kReviewMonitorTitle, 1);
}
