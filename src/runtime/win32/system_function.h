#pragma once
// Functions of the system libraries that only some modes call (the file chooser, the shell,
// gradient fills, sound), bound at their first call instead of at process start: the saver's
// start-up then does not load libraries its mode never uses, which under Wine cost tens of
// milliseconds before the first line of the program runs.
#include <windows.h>

namespace tolvenar::win32 {

// The named function of a loaded module, or null.
template <typename Function>
Function ModuleFunction(HMODULE module, const char* name) {
  // void (*)() is the function-pointer type a cast from FARPROC may go through.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The named function of the library, or null when either is missing. The library stays loaded
// for the rest of the process, as a linked one would.
template <typename Function>
Function SystemFunction(const char* library, const char* name) {
  const HMODULE module = LoadLibraryA(library);
  return module ? ModuleFunction<Function>(module, name) : nullptr;
}

}  // namespace tolvenar::win32
