#include "piclist/DelObject.h"

#include "core/FileUtil.h"
#include "core/FolderListing.h"
#include "core/StringUtil.h"
#include "core/SystemUtil.h"
#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "framework/WinApp.h"
#include "piclist/CutRenames.h"
#include "piclist/FailureCause.h"
#include "piclist/FailureReport.h"
#include "piclist/LibraryHost.h"
#include "piclist/PicObject.h"
#include "piclist/ReplaceConfirm.h"
#include "piclist/SafeFileOps.h"
#include "piclist/TrashDialogs.h"
#include "resources/library-store-ids.h"
#include "resources/resource.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
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

// The message names why: the cause already known (knownCause), else that of the step that failed.
void ShowStop(UINT id, LPCSTR builtIn, const CString& path, const CString& knownCause = CString())
{
    CString text;
    text.Format(LoadStringOr(id, builtIn), static_cast<LPCSTR>(path));
    if (!knownCause.IsEmpty())
        text += " " + knownCause;
    ReportStepFailure(text, MB_ICONSTOP);
}

void ShowRestoreFileFailed(const CString& target, const CString& knownCause = CString())
{
    ShowStop(IDS_RESTORE_FILE_FAILED,
             "Erreur lors de la r\xE9"
             "cup\xE9ration du fichier %s.",
             target, knownCause);
}

void ShowRestoreFolderFailed(const CString& target, const CString& knownCause = CString())
{
    ShowStop(IDS_RESTORE_FOLDER_FAILED,
             "Erreur lors de la r\xE9"
             "cup\xE9ration du dossier %s.",
             target, knownCause);
}

// Why a restore of an item the trash no longer holds fails: no step ran.
CString NotInTrashCause()
{
    return LoadStringOr(IDS_CAUSE_NOT_IN_TRASH, "Il n'est plus dans le dossier 'El\xE9ments Supprim\xE9s'.");
}

// Names the file whose step failed: the picture's record file when that is the one another program
// holds, as the moves do.
void ShowMoveToTrashFailed(const CString& path, const CString& record = CString())
{
    ShowStop(IDS_TRASH_MOVE_FAILED,
             "Impossible de transf\xE9rer %s dans le dossier 'El\xE9ments Supprim\xE9s'.",
             PictureFileThatFailed(path, record, path));
}

CString FolderOf(const CString& path)
{
    int slash = path.ReverseFind('\\');
    return slash < 0 ? CString() : path.Left(slash);
}

// A picture kept in the trash because its folder holds another record of it with texts.
void ShowTextsOnBothSides(const CString& target)
{
    CString text;
    text.Format(LoadStringOr(IDS_RESTORE_TEXTS_KEPT,
                             "%s n'a pas \xE9t\xE9 r\xE9"
                             "cup\xE9r\xE9 : le dossier %s contient d\xE9j\xE0 un fichier de description "
                             "de cette image, avec d'autres textes. Pour ne perdre aucun texte, l'image "
                             "reste dans le dossier 'El\xE9ments Supprim\xE9s'."),
                static_cast<LPCSTR>(target.Mid(target.ReverseFind('\\') + 1)),
                static_cast<LPCSTR>(FolderOf(target)));
    ReportFileFailure(text, MB_ICONSTOP);
}

// Removing what a failed operation made; not a step of its own either.
void DiscardMade(const CString& path)
{
    if (!FileStopped() && !path.IsEmpty()) {
        SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path);
    }
}

// TRUE when both files hold the same bytes.
BOOL SameContent(const CString& a, const CString& b)
{
    CFile fa, fb;
    if (!fa.Open(a, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary)
        || !fb.Open(b, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary))
        return FALSE;
    if (fa.GetLength() != fb.GetLength())
        return FALSE;
    char ba[4096], bb[4096];
    try {
        for (;;) {
            UINT na = fa.Read(ba, sizeof(ba));
            UINT nb = fb.Read(bb, sizeof(bb));
            if (na != nb || memcmp(ba, bb, na) != 0)
                return FALSE;
            if (na == 0)
                return TRUE;
        }
    } catch (CException&) {
        return FALSE;
    }
}

BOOL ClearRestoredItem(const CDelObject& item, const CString& root, const CString& del);

