#include "piclist/DelObject.h"

#include "core/FileUtil.h"
#include "core/StringUtil.h"
#include "core/SystemUtil.h"
#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "framework/WinApp.h"
#include "piclist/LibraryHost.h"
#include "piclist/PicObject.h"
#include "piclist/ReplaceConfirm.h"
#include "piclist/SafeFileOps.h"
#include "piclist/TrashDialogs.h"
#include "resources/library-store-ids.h"
#include "resources/resource.h"

#include <cstdlib>
#include <vector>

IMPLEMENT_SERIAL(CDelObject, CObject, 1)

namespace {

const int kLastTrashNumber = 0xFFFF;
int g_trashNameLimit = 0;

CString TrashFolderName() { return LoadStringOr(IDS_FOLDER_TRASH, "El\xE9ments Supprim\xE9s"); }

// A path read from a trash record names something inside the library: relative, no drive, no
// "..", no empty component.
BOOL IsSafeRelativePath(const CString& rel)
{
    if (rel.IsEmpty() || rel[0] == '\\' || rel[0] == '/' || rel.Find(':') >= 0 || rel.Find('/') >= 0)
        return FALSE;
    int start = 0;
    for (;;) {
        int slash = rel.Find('\\', start);
        CString part = slash < 0 ? rel.Mid(start) : rel.Mid(start, slash - start);
        if (part.IsEmpty() || part == "." || part == "..")
            return FALSE;
        if (slash < 0)
            return TRUE;
        start = slash + 1;
    }
}

void ShowStop(UINT id, LPCSTR builtIn, const CString& path)
{
    CString text;
    text.Format(LoadStringOr(id, builtIn), static_cast<LPCSTR>(path));
    MessageBeep(0xFFFFFFFF);
    AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}

void ShowRestoreFileFailed(const CString& target)
{
    ShowStop(IDS_RESTORE_FILE_FAILED,
             "Erreur lors de la r\xE9"
             "cup\xE9ration du fichier %s.",
             target);
}

void ShowRestoreFolderFailed(const CString& target)
{
    ShowStop(IDS_RESTORE_FOLDER_FAILED,
             "Erreur lors de la r\xE9"
             "cup\xE9ration du dossier %s.",
             target);
}

void ShowMoveToTrashFailed(const CString& path)
{
    ShowStop(IDS_TRASH_MOVE_FAILED,
             "Impossible de transf\xE9rer %s dans le dossier 'El\xE9ments Supprim\xE9s'.", path);
}

CString FolderOf(const CString& path)
{
    int slash = path.ReverseFind('\\');
    return slash < 0 ? CString() : path.Left(slash);
}

// Putting back what a failed operation moved; not a step of its own.
void MoveBack(const CString& from, const CString& to)
{
    if (PathExists(from) && !PathExists(to))
        MoveFileA(from, to);
}

BOOL NameIsFree(const CString& trash, const CString& name)
{
    static const char* const kExts[] = {".del", ".pai", ".dai", ".dir"};
    for (const char* ext : kExts) {
        if (PathExists(trash + name + ext))
            return FALSE;
    }
    return TRUE;
}

} // namespace

CString GetTrashFolder()
{
    CString root = LibraryRoot();
    CString name = TrashFolderName();
    if (root.IsEmpty() || name.IsEmpty())
        return CString();
    if (root.Right(1) != "\\")
        root += "\\";
    return root + name + "\\";
}

BOOL IsTrashName(const CString& name)
{
    if (name.GetLength() != 8 || name.Left(4) != "file")
        return FALSE;
    for (int i = 4; i < 8; ++i) {
        char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return FALSE;
    }
    return name != "file0000";
}

void SetTrashNameLimitForTest(int last) { g_trashNameLimit = last; }

CDelObject::CDelObject() = default;

CDelObject::CDelObject(int nKind) : m_nKind(nKind)
{
    WORD date = 0, time = 0;
    GetCurrentDosDateTime(&date, &time);
    m_dwDelDate = date;
    m_dwDelTime = time;
    m_strTrashName = MakeTrashName();
}

