// Test helper: loads comctl32.dll the ordinary way, searching its own folder first, to show
// that a planted DLL there would be taken by a program that does not guard against it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return LoadLibraryA("comctl32.dll") != nullptr ? 0 : 1; }