// A folder in the trash holding, at any depth, a name the code page cannot spell is kept whole (its
// tree could not be deleted by names): the sentence saying so names it as the trash list shows it, and
// the name inside it, marked (the message box shows each mark as a question mark). Empty for any other
// item.
CString KeptForUnspelledName(const CDelObject& item)
{
    const CString dir = item.TrashFile(".dir");
    CString found;
    if (item.m_nKind == kTrashPicture || dir.IsEmpty() || !TreeHoldsUnspelledName(dir, &found))
        return CString();
    CString folder, name;
    SplitPath(item.m_strRelPath, &folder, &name);
    const CString inside = name + found.Mid(dir.GetLength());
    CString text;
    text.Format(
        LoadStringOr(IDS_TRASH_KEPT_UNSPELLED,
                     "Le dossier '%s' n'a pas \xE9t\xE9 effac\xE9 : il contient '%s', dont le nom a des "
                     "lettres que ce programme ne peut pas \xE9"
                     "crire."),
        static_cast<LPCSTR>(name), static_cast<LPCSTR>(inside));
    return text;
}

const char* const kTrashExts[] = {".del", ".pai", ".dai", ".dir"};

BOOL NameIsFree(const CString& trash, const CString& name)
{
    for (const char* ext : kTrashExts) {
        if (PathExists(trash + name + ext))
            return FALSE;
    }
    return TRUE;
}

// TRUE for the trash's own file names: a trash name and one of its four extensions.
BOOL IsTrashFileName(const CString& name)
{
    if (name.GetLength() != 12 || !IsTrashName(name.Left(8)))
        return FALSE;
    for (const char* ext : kTrashExts) {
        if (name.Mid(8).CompareNoCase(ext) == 0)
            return TRUE;
    }
    return FALSE;
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

BOOL MovePictureToTrash(const CString& path, BOOL bFromProtected)
{
    CDelObject item(kTrashPicture);
    item.m_bFromProtected = bFromProtected;
    item.m_strRelPath = RelativeToRoot(path);
    // Read now, not as listed: a record file that could not be read then may be the picture's, and
    // one another picture of the base name has taken since stays with it.
    if (RecordFileIsOwn(path))
        item.m_strRelDaiPath = RelativeToRoot(RecordFilePath(path));
    item.m_strOrigFolder = FolderOf(path);
    return item.MoveToTrash();
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
    CFolderListing listing(trash + "file*");
    WIN32_FIND_DATAA fd;
    while (listing.Next(fd)) {
        CString name = fd.cFileName;
        if (IsTrashFileName(name))
            used[strtoul(name.Mid(4, 4), nullptr, 16)] = true;
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
    ForgetFailedStep();
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
        // The trash record stands, whole, before the folder moves: only it keeps the folder's name,
        // and a folder in the trash without it could come back only under its trash name. A record
        // whose folder never arrived is cleared when the trash is next listed.
        const CString dir = TrashFile(".dir");
        DWORD a = GetFileAttributesA(source);
        if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY) || !SaveDel(del)) {
            ShowMoveToTrashFailed(source);
            return FALSE;
        }
        if (!SafeMove(source, dir)) {
            DiscardMade(del);
            ShowMoveToTrashFailed(source);
            return FALSE;
        }
        return TRUE;
    }

    const CString pai = TrashFile(".pai");
    DWORD a = GetFileAttributesA(source);
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) {
        if (a == INVALID_FILE_ATTRIBUTES)
            NoteFailedStep(source, ::GetLastError());
        ShowMoveToTrashFailed(source);
        return FALSE;
    }
    // The record reaches the trash before the picture, and is left behind in its folder under a
    // name that listing knows before the picture leaves: wherever a delete stops, the picture has its
    // texts beside it, in the trash they say where it came from, and no record stays under the
    // picture's name once it is gone.
    CString daiSource, dai;
    CSetAside behind(AsideKind::LeftBehind);
    if (!m_strRelDaiPath.IsEmpty() && PathExists(root + m_strRelDaiPath)) {
        daiSource = root + m_strRelDaiPath;
        dai = TrashFile(".dai");
        if (!SafeCopy(daiSource, dai)) {
            ShowMoveToTrashFailed(source, daiSource);
            return FALSE;
        }
        // A record another program holds stays where it is: so does its picture.
        if (!behind.Add(daiSource)) {
            DiscardMade(dai);
            ShowMoveToTrashFailed(source, daiSource);
            return FALSE;
        }
    }
    if (!SafeMove(source, pai)) {
        behind.Rollback();
        DiscardMade(dai);
        ShowMoveToTrashFailed(source, daiSource);
        return FALSE;
    }
    if (!SaveDel(del)) {
        behind.Rollback();
        MoveBack(pai, source);
        DiscardMade(dai);
        ShowMoveToTrashFailed(source, daiSource);
        return FALSE;
    }
    if (!behind.CommitOrRollback()) {
        // The record stays where it was: so does its picture.
        MoveBack(pai, source);
        if (!FileStopped() && PathExists(source)) {
            DiscardMade(del);
            DiscardMade(dai);
        }
        ShowMoveToTrashFailed(source, daiSource);
        return FALSE;
    }
    return TRUE;
}