void CDelObject::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_nKind) << static_cast<LONG>(m_bFromProtected);
        ar << m_strTrashName << m_strRelPath << m_strRelDaiPath << m_strOrigFolder;
        ar << m_dwDelDate << m_dwDelTime;
        ar.Flush();
        return;
    }
    ar >> m_nKind >> m_bFromProtected;
    ReadRecordString(ar, m_strTrashName);
    ReadRecordString(ar, m_strRelPath);
    ReadRecordString(ar, m_strRelDaiPath);
    ReadRecordString(ar, m_strOrigFolder);
    ar >> m_dwDelDate >> m_dwDelTime;
    ar.Flush();
}

CString CDelObject::MakeTrashName()
{
    const CString trash = GetTrashFolder();
    if (trash.IsEmpty())
        return CString();
    // One listing of the trash rather than four probes per number: a trash of thousands of items
    // stays quick to add to.
    std::vector<bool> used(kLastTrashNumber + 1, false);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(trash + "file*", &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            CString name = fd.cFileName;
            if (name.GetLength() != 12 || !IsTrashName(name.Left(8)))
                continue;
            CString ext = name.Mid(8);
            if (ext.CompareNoCase(".del") == 0 || ext.CompareNoCase(".pai") == 0
                || ext.CompareNoCase(".dai") == 0 || ext.CompareNoCase(".dir") == 0)
                used[strtoul(name.Mid(4, 4), nullptr, 16)] = true;
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    const int last = g_trashNameLimit > 0 ? g_trashNameLimit : kLastTrashNumber;
    for (int n = 1; n <= last; ++n) {
        if (used[n])
            continue;
        CString name;
        name.Format("file%04X", n);
        // The listing may miss a name written in another letter case: ask once more.
        if (NameIsFree(trash, name))
            return name;
    }
    return CString();
}

CString CDelObject::TrashFile(LPCSTR ext) const
{
    const CString trash = GetTrashFolder();
    if (trash.IsEmpty() || !IsTrashName(m_strTrashName))
        return CString();
    return trash + m_strTrashName + ext;
}

BOOL CDelObject::SaveDel(const CString& path)
{
    if (path.IsEmpty())
        return FALSE;
    return WriteOneRecord(path, *this);
}

BOOL CDelObject::LoadDel(const CString& path)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary))
        return FALSE;
    CDelObject read;
    if (!ReadOneRecord(file, read, TRUE))
        return FALSE;
    // The name decides which trash files restore and erase touch: it must be a trash name, and the
    // record of fileNNNN.del must name fileNNNN.
    if (!IsTrashName(read.m_strTrashName) || (read.m_nKind != kTrashPicture && read.m_nKind != kTrashFolder))
        return FALSE;
    CString title = path.Mid(path.ReverseFind('\\') + 1);
    int dot = title.ReverseFind('.');
    if (dot >= 0)
        title = title.Left(dot);
    if (title.GetLength() == 8 && title.Left(4).CompareNoCase("file") == 0
        && title.CompareNoCase(read.m_strTrashName) != 0)
        return FALSE;
    m_nKind = read.m_nKind;
    m_bFromProtected = read.m_bFromProtected;
    m_strTrashName = read.m_strTrashName;
    m_strRelPath = read.m_strRelPath;
    m_strRelDaiPath = read.m_strRelDaiPath;
    m_strOrigFolder = read.m_strOrigFolder;
    m_dwDelDate = read.m_dwDelDate;
    m_dwDelTime = read.m_dwDelTime;
    return TRUE;
}

