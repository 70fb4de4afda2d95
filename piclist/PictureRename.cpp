#include "piclist/PictureRename.h"

#include "core/DIB.h"
#include "core/FileUtil.h"
#include "core/FolderListing.h"
#include "core/PackedDib.h"
#include "core/Progress.h"
#include "core/SystemUtil.h"
#include "framework/DataExchange.h"
#include "framework/Dc.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "piclist/FailureCause.h"
#include "piclist/FailureReport.h"
#include "piclist/FittedText.h"
#include "piclist/ListCellLayout.h"
#include "piclist/NameRule.h"
#include "piclist/PicListBox.h"
#include "piclist/PicObject.h"
#include "piclist/SafeFileOps.h"
#include "resources/library-cmds-ids.h"
#include "resources/resource.h"
#include "shell/SharedUi.h"

#include <cctype>
#include <vector>

int g_bRenameZeroPad = 0;

namespace {

// TRUE when a file of the folder is named name.<anything> (with bFolders, a folder too). A record
// file that an operation cut short left behind, a copy of another that stands, holds no name.
BOOL NameIsTaken(const CString& folder, const CString& name, BOOL bFolders)
{
    CFolderListing listing(WithSlash(folder) + name + ".*");
    WIN32_FIND_DATAA entry;
    BOOL taken = FALSE;
    while (!taken && listing.Next(entry)) {
        const CString found = entry.cFileName;
        if (found == "." || found == "..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            taken = bFolders;
        else
            taken = !IsRecordFile(found) || !IsLeftoverRecordCopy(WithSlash(folder) + found);
    }
    return taken;
}

// A free temporary name beside path, for moves that change only the case of a name.
CString FreeTempBeside(const CString& folder)
{
    for (unsigned n = ::GetTickCount() & 0xFFF, tries = 0; tries < 0x1000; n = (n + 1) & 0xFFF, tries++) {
        CString name;
        name.Format("~ren%04X.tmp", n);
        if (!PathExists(folder + name))
            return folder + name;
    }
    return CString();
}

// TRUE when a file other than the record file itself and the picture names it as its record
// (photo.jpg beside photo.png): photo.* lists every candidate.
BOOL RecordFileInUse(const CString& recordFile, const CString& picture)
{
    const int dot = recordFile.ReverseFind('.');
    if (dot < 0)
        return FALSE;
    for (const CString& file : ListMatchingFiles(recordFile.Left(dot) + ".*")) {
        if (file.CompareNoCase(recordFile) != 0 && file.CompareNoCase(picture) != 0
            && RecordFilePath(file).CompareNoCase(recordFile) == 0)
            return TRUE;
    }
    return FALSE;
}

// The system's reason the file cannot be opened for reading now (ERROR_SUCCESS when it can).
DWORD ReadOpenError(const CString& path)
{
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    ::CloseHandle(file);
    return ERROR_SUCCESS;
}

// A record file that its listing could not read is the picture's own until read otherwise: read now,
// its texts go to the new name with the picture (another picture's stays with that one); while it
// still cannot be read, FALSE, noted as a failed step on it, and nothing moves.
BOOL ReadUnreadRecordAgain(CPicObject& rec, const CString& picture)
{
    CPicObject read;
    read.m_strPath = picture;
    read.m_bHeaderOnly = TRUE;
    read.m_bReadOnly = TRUE;
    switch (read.ReadRecordFile()) {
    case RecordRead::Unreadable:
        NoteFailedStep(RecordFilePath(picture), ReadOpenError(RecordFilePath(picture)));
        return FALSE;
    case RecordRead::Foreign:
        rec.m_bRecordOfOther = TRUE;
        return TRUE;
    case RecordRead::Loaded:
    case RecordRead::Broken:
        rec.m_strComment = read.m_strComment;
        rec.m_strAuthor = read.m_strAuthor;
        rec.m_strKeywords = read.m_strKeywords;
        rec.m_strReserved = read.m_strReserved;
        break;
    case RecordRead::Absent:
        break;
    }
    rec.m_bMemoryOnly = FALSE;
    return TRUE;
}

struct SavedNames {
    CString path, fileName, baseName;
};

SavedNames Save(const CPicObject& rec) { return {rec.m_strPath, rec.m_strFileName, rec.m_strBaseName}; }

void Put(CPicObject& rec, const SavedNames& names)
{
    rec.m_strPath = names.path;
    rec.m_strFileName = names.fileName;
    rec.m_strBaseName = names.baseName;
}

// A message of the string table whose "%s" takes a name (the name itself is never a format).
CString MessageNaming(UINT id, const CString& name)
{
    CString format, text;
    format.LoadString(id);
    text.Format(format, static_cast<LPCSTR>(name));
    return text;
}

// The file a failed rename names: its record file when another program holds that, as the moves do.
CString FileOfFailedRename(const CString& picture)
{
    return PictureFileThatFailed(picture, RecordFilePath(picture), picture);
}

// Why the picture could not be renamed.
CString RenameFailedText(const CString& oldPath)
{
    return WithFailedStepCause(MessageNaming(IDS_RENAME_FAILED, FileOfFailedRename(oldPath)));
}

CString FolderRenameFailedText(const CString& folderLabel)
{
    return WithFailedFolderStepCause(MessageNaming(IDS_RENAME_FOLDER_FAILED, folderLabel));
}

// TRUE when every picture of a series of base can take the name the series will give it in the
// folder: the numbers are given as the rename gives them, passing those taken. Else says which
// picture could not, and why.
BOOL SeriesNamesFit(const std::vector<CPicObject*>& records, const CString& folder, const CString& base,
                    BOOL bZeroPad)
{
    const int digits = bZeroPad ? SeriesDigits(static_cast<int>(records.size())) : 0;
    ForgetFailedStep();
    int number = 0;
    for (CPicObject* rec : records) {
        number = NextFreeSeriesNumber(folder, base, digits, number);
        const CString name = SeriesName(base, number, digits);
        if (!CheckPictureNameFits(WithSlash(folder) + name + rec->DottedExtension())) {
            ReportRenameResult(RenameResult::TooLong, name, WithSlash(folder) + rec->NameOnDisk());
            return FALSE;
        }
    }
    return TRUE;
}

PackedDIB LoadDialogPicture(LPCSTR name)
{
    g_bReportProgress = FALSE;
    PackedDIB hDIB = LoadDIBResource(AfxGetResourceHandle(), name);
    g_bReportProgress = TRUE;
    return hDIB;
}

} // namespace

BOOL IsUsablePictureName(const CString& name) { return IsAcceptableName(name); }

BOOL IsRefusedName(RenameResult result)
{
    return result == RenameResult::Refused || result == RenameResult::Taken
           || result == RenameResult::TooLong;
}

RenameResult RenamePictureFiles(CPicObject& rec, const CString& folder, CString newName)
{
    ForgetFailedStep();
    newName.TrimLeft(" ");
    newName.TrimRight(" ");
    if (!IsUsablePictureName(newName))
        return RenameResult::Refused;
    if (rec.m_strBaseName == newName)
        return RenameResult::Unchanged;

    const CString dir = WithSlash(folder);
    const CString ext = rec.DottedExtension();
    const CString oldPicture = dir + rec.m_strBaseName + ext;
    const CString newPicture = dir + newName + ext;
    const CString oldRecord = RecordFilePath(oldPicture);
    const BOOL caseOnly = rec.m_strBaseName.CompareNoCase(newName) == 0;
    // The new picture and its record are to be reachable under their names, also by this program.
    if (!caseOnly && !CheckPictureNameFits(newPicture))
        return RenameResult::TooLong;
    if (!caseOnly && NameIsTaken(folder, newName, FALSE))
        return RenameResult::Taken;
    if (!PathExists(oldPicture)) {
        NoteFailedStep(oldPicture, ERROR_FILE_NOT_FOUND);
        return RenameResult::Failed;
    }

    const SavedNames before = Save(rec);
    if (caseOnly) {
        // The same name to the system: the picture goes through a free name to take the new case,
        // then the record is rewritten (it keeps its place; only its content changes).
        CString temp = FreeTempBeside(dir);
        if (temp.IsEmpty() || !SafeMove(oldPicture, temp))
            return RenameResult::Failed;
        if (!SafeMove(temp, newPicture)) {
            SafeMove(temp, oldPicture);
            return RenameResult::Failed;
        }
        rec.m_strPath = newPicture;
        rec.m_strBaseName = newName;
        rec.m_strFileName = newName + ext;
        if (!rec.SaveDai()) {
            // The picture keeps its new case; the record file still holds the texts under the
            // old spelling, which is read back all the same.
        }
        return RenameResult::Done;
    }

    if (rec.m_bMemoryOnly && !rec.m_bRecordOfOther && !ReadUnreadRecordAgain(rec, oldPicture))
        return RenameResult::Failed;
    // The record of the new name first: the user's texts exist twice before the picture moves. The
    // new name is free, so its record file is this record's own even when the old one was not. The
    // old one goes when it was this picture's and no other picture of the old base name uses it:
    // left behind, before the picture moves, under a name that listing knows, so that no stop leaves
    // it under the old name for another picture that takes that name.
    const BOOL memoryOnly = rec.m_bMemoryOnly, recordOfOther = rec.m_bRecordOfOther;
    const BOOL leaveOldRecord =
        !memoryOnly && PathExists(oldRecord) && !RecordFileInUse(oldRecord, oldPicture);
    rec.m_strPath = newPicture;
    rec.m_strBaseName = newName;
    rec.m_strFileName = newName + ext;
    rec.m_bMemoryOnly = FALSE;
    rec.m_bRecordOfOther = FALSE;
    CSetAside behind(AsideKind::LeftBehind);
    BOOL ok = rec.SaveDai() && (!leaveOldRecord || behind.Add(oldRecord)) && SafeMove(oldPicture, newPicture);
    // The old record goes before the rename is done: while it cannot, the picture goes back to it, as
    // in a move. (A picture that cannot go back keeps its new name and its new record.)
    if (ok && !behind.CommitOrRollback() && (FileStopped() || MoveBack(newPicture, oldPicture)))
        ok = FALSE;
    if (!ok) {
        behind.Rollback();
        Put(rec, before);
        rec.m_bMemoryOnly = memoryOnly;
        rec.m_bRecordOfOther = recordOfOther;
        SafeDeleteFile(RecordFilePath(newPicture));
        return RenameResult::Failed;
    }
    return RenameResult::Done;
}

CString SeriesName(const CString& base, int n, int digits)
{
    char number[16];
    wsprintfA(number, "%d", n);
    CString text = number;
    while (text.GetLength() < digits)
        text = "0" + text;
    return base + " " + text;
}

int SeriesDigits(int count)
{
    if (count < 100)
        return 2;
    if (count < 1000)
        return 3;
    if (count < 10000)
        return 4;
    return 5;
}

int NextFreeSeriesNumber(const CString& folder, const CString& base, int digits, int n)
{
    do {
        n++;
    } while (NameIsTaken(folder, SeriesName(base, n, digits), TRUE) && n < 0x7FFFFFF);
    return n;
}

int RenamePictureSeries(const std::vector<CPicObject*>& records, const CString& folder, CString base,
                        BOOL bZeroPad, CString* pFailedPath)
{
    base.TrimLeft(" ");
    base.TrimRight(" ");
    if (!IsUsablePictureName(base))
        return 0;
    const int digits = bZeroPad ? SeriesDigits(static_cast<int>(records.size())) : 0;
    // A failure asks once whether to go on; the others wait for the batch's summary.
    CFailureBatch failures(static_cast<int>(records.size()));
    int n = 0, done = 0;
    for (CPicObject* rec : records) {
        if (rec == nullptr)
            break;
        const int number = NextFreeSeriesNumber(folder, base, digits, n);
        CString oldPicture = WithSlash(folder) + rec->NameOnDisk();
        RenameResult result = RenamePictureFiles(*rec, folder, SeriesName(base, number, digits));
        if (result == RenameResult::Done || result == RenameResult::Unchanged) {
            // A number whose rename failed is free again for the next picture.
            n = number;
            done++;
        } else {
            if (pFailedPath != nullptr && pFailedPath->IsEmpty())
                *pFailedPath = oldPicture;
            ReportStepFailure(MessageNaming(IDS_RENAME_FAILED, FileOfFailedRename(oldPicture)),
                              MB_ICONEXCLAMATION);
        }
        failures.Next();
        if (failures.Stopped())
            break;
    }
    return done;
}

RenameResult RenameLibraryFolder(const CString& path, const CString& newName, CString* pNewPath)
{
    ForgetFailedStep();
    CString folder, label;
    SplitPath(path, &folder, &label);
    if (newName == label)
        return RenameResult::Unchanged;
    if (!IsUsablePictureName(newName))
        return RenameResult::Refused;
    int slash = path.ReverseFind('\\');
    CString target = slash >= 0 ? path.Left(slash + 1) + newName : newName;
    BOOL caseOnly = newName.CompareNoCase(label) == 0;
    if (!caseOnly && !CheckMoveFits(path, target))
        return RenameResult::TooLong;
    if (!caseOnly && PathExists(target))
        return RenameResult::Taken;
    if (caseOnly) {
        CString temp = FreeTempBeside(path.Left(slash + 1));
        if (temp.IsEmpty() || !SafeMove(path, temp))
            return RenameResult::Failed;
        if (!SafeMove(temp, target)) {
            SafeMove(temp, path);
            return RenameResult::Failed;
        }
    } else if (!SafeMove(path, target)) {
        return RenameResult::Failed;
    }
    if (pNewPath != nullptr)
        *pNewPath = target;
    return RenameResult::Done;
}

void ReportRenameResult(RenameResult result, const CString& name, const CString& oldPath)
{
    switch (result) {
    case RenameResult::Refused:
        ::MessageBeep(static_cast<UINT>(-1));
        AfxMessageBox(IDS_NAME_REFUSED, MB_ICONEXCLAMATION);
        break;
    case RenameResult::Taken:
        ::MessageBeep(static_cast<UINT>(-1));
        AfxMessageBox(MessageNaming(IDS_RENAME_NAME_TAKEN, name), MB_ICONEXCLAMATION);
        break;
    case RenameResult::TooLong:
    case RenameResult::Failed:
        ::MessageBeep(static_cast<UINT>(-1));
        AfxMessageBox(RenameFailedText(oldPath), MB_ICONEXCLAMATION);
        break;
    default:
        break;
    }
}

void ReportFolderRenameResult(RenameResult result, const CString& name, const CString& folderLabel)
{
    switch (result) {
    case RenameResult::Refused:
        ReportRenameResult(result, name, CString());
        break;
    case RenameResult::Taken:
        ::MessageBeep(static_cast<UINT>(-1));
        AfxMessageBox(MessageNaming(IDS_RENAME_FOLDER_TAKEN, name), MB_ICONEXCLAMATION);
        break;
    case RenameResult::TooLong:
    case RenameResult::Failed:
        ::MessageBeep(static_cast<UINT>(-1));
        AfxMessageBox(FolderRenameFailedText(folderLabel), MB_ICONEXCLAMATION);
        break;
    default:
        break;
    }
}

// ---- dialogs ----

IMPLEMENT_DYNAMIC(CRenameFolderDlg, CDialog)
IMPLEMENT_DYNAMIC(CRenamePictureDlg, CDialog)
IMPLEMENT_DYNAMIC(CRenamePicturesDlg, CDialog)
IMPLEMENT_DYNAMIC(CDeleteFolderDlg, CDialog)

CRenameFolderDlg::CRenameFolderDlg(CWnd* pParentWnd) : CDialog(IDD_RENAME_FOLDER, pParentWnd) {}

void CRenameFolderDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_NameText(pDX, IDC_RENAME_FOLDER_NAME, m_strName, TRUE);
    DDV_MaxChars(pDX, m_strName, MAX_PATH - 1);
}

