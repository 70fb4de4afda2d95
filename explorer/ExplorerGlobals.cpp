// The library's state as the explorer sees it.
#include "explorer/ExplorerGlobals.h"

CString ProtectedFolderPath()
{
    CString path = g_strProtectedFolder;
    if (path.GetLength() > 3 && path.Right(1) == "\\")
        path = path.Left(path.GetLength() - 1);
    return path;
}