BOOL CDelObject::MoveToTrash()
{
    const CString root = LibraryRoot();
    const CString trash = GetTrashFolder();
    const CString source = root + m_strRelPath;
    if (root.IsEmpty() || trash.IsEmpty() || !IsSafeRelativePath(m_strRelPath)
        || (m_nKind == kTrashPicture && !m_strRelDaiPath.IsEmpty() && !IsSafeRelativePath(m_strRelDaiPath))) {
        ShowMoveToTrashFailed(source);
        return FALSE;
    }
    if (!SafeCreateFolder(trash)) {
        ShowMoveToTrashFailed(source);
        return FALSE;
    }
    // The name chosen when the record was made may have been taken since.
    if (!IsTrashName(m_strTrashName) || !NameIsFree(trash, m_strTrashName))
        m_strTrashName = MakeTrashName();
    if (m_strTrashName.IsEmpty()) {
        ShowStop(IDS_TRASH_FULL,
                 "Le dossier 'El\xE9ments Supprim\xE9s' est plein : %s n'a pas \xE9t\xE9 supprim\xE9. "
                 "Videz-le ou effacez-en des \xE9l\xE9ments.",
                 source);
        return FALSE;
    }
    const CString del = TrashFile(".del");

    if (m_nKind != kTrashPicture) {
        const CString dir = TrashFile(".dir");
        DWORD a = GetFileAttributesA(source);
        if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY) || !SafeMove(source, dir)) {
            ShowMoveToTrashFailed(source);
            return FALSE;
        }
        if (!SaveDel(del)) {
            MoveBack(dir, source);
            ShowMoveToTrashFailed(source);
            return FALSE;
        }
        return TRUE;
    }

    const CString pai = TrashFile(".pai");
    DWORD a = GetFileAttributesA(source);
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY) || !SafeMove(source, pai)) {
        ShowMoveToTrashFailed(source);
        return FALSE;
    }
    CString daiSource, dai;
    if (!m_strRelDaiPath.IsEmpty() && PathExists(root + m_strRelDaiPath)) {
        daiSource = root + m_strRelDaiPath;
        dai = TrashFile(".dai");
        if (!SafeMove(daiSource, dai)) {
            MoveBack(pai, source);
            ShowMoveToTrashFailed(source);
            return FALSE;
        }
    }
    if (!SaveDel(del)) {
        if (!dai.IsEmpty())
            MoveBack(dai, daiSource);
        MoveBack(pai, source);
        ShowMoveToTrashFailed(source);
        return FALSE;
    }
    return TRUE;
}

BOOL CDelObject::Restore() { return m_nKind == kTrashPicture ? RestorePicture() : RestoreFolder(); }

BOOL CDelObject::RestorePicture()
{
    const CString root = LibraryRoot();
    const CString target = root + m_strRelPath;
    const CString pai = TrashFile(".pai");
    if (root.IsEmpty() || pai.IsEmpty() || !IsSafeRelativePath(m_strRelPath)
        || (!m_strRelDaiPath.IsEmpty() && !IsSafeRelativePath(m_strRelDaiPath))) {
        ShowRestoreFileFailed(target);
        return FALSE;
    }
    // Nothing at the destination is touched unless the trash still holds the picture.
    DWORD a = GetFileAttributesA(pai);
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) {
        ShowRestoreFileFailed(target);
        return FALSE;
    }
    if (!SafeCreateFolder(FolderOf(target))) {
        ShowRestoreFileFailed(target);
        return FALSE;
    }

    // Every file of the picture's base name, whatever its extension (the old picture and its record).
    CString pattern = target;
    int slash = target.ReverseFind('\\');
    int dot = target.ReverseFind('.');
    if (dot > slash)
        pattern = target.Left(dot) + ".*";
    std::vector<CString> clashing = ListMatchingFiles(pattern);
    if (PathExists(target)) {
        bool listed = false;
        for (const CString& c : clashing)
            listed = listed || IsSamePath(c, target);
        if (!listed)
            clashing.push_back(target);
    }
    const CString daiTrash = TrashFile(".dai");
    const CString daiTarget = m_strRelDaiPath.IsEmpty() ? RecordFilePath(target) : root + m_strRelDaiPath;
    const BOOL withRecord = !daiTarget.IsEmpty() && PathExists(daiTrash);
    if (withRecord && PathExists(daiTarget)) {
        bool listed = false;
        for (const CString& c : clashing)
            listed = listed || IsSamePath(c, daiTarget);
        if (!listed)
            clashing.push_back(daiTarget);
    }

    if (!clashing.empty() && !ConfirmFileReplace(pai, target))
        return FALSE;

    // All or nothing: the old files are set aside, the picture and its record come back, and only
    // then is what was set aside deleted.
    CSetAside aside;
    for (const CString& c : clashing) {
        if (!aside.Add(c)) {
            aside.Rollback();
            ShowRestoreFileFailed(target);
            return FALSE;
        }
    }
    if (!SafeMove(pai, target)) {
        aside.Rollback();
        ShowRestoreFileFailed(target);
        return FALSE;
    }
    if (withRecord && !SafeMove(daiTrash, daiTarget)) {
        MoveBack(target, pai);
        aside.Rollback();
        ShowRestoreFileFailed(target);
        return FALSE;
    }
    aside.Commit();
    SafeDeleteFile(TrashFile(".del"));
    return TRUE;
}