void CRenameFolderDlg::OnOK() { EndIfNameAccepted(*this, IDC_RENAME_FOLDER_NAME, m_try, m_strName); }

CRenamePictureDlg::CRenamePictureDlg(CWnd* pParentWnd) : CDialog(IDD_RENAME_PICTURE, pParentWnd) {}

void CRenamePictureDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PICTURE_PREVIEW, m_preview);
    DDX_Control(pDX, IDC_DIALOG_ILLUSTRATION, m_illustration);
    DDX_Control(pDX, IDC_PICTURE_LOGO, m_logo);
    DDX_NameText(pDX, IDC_RENAME_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, MAX_PATH - 1);
}

void CRenamePictureDlg::OnOK() { EndIfNameAccepted(*this, IDC_RENAME_NAME, m_try, m_strName); }

BOOL CRenamePictureDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND hEdit = ::GetDlgItem(m_hWnd, IDC_RENAME_NAME);
    ::SetFocus(hEdit);
    ::SendMessageA(hEdit, EM_SETSEL, 0, -1);
    return FALSE;
}

BEGIN_MESSAGE_MAP(CRenamePicturesDlg, CDialog)
    ON_WM_MEASUREITEM()
    ON_WM_DRAWITEM()
    ON_WM_DELETEITEM()