void CDelObject::ForgetTrashRecord(const CString& target)
{
    // The item is back; a trash record left behind is cleared when the trash is next listed.
    if (!SafeDeleteFile(TrashFile(".del")))
        ShowStop(IDS_TRASH_RECORD_LEFT,
                 "%s a \xE9t\xE9 r\xE9"
                 "cup\xE9r\xE9, mais sa trace n'a pas pu \xEAtre retir\xE9"
                 "e du dossier 'El\xE9ments Supprim\xE9s'.",
                 target);
}

BOOL CDelObject::Restore()
{
    ForgetFailedStep();
    return m_nKind == kTrashPicture ? RestorePicture() : RestoreFolder();
}

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
        ShowRestoreFileFailed(target, NotInTrashCause());
        return FALSE;
    }
    // A path that would not fit (the library moved to a deeper folder since) is refused before
    // anything is made or asked.
    const CString daiTarget = m_strRelDaiPath.IsEmpty() ? RecordFilePath(target) : root + m_strRelDaiPath;
    if (!CheckPictureNameFits(target) || !CheckNameFits(daiTarget)) {
        ShowRestoreFileFailed(target);
        return FALSE;
    }
    if (!SafeCreateFolder(FolderOf(target))) {
        ShowRestoreFileFailed(target);
        return FALSE;
    }
    // A folder of the picture's name is never replaced by it.
    DWORD t = GetFileAttributesA(target);
    if (t != INVALID_FILE_ATTRIBUTES && (t & FILE_ATTRIBUTE_DIRECTORY)) {
        ShowStop(IDS_FOLDER_NOT_REPLACED, "%s est un dossier : il n'est pas remplac\xE9 par une image.",
                 target);
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
    BOOL withRecord = !daiTarget.IsEmpty() && PathExists(daiTrash);
    BOOL pictureClash = FALSE, dropOwnRecord = FALSE;
    for (const CString& c : clashing)
        pictureClash = pictureClash || !IsRecordFile(c);
    if (pictureClash) {
        if (withRecord && PathExists(daiTarget)) {
            bool listed = false;
            for (const CString& c : clashing)
                listed = listed || IsSamePath(c, daiTarget);
            if (!listed)
                clashing.push_back(daiTarget);
        }
        if (!ConfirmFileReplace(pai, target))
            return FALSE;
    } else {
        // Only a record there, whose picture is not being replaced. Of it and the picture's own, the
        // one with texts ends beside the picture and the other gives way; when both hold texts,
        // neither is deleted nor left behind: the item stays whole in the trash.
        clashing.clear();
        if (withRecord && PathExists(daiTarget)) {
            if (RecordFileHasNoTexts(daiTarget) || SameContent(daiTarget, daiTrash)) {
                clashing.push_back(daiTarget);
            } else if (RecordFileHasNoTexts(daiTrash)) {
                withRecord = FALSE;
                dropOwnRecord = TRUE;
            } else {
                ShowTextsOnBothSides(target);
                return FALSE;
            }
        }
    }

    // All or nothing: the old files are set aside, the picture and its record come back, and only
    // then is what was set aside deleted (records last, so a stop never brings a picture back
    // without its record).
    std::stable_partition(clashing.begin(), clashing.end(), [](const CString& c) { return IsRecordFile(c); });
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
    // Before the trash record: a stop in between leaves an item that listing clears.
    if (dropOwnRecord)
        SafeDeleteFile(daiTrash);
    ForgetTrashRecord(target);
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
        ShowRestoreFolderFailed(target, NotInTrashCause());
        return FALSE;
    }
    if (!CheckMoveFits(dir, target)) {
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
    ForgetTrashRecord(target);
    return TRUE;
}

