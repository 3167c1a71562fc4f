// Test helper: loads the DLL named on its command line the ordinary way, searching its own
// folder first, to show that a planted DLL there would be taken by a program that does
// not guard against it.
#include <windows.h>

#include <string>

#include "common/command_line/command_line.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string dll(command_line::ArgumentAfterProgramName(GetCommandLineA()));
  return LoadLibraryA(dll.c_str()) != nullptr ? 0 : 1;
}