END_MESSAGE_MAP()

CRenamePicturesDlg::CRenamePicturesDlg(CWnd* pParentWnd) : CDialog(IDD_RENAME_PICTURES, pParentWnd) {}

CRenamePicturesDlg::~CRenamePicturesDlg() = default;

void CRenamePicturesDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_NameText(pDX, IDC_RENAME_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, MAX_PATH - 1);
    DDX_Control(pDX, IDC_DIALOG_ILLUSTRATION, m_illustration);
    DDX_Control(pDX, IDC_PICTURE_LOGO, m_logo);
    DDX_Check(pDX, IDC_RENAME_ZERO_PAD, m_bZeroPad);
}

BOOL CRenamePicturesDlg::OnInitDialog()
{
    m_font.Attach(CreateThumbnailCaptionFont());
    CDialog::OnInitDialog();
    HWND hList = ::GetDlgItem(m_hWnd, IDC_RENAME_LIST);
    ::SendMessageA(hList, LB_SETCOLUMNWIDTH, 85, 0);
    ::SendMessageA(hList, LB_SETITEMHEIGHT, 0, 82);
    if (m_pRecords != nullptr) {
        for (CPicObject* rec : *m_pRecords)
            ::SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rec));
        m_pRecords->clear();
    }
    HWND hEdit = ::GetDlgItem(m_hWnd, IDC_RENAME_NAME);
    ::SetFocus(hEdit);
    ::SendMessageA(hEdit, EM_SETSEL, 0, -1);
    return FALSE;
}

