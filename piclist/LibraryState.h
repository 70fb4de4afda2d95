// The library's process-wide state that every list window consults: the protected folder and whether
// it was opened, and the batch-transfer flag.
#pragma once
#include "framework/String.h"

#include <windows.h>

// Full path of "Images Protégées", set when the library tree is made.
extern CString g_strProtectedFolder;
// 1 once the protected folder was opened (or its password set) in this run; never reset.
extern BOOL g_bProtectedUnlocked;
// Set while the library copies, moves or deletes a batch of files.
extern BOOL g_bTransferBusy;

// Sets the busy flag for a batch and clears it on every way out.
class CTransferBusy {
public:
    CTransferBusy() { g_bTransferBusy = TRUE; }
    ~CTransferBusy() { g_bTransferBusy = FALSE; }
    CTransferBusy(const CTransferBusy&) = delete;
    CTransferBusy& operator=(const CTransferBusy&) = delete;
};
