#include "piclist/NameRule.h"

#include "framework/WinApp.h"
#include "resources/library-bar-ids.h"

#include <cstring>

BOOL IsAcceptableName(const CString& name)
{
    if (name.IsEmpty() || name == "." || name == ".." || name.Find("..") >= 0)
        return FALSE;
    for (int i = 0; i < name.GetLength(); i++) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 32 || strchr("\\/:*?\"<>|", c) != nullptr)
            return FALSE;
    }
    char last = name[name.GetLength() - 1];
    return last != '.' && last != ' ';
}

void ReportRefusedName()
{
    ::MessageBeep(static_cast<UINT>(-1));
    AfxMessageBox(IDS_FOLDER_NAME_REFUSED, MB_ICONEXCLAMATION);
}