BOOL CDelObject::Erase()
{
    ForgetFailedStep();
    // Only ever the item's own files, named exactly, inside the trash folder.
    const CString del = TrashFile(".del");
    if (del.IsEmpty())
        return FALSE;
    // A restore cut short after the picture went back left its record file here: it joins the
    // picture first, as listing the trash does, and there is nothing left to erase.
    const CString root = LibraryRoot();
    if (!root.IsEmpty() && ClearRestoredItem(*this, root, del))
        return TRUE;
    // A folder that cannot be deleted whole is refused before anything of it changes: its trash
    // record, deleted even for a moment, would take its name with it at a stop.
    const CString kept = KeptForUnspelledName(*this);
    if (!kept.IsEmpty()) {
        ReportFileFailure(kept, MB_ICONSTOP);
        return FALSE;
    }
    // The trash record goes first and the picture's record file last: a stop leaves the whole item
    // (a picture without its trash record is listed again with it) or nothing listed.
    BOOL ok = SafeDeleteFile(del);
    if (ok) {
        ok = m_nKind == kTrashPicture ? SafeDeleteFile(TrashFile(".pai")) : SafeDeleteTree(TrashFile(".dir"));
        // What could not be erased stays listed.
        if (!ok && !FileStopped())
            SaveDel(del);
    }
    // A record file that stays without its picture is listed nowhere; the next emptying takes it.
    if (ok && m_nKind == kTrashPicture)
        SafeDeleteFile(TrashFile(".dai"));
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

namespace {

// The picture type of a file by its first bytes, as an extension; jpg when unknown.
CString SniffPictureExt(const CString& path)
{
    unsigned char head[8] = {};
    DWORD got = 0;
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        ReadFile(h, head, sizeof(head), &got, nullptr);
        CloseHandle(h);
    }
    if (got >= 2 && head[0] == 'B' && head[1] == 'M')
        return "bmp";
    if (got >= 4 && head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G')
        return "png";
    if (got >= 4 && memcmp(head, "GIF8", 4) == 0)
        return "gif";
    if (got >= 4 && (memcmp(head, "II*\0", 4) == 0 || memcmp(head, "MM\0*", 4) == 0))
        return "tif";
    if (got >= 1 && head[0] == 0x0A)
        return "pcx";
    return "jpg";
}

// The picture path a record file in the trash holds (where the picture was); empty when unreadable.
CString RecordedPicturePath(const CString& dai)
{
    if (!PathExists(dai))
        return CString();
    CPicObject record;
    return ReadRecordAsIs(dai, record) ? record.m_strPath : CString();
}

// TRUE for a path inside the library and outside its trash, with no way out of the library in it.
BOOL InLibraryOutsideTrash(const CString& root, const CString& trash, const CString& path)
{
    return path.GetLength() > root.GetLength() && path.Left(root.GetLength()).CompareNoCase(root) == 0
           && path.Left(trash.GetLength()).CompareNoCase(trash) != 0
           && IsSafeRelativePath(path.Mid(root.GetLength()));
}

// Where a picture found in the trash without its trash record came from: the path its moved record
// file holds, when that lies in the library outside the trash; else "Images" under the name the
// record gives, or the trash name with the type read from the picture.
CString OrphanRelativePath(const CString& root, const CString& trash, const CString& name)
{
    const CString original = RecordedPicturePath(trash + name + ".dai");
    if (InLibraryOutsideTrash(root, trash, original))
        return original.Mid(root.GetLength());
    CString file = original.Mid(original.ReverseFind('\\') + 1);
    if (file.IsEmpty() || !IsSafeRelativePath(file) || file.Find('.') <= 0)
        file = name + "." + SniffPictureExt(trash + name + ".pai");
    return LoadStringOr(IDS_FOLDER_PICTURES, "Images") + "\\" + file;
}

// A trash record whose item is already back in its place (a restore cut short): the record file
// left in the trash joins the picture, and the trash record goes. FALSE when it must stay.
BOOL ClearRestoredItem(const CDelObject& item, const CString& root, const CString& del)
{
    if (!IsSafeRelativePath(item.m_strRelPath) || !PathExists(root + item.m_strRelPath))
        return FALSE;
    if (item.m_nKind == kTrashPicture) {
        if (PathExists(item.TrashFile(".pai")))
            return FALSE;
        const CString daiTrash = item.TrashFile(".dai");
        if (PathExists(daiTrash)) {
            const CString daiTarget =
                !item.m_strRelDaiPath.IsEmpty() && IsSafeRelativePath(item.m_strRelDaiPath)
                    ? root + item.m_strRelDaiPath
                    : RecordFilePath(root + item.m_strRelPath);
            // Of the record beside the picture and the one here, the one with texts stays; with
            // texts in both, neither is touched and the item stays listed.
            BOOL placed = !PathExists(daiTarget)            ? SafeMove(daiTrash, daiTarget)
                          : RecordFileHasNoTexts(daiTarget) ? ReplaceByMove(daiTrash, daiTarget, {daiTarget})
                          : RecordFileHasNoTexts(daiTrash)  ? SafeDeleteFile(daiTrash)
                                                            : FALSE;
            if (!placed)
                return FALSE;
        }
    } else if (PathExists(item.TrashFile(".dir"))) {
        return FALSE;
    }
    return SafeDeleteFile(del);
}

} // namespace

int RepairTrashFolder()
{
    const CString root = LibraryRoot();
    const CString trash = GetTrashFolder();
    if (root.IsEmpty() || trash.IsEmpty() || !PathExists(trash))
        return 0;
    int repaired = 0;
    std::vector<CString> pictures, folders, records, descriptions;
    CFolderListing listing(trash + "file*", UnspelledNames::Skipped);
    WIN32_FIND_DATAA fd;
    while (listing.Next(fd)) {
        CString name = fd.cFileName;
        if (!IsTrashFileName(name))
            continue;
        const CString ext = name.Mid(8);
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (ext.CompareNoCase(".dir") == 0)
                folders.push_back(name.Left(8));
        } else if (ext.CompareNoCase(".pai") == 0) {
            pictures.push_back(name.Left(8));
        } else if (ext.CompareNoCase(".del") == 0) {
            records.push_back(name.Left(8));
        } else if (ext.CompareNoCase(".dai") == 0) {
            descriptions.push_back(name.Left(8));
        }
    }
    // A picture moved into the trash whose trash record was never written: listed and restorable.
    for (const CString& name : pictures) {
        if (PathExists(trash + name + ".del"))
            continue;
        CDelObject item(kTrashPicture);
        item.m_strTrashName = name;
        item.m_strRelPath = OrphanRelativePath(root, trash, name);
        item.m_strRelDaiPath = RecordFilePath(item.m_strRelPath);
        item.m_strOrigFolder = FolderOf(root + item.m_strRelPath);
        const CString protectedFolder = LoadStringOr(IDS_FOLDER_PROTECTED, "Images Prot\xE9g\xE9"
                                                                           "es")
                                        + "\\";
        item.m_bFromProtected =
            item.m_strRelPath.Left(protectedFolder.GetLength()).CompareNoCase(protectedFolder) == 0;
        if (item.SaveDel(trash + name + ".del"))
            ++repaired;
    }
    // A folder moved into the trash whose trash record was never written: listed, and restorable
    // into "Images" under its trash name (its own name went with the record).
    for (const CString& name : folders) {
        if (PathExists(trash + name + ".del"))
            continue;
        CDelObject item(kTrashFolder);
        item.m_strTrashName = name;
        item.m_strRelPath = LoadStringOr(IDS_FOLDER_PICTURES, "Images") + "\\" + name;
        item.m_strOrigFolder = FolderOf(root + item.m_strRelPath);
        if (item.SaveDel(trash + name + ".del"))
            ++repaired;
    }
    // A record file with neither trash record nor picture: a delete cut short before its picture
    // moved, or an erase or an emptying cut short. The picture it describes, standing at the path it
    // names without a record, takes it back; otherwise it describes nothing that is kept (another
    // picture may have taken that path since), and goes.
    for (const CString& name : descriptions) {
        if (PathExists(trash + name + ".del") || PathExists(trash + name + ".pai"))
            continue;
        const CString dai = trash + name + ".dai";
        const CString picture = RecordedPicturePath(dai);
        const DWORD a = picture.IsEmpty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(picture);
        const BOOL standsAlone = a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY)
                                 && InLibraryOutsideTrash(root, trash, picture)
                                 && !PathExists(RecordFilePath(picture))
                                 && RecordDescribesPicture(dai, picture);
        if (standsAlone ? SafeMove(dai, RecordFilePath(picture)) : SafeDeleteFile(dai))
            ++repaired;
    }
    // A trash record whose item is back already.
    for (const CString& name : records) {
        CDelObject item;
        if (item.LoadDel(trash + name + ".del") && ClearRestoredItem(item, root, trash + name + ".del"))
            ++repaired;
    }
    return repaired;
}

