// What the explorer reads of the library's process-wide state.
#pragma once
#include "framework/String.h"

#include <windows.h>

// 1 once the protected folder was opened in this run.
extern BOOL g_bProtectedUnlocked;
// Set while a batch of file operations runs: the explorers' idle steps wait for its end.
extern BOOL g_bTransferBusy;

// The protected-pictures folder of the library ("Images Protégées" under the library root), or
// empty when there is no library root.
CString ProtectedFolderPath();
