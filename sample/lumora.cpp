// Stand-in for the product's main program: its window is titled "Quendral".
#include <windows.h>

#include "product/product_facts.h"
#include "sample/standin_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return sample::RunTitledWindow(product::kMainProgram, product::kMainWindowTitle, 0);
}
