// Functions of Windows' own DLLs that a program loads when it needs them
// rather than importing them: from the system folder only, never from beside
// the program, which may be a share anyone can put a DLL into.
#pragma once

#include <windows.h>

// Restricts the DLL search of this process to the system folder: what the
// program, the delay-load helper and Windows' own DLLs load by name, and the
// DLLs those depend on. First thing in a program, before anything can load a
// DLL: the program's folder may be a share that others can write. A Windows
// without SetDefaultDllDirectories searches as it always did.
void SearchSystemFolderOnly();

// For the Launcher, which the shell and COM load handlers into: run from the
// Windows folder, which only administrators can write, Windows' standard DLL
// search without the current folder, in which a handler finds the DLLs it
// depends on as it does in every other program (the system folder alone
// would leave out its own folder, the Windows folder and the PATH). Run from
// anywhere else, the system folder only.
void SearchStandardFoldersInTheWindowsFolder();

// The function, its DLL left loaded for the life of the program as an
// imported one would be. Raises 53 when the DLL is missing and 453 when it
// lacks the function.
FARPROC SystemProcedure(const wchar_t* library, const char* name);

template <typename Function>
Function* SystemFunction(const wchar_t* library, const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(SystemProcedure(library, name)));
}