void CRenamePicturesDlg::OnOK() { EndIfNameAccepted(*this, IDC_RENAME_NAME, m_try, m_strName); }

void CRenamePicturesDlg::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMIS)
{
    if (nIDCtl != IDC_RENAME_LIST) {
        Default();
        return;
    }
    lpMIS->itemWidth = 85;
    lpMIS->itemHeight = 82;
}

void CRenamePicturesDlg::OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDIS)
{
    if (nIDCtl != IDC_RENAME_LIST) {
        Default();
        return;
    }
    delete reinterpret_cast<CPicObject*>(lpDIS->itemData);
}

void CRenamePicturesDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS)
{
    if (nIDCtl != IDC_RENAME_LIST) {
        Default();
        return;
    }
    CPicObject* rec = reinterpret_cast<CPicObject*>(lpDIS->itemData);
    if (lpDIS->itemID == static_cast<UINT>(-1) || rec == nullptr)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const BOOL selected = (lpDIS->itemState & ODS_SELECTED) != 0;
    CRect item(lpDIS->rcItem);
    ::FillRect(lpDIS->hDC, &item, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    CRect box = item;
    box.DeflateRect(2, 2);
    box.bottom -= 16;
    if (rec->m_pThumbDIB != nullptr && box.Width() > 0 && box.Height() > 0)
        rec->m_pThumbDIB->DrawScaled(pDC, box, TRUE);
    int oldMode = ::SetBkMode(lpDIS->hDC, TRANSPARENT);
    COLORREF oldColor =
        ::SetTextColor(lpDIS->hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    HGDIOBJ oldFont =
        ::SelectObject(lpDIS->hDC, m_font.GetSafeHandle() != nullptr ? m_font.GetSafeHandle()
                                                                     : ::GetStockObject(ANSI_VAR_FONT));
    RECT text = {item.left + 3, item.bottom - 14, item.right - 3, item.bottom};
    ::DrawTextA(lpDIS->hDC, rec->m_strBaseName, rec->m_strBaseName.GetLength(), &text,
                kListTextFlags | DT_CENTER);
    ::SelectObject(lpDIS->hDC, oldFont);
    ::SetTextColor(lpDIS->hDC, oldColor);
    ::SetBkMode(lpDIS->hDC, oldMode);
}

CDeleteFolderDlg::CDeleteFolderDlg(CWnd* pParentWnd) : CDialog(IDD_DELETE_FOLDER, pParentWnd) {}

void CDeleteFolderDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DIALOG_ILLUSTRATION, m_illustration);
    DDX_Control(pDX, IDC_PICTURE_LOGO, m_logo);
}