BOOL CDelObject::RestoreFolder()
{
    const CString root = LibraryRoot();
    const CString target = root + m_strRelPath;
    const CString dir = TrashFile(".dir");
    if (root.IsEmpty() || dir.IsEmpty() || !IsSafeRelativePath(m_strRelPath)) {
        ShowRestoreFolderFailed(target);
        return FALSE;
    }
    DWORD a = GetFileAttributesA(dir);
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) {
        ShowRestoreFolderFailed(target);
        return FALSE;
    }
    if (!PathExists(target)) {
        if (!SafeMove(dir, target)) {
            ShowRestoreFolderFailed(target);
            return FALSE;
        }
    } else {
        if (!ConfirmFolderReplace(dir, target))
            return FALSE;
        // The existing folder is replaced, not merged; it goes only once the restored one is in.
        if (!ReplaceByMove(dir, target, {target})) {
            ShowRestoreFolderFailed(target);
            return FALSE;
        }
    }
    SafeDeleteFile(TrashFile(".del"));
    return TRUE;
}

BOOL CDelObject::Erase()
{
    // Only ever the item's own files, named exactly, inside the trash folder.
    const CString del = TrashFile(".del");
    if (del.IsEmpty())
        return FALSE;
    BOOL ok = TRUE;
    if (m_nKind == kTrashPicture) {
        ok = SafeDeleteFile(TrashFile(".pai")) && ok;
        ok = SafeDeleteFile(TrashFile(".dai")) && ok;
    } else {
        ok = SafeDeleteTree(TrashFile(".dir")) && ok;
    }
    // The record goes last, so that an item that could not be erased stays listed.
    if (ok)
        ok = SafeDeleteFile(del);
    if (!ok)
        ShowStop(IDS_TRASH_ERASE_FAILED,
                 "Impossible d'effacer d\xE9"
                 "finitivement %s.",
                 m_strRelPath);
    return ok;
}

void ShowDeleteNotice()
{
    if (!GetShowDeleteNotice())
        return;
    CDeleteNoticeDlg dlg;
    dlg.m_bDontShowAgain = FALSE;
    dlg.DoModal();
    SetShowDeleteNotice(dlg.m_bDontShowAgain ? 0 : 1);
}

BOOL EmptyTrashFolder()
{
    const CString root = LibraryRoot();
    const CString name = TrashFolderName();
    const CString trash = GetTrashFolder();
    // An empty or relative root, or an empty name, would point at the wrong folder.
    if (root.GetLength() < 3 || name.IsEmpty() || trash.IsEmpty())
        return FALSE;
    if (!((root[1] == ':' && root[2] == '\\') || root.Left(2) == "\\\\"))
        return FALSE;
    const CString folder = trash.Left(trash.GetLength() - 1);
    DWORD a = GetFileAttributesA(folder);
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY) || (a & FILE_ATTRIBUTE_REPARSE_POINT))
        return FALSE;
    BOOL ok = TRUE;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(trash + "*", &fd);
    if (h == INVALID_HANDLE_VALUE)
        return TRUE;
    std::vector<CString> entries;
    std::vector<bool> folders;
    do {
        if (strcmp(fd.cFileName, ".") == 0 || strcmp(fd.cFileName, "..") == 0)
            continue;
        entries.push_back(trash + fd.cFileName);
        folders.push_back((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (folders[i] ? !SafeDeleteTree(entries[i]) : !SafeDeleteFile(entries[i]))
            ok = FALSE;
    }
    return ok;
}
