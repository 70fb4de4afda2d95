#include "piclist/CutRenames.h"

#include "piclist/NameRule.h"
#include "piclist/PicObject.h"
#include "piclist/SafeFileOps.h"

#include <cctype>
#include <vector>

int RecoverCutRenames(const CString& folder)
{
    CString dir = folder;
    if (dir.IsEmpty() || dir[dir.GetLength() - 1] != '\\')
        dir += "\\";
    std::vector<CString> passing;
    for (const CString& temp : ListMatchingFiles(dir + "~ren*.tmp")) {
        CString name = temp.Mid(temp.ReverseFind('\\') + 1);
        bool hex = name.GetLength() == 12 && name.Right(4).CompareNoCase(".tmp") == 0;
        for (int i = 4; hex && i < 8; i++)
            hex = isxdigit(static_cast<unsigned char>(name[i])) != 0;
        if (hex)
            passing.push_back(temp);
    }
    if (passing.size() != 1)
        return 0;
    std::vector<CString> missing;
    for (const CString& recordFile : ListMatchingFiles(dir + "*.dai")) {
        CPicObject record;
        record.m_strPath = recordFile;
        record.m_bHeaderOnly = TRUE;
        record.m_bReadOnly = TRUE;
        if (record.LoadDai() && IsAcceptableName(record.m_strFileName)
            && !PathExists(dir + record.m_strFileName))
            missing.push_back(dir + record.m_strFileName);
    }
    // More than one candidate: which name is whose cannot be told; the file stays as it is.
    if (missing.size() != 1 || !SafeMove(passing.front(), missing.front()))
        return 0;
    return 1;
}