BOOL CDeleteFolderDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (g_fontArial12Bold.GetSafeHandle() != nullptr)
        ::SendDlgItemMessageA(m_hWnd, IDC_DELETE_FOLDER_NAME, WM_SETFONT,
                              reinterpret_cast<WPARAM>(g_fontArial12Bold.GetSafeHandle()), TRUE);
    // In its font, a long name loses its middle rather than its second line.
    SetFittedText(m_hWnd, IDC_DELETE_FOLDER_NAME, m_strFolder);
    return TRUE;
}

// ---- the commands' dialog parts ----

BOOL RunRenamePicture(CWnd* pParent, CPicObject& rec, const CString& folder)
{
    CRenamePictureDlg dlg(pParent);
    dlg.m_strName = rec.m_strBaseName;
    if (rec.m_pThumbDIB != nullptr)
        dlg.m_preview.m_dib = *rec.m_pThumbDIB;
    PackedDIB hLogo = LoadDialogPicture("ORVANEL8");
    PackedDIB hIllustration = LoadDialogPicture("RENAMEPIC");
    dlg.m_logo.m_hDIB = hLogo;
    dlg.m_illustration.m_hDIB = hIllustration;
    const CString oldPicture = WithSlash(folder) + rec.NameOnDisk();
    RenameResult result = RenameResult::Unchanged;
    dlg.m_try = [&](const CString& typed) -> BOOL {
        CString name = typed;
        name.TrimLeft(" ");
        name.TrimRight(" ");
        do {
            result = RenamePictureFiles(rec, folder, name);
            if (result != RenameResult::Failed) {
                ReportRenameResult(result, name, oldPicture);
                return !IsRefusedName(result);
            }
            // The typed name stays in the dialog, to be tried again or changed.
        } while (AskRetryOfFailedStep(RenameFailedText(oldPicture), MB_ICONEXCLAMATION));
        return FALSE;
    };
    INT_PTR answer = dlg.DoModal();
    GlobalFreeHandle(hLogo);
    GlobalFreeHandle(hIllustration);
    return answer == IDOK && result == RenameResult::Done;
}