BOOL TrashHoldsOwnFiles()
{
    const CString trash = GetTrashFolder();
    if (trash.IsEmpty())
        return FALSE;
    CFolderListing listing(trash + "file*");
    WIN32_FIND_DATAA fd;
    BOOL found = FALSE;
    while (!found && listing.Next(fd))
        found = IsTrashFileName(fd.cFileName);
    return found;
}

BOOL EmptyTrashFolder(CString* pKept)
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
    // A picture whose restore was cut short keeps the texts still lying here.
    RepairTrashFolder();
    BOOL ok = TRUE;
    CFolderListing listing(trash + "*");
    WIN32_FIND_DATAA fd;
    // Trash records first, then pictures and folders, then the rest: wherever emptying stops, an
    // item is listed whole (a picture alone gets its trash record back) or not at all.
    struct Entry {
        CString path;
        bool folder;
        int rank;
    };
    std::vector<Entry> entries;
    while (listing.Next(fd)) {
        if (IsDotEntry(fd.cFileName))
            continue;
        const CString name = fd.cFileName;
        const CString ext = name.GetLength() > 4 ? name.Right(4) : CString();
        const int rank = ext.CompareNoCase(".del") == 0                                     ? 0
                         : ext.CompareNoCase(".pai") == 0 || ext.CompareNoCase(".dir") == 0 ? 1
                                                                                            : 2;
        entries.push_back({trash + name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, rank});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.rank < b.rank; });
    std::vector<std::unique_ptr<CDelObject>> records;
    // Items one of whose files could not be deleted: the rest of their files stay with them (a
    // picture kept keeps its record file).
    std::set<CString> kept;
    // A folder that cannot be deleted whole is kept before anything is deleted, its trash record
    // first of all.
    for (const Entry& e : entries) {
        const CString name = e.path.Mid(trash.GetLength());
        if (!e.folder || e.rank != 1 || !IsTrashFileName(name))
            continue;
        CDelObject item;
        if (!item.LoadDel(trash + name.Left(8) + ".del")) {
            item.m_nKind = kTrashFolder;
            item.m_strTrashName = item.m_strRelPath = name.Left(8);
        }
        const CString why = KeptForUnspelledName(item);
        if (why.IsEmpty())
            continue;
        kept.insert(name.Left(8));
        ok = FALSE;
        if (pKept != nullptr)
            *pKept += (pKept->IsEmpty() ? "" : " ") + why;
    }
    for (const Entry& e : entries) {
        const CString name = e.path.Mid(trash.GetLength());
        const CString item = IsTrashFileName(name) ? name.Left(8) : CString();
        if (!item.IsEmpty() && kept.count(item))
            continue;
        if (e.rank == 0) {
            auto record = std::make_unique<CDelObject>();
            if (record->LoadDel(e.path))
                records.push_back(std::move(record));
        }
        if (e.folder ? !SafeDeleteTree(e.path) : !SafeDeleteFile(e.path)) {
            ok = FALSE;
            if (!item.IsEmpty())
                kept.insert(item);
        }
    }
    // An item that could not be deleted stays listed as it was.
    for (const auto& item : records) {
        const CString del = item->TrashFile(".del");
        if (!FileStopped() && !PathExists(del)
            && PathExists(item->TrashFile(item->m_nKind == kTrashPicture ? ".pai" : ".dir")))
            item->SaveDel(del);
    }
    return ok;
}