BOOL RunRenamePictureSeries(CWnd* pParent, const std::vector<CPicObject*>& records, const CString& folder)
{
    if (records.empty())
        return FALSE;
    std::vector<CPicObject*> copies;
    for (CPicObject* rec : records) {
        CPicObject* copy = new CPicObject;
        copy->Copy(*rec);
        copies.push_back(copy);
    }
    CRenamePicturesDlg dlg(pParent);
    dlg.m_strName.LoadString(IDS_RENAME_BASE_NAME);
    dlg.m_bZeroPad = g_bRenameZeroPad;
    dlg.m_pRecords = &copies;
    PackedDIB hLogo = LoadDialogPicture("ORVANEL8");
    PackedDIB hIllustration = LoadDialogPicture("RENAMEPIC");
    dlg.m_logo.m_hDIB = hLogo;
    dlg.m_illustration.m_hDIB = hIllustration;
    CString base;
    int renamed = 0;
    dlg.m_try = [&](const CString& typed) -> BOOL {
        base = typed;
        base.TrimLeft(" ");
        base.TrimRight(" ");
        if (!IsUsablePictureName(base)) {
            ReportRenameResult(RenameResult::Refused, base, CString());
            return FALSE;
        }
        if (!SeriesNamesFit(records, folder, base, dlg.m_bZeroPad))
            return FALSE;
        // Its failures said as a batch's, a series none of whose pictures could take its name keeps
        // the name in the dialog, to be tried again or changed.
        renamed = RenamePictureSeries(records, folder, base, dlg.m_bZeroPad, nullptr);
        return renamed > 0;
    };
    INT_PTR answer = dlg.DoModal();
    GlobalFreeHandle(hLogo);
    GlobalFreeHandle(hIllustration);
    // Copies the list box never took (the dialog could not open).
    for (CPicObject* copy : copies)
        delete copy;
    if (answer != IDOK)
        return FALSE;
    g_bRenameZeroPad = dlg.m_bZeroPad;
    return renamed > 0;
}

BOOL RunRenameFolder(CWnd* pParent, const CString& path, const CString& label, CString* pNewPath)
{
    CRenameFolderDlg dlg(pParent);
    dlg.m_strName = label;
    RenameResult result = RenameResult::Unchanged;
    dlg.m_try = [&](const CString& name) -> BOOL {
        // The same name or none: nothing to rename, and the dialog closes.
        if (name == label || name.IsEmpty())
            return TRUE;
        do {
            result = RenameLibraryFolder(path, name, pNewPath);
            if (result != RenameResult::Failed) {
                ReportFolderRenameResult(result, name, label);
                return !IsRefusedName(result);
            }
        } while (AskRetryOfFailedStep(FolderRenameFailedText(label), MB_ICONEXCLAMATION));
        return FALSE;
    };
    if (dlg.DoModal() != IDOK)
        return FALSE;
    if (dlg.m_strName.IsEmpty())
        ::MessageBeep(static_cast<UINT>(-1));
    return result == RenameResult::Done;
}

BOOL ConfirmDeleteFolder(CWnd* pParent, const CString& label)
{
    CDeleteFolderDlg dlg(pParent);
    dlg.m_strFolder = label;
    PackedDIB hLogo = LoadDialogPicture("ORVANEL8");
    PackedDIB hIllustration = LoadDialogPicture("DELFOLDER");
    dlg.m_logo.m_hDIB = hLogo;
    dlg.m_illustration.m_hDIB = hIllustration;
    INT_PTR answer = dlg.DoModal();
    GlobalFreeHandle(hLogo);
    GlobalFreeHandle(hIllustration);
    return answer == IDOK;
}
