// Renaming library pictures (one, or a numbered series) and library folders, with their dialogs and
// the confirmation of a folder deletion. A name the user types is refused when it could leave its
// folder or cannot be a file name. A picture keeps its record: the record file of the new name is
// written before the picture moves, and the old one is removed only after both.
#pragma once
#include "piclist/CutRenames.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "shell/NameTry.h"
#include "shell/SimpleDibButton.h"

#include <functional>
#include <vector>

class CPicObject;

// TRUE when the name can be given to a picture, a folder or a series: not empty, no path separator,
// no "..", no character Windows refuses in a file name, not ending with a dot or a blank.
BOOL IsUsablePictureName(const CString& name);

enum class RenameResult {
    Done,
    Unchanged, // same name: nothing to do (a case change of the shown name only when no file moved)
    Refused,   // the name cannot be used; nothing touched
    Taken,     // a file of that name (any extension; not a leftover record copy) is in the folder
    TooLong,   // a path of the new name would not fit (NameFits, SafeFileOps.h); nothing touched
    Failed     // a file step failed; everything is as it was
};

// TRUE for the results that refuse the name itself: the user is to type another.
BOOL IsRefusedName(RenameResult result);

// Renames the picture of rec (in folder) to newName (blanks trimmed) with its record file, and
// updates the record's path and names. The record is written under the new name before the picture
// moves; any failure puts back what was done.
RenameResult RenamePictureFiles(CPicObject& rec, const CString& folder, CString newName);
// The name of number n in a series: base, a blank and n, padded with zeros to `digits` when digits
// is above 0. Built without printf: a '%' typed in the base stays what it is.
CString SeriesName(const CString& base, int n, int digits);
// Digits of a padded series of count pictures: 2 below 100, 3 below 1000, 4 below 10000, else 5.
int SeriesDigits(int count);
// The first number above n whose series name nothing of the folder bears: no file of any extension
// (a record file left behind by an operation cut short aside) and no folder.
int NextFreeSeriesNumber(const CString& folder, const CString& base, int digits, int n);

// Renames the records in order as base 1, base 2... (skipping numbers taken in the folder). A
// picture that cannot be renamed keeps its name; as in every batch, the first failure asks whether
// to go on and the others are said in one summary at the end (FailureReport.h). *pFailedPath (when
// given) names the first picture that could not be renamed. The number of pictures renamed.
int RenamePictureSeries(const std::vector<CPicObject*>& records, const CString& folder, CString base,
                        BOOL bZeroPad, CString* pFailedPath);

// Renames the folder at path to newName in the same parent folder. Unchanged when the name is the
// same (exactly); Refused for an unusable name; Taken when anything bears the new name; TooLong when
// the folder or anything in it would not fit under the new name.
RenameResult RenameLibraryFolder(const CString& path, const CString& newName, CString* pNewPath);

// Tells the user why a name was not used (a beep, then the message, which for a failed rename names
// the reason its step gave; Unchanged and Done say nothing).
// name: the new name; oldPath: the picture that could not be renamed.
void ReportRenameResult(RenameResult result, const CString& name, const CString& oldPath);
// The same for a folder: name is the new name, folderLabel the folder's name before the rename.
void ReportFolderRenameResult(RenameResult result, const CString& name, const CString& folderLabel);

// The last state of the series dialog's zero-pad box (this run only).
extern int g_bRenameZeroPad;

// ---- dialogs ----

// The rename dialogs try the typed name when OK is pressed, while they are open (shell/NameTry.h).

// Dialog 287: a folder's new name.
class CRenameFolderDlg : public CDialog {
    DECLARE_DYNAMIC(CRenameFolderDlg)
public:
    explicit CRenameFolderDlg(CWnd* pParentWnd = nullptr);
    CString m_strName;
    NameTry m_try;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};

// Dialog 282: one picture's new name, with its thumbnail.
class CRenamePictureDlg : public CDialog {
    DECLARE_DYNAMIC(CRenamePictureDlg)
public:
    explicit CRenamePictureDlg(CWnd* pParentWnd = nullptr);
    CDibButton m_preview;
    CSimpleDibButton m_illustration;
    CSimpleDibButton m_logo;
    CString m_strName;
    NameTry m_try;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// Dialog 279: the base name of a numbered series, the zero-pad choice and the pictures' thumbnails.
class CRenamePicturesDlg : public CDialog {
    DECLARE_DYNAMIC(CRenamePicturesDlg)
public:
    explicit CRenamePicturesDlg(CWnd* pParentWnd = nullptr);
    ~CRenamePicturesDlg() override;
    CString m_strName;
    CSimpleDibButton m_illustration;
    CSimpleDibButton m_logo;
    int m_bZeroPad = 0;
    // Copies of the records to show; the list box takes them over (and deletes them).
    std::vector<CPicObject*>* m_pRecords = nullptr;
    NameTry m_try;

    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMIS);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS);
    void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDIS);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    DECLARE_MESSAGE_MAP()

private:
    CFont m_font;
};

// Dialog 284: confirms deleting a folder and everything under it.
class CDeleteFolderDlg : public CDialog {
    DECLARE_DYNAMIC(CDeleteFolderDlg)
public:
    explicit CDeleteFolderDlg(CWnd* pParentWnd = nullptr);
    CSimpleDibButton m_illustration;
    CSimpleDibButton m_logo;
    CString m_strFolder;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};

// ---- the commands' dialog parts (the list and tree sides are the library bar's) ----

// A rename that fails keeps its dialog open with the typed name, after its message (with Retry where
// the cause can pass: a full disk, a file another program holds); a series keeps it when none of
// its pictures could take the name.

// Asks for the picture's new name and renames it. TRUE when the picture got a new name (or a new
// case of its shown name).
BOOL RunRenamePicture(CWnd* pParent, CPicObject& rec, const CString& folder);
// Asks for a base name and renames the records as a series. TRUE when at least one was renamed.
BOOL RunRenamePictureSeries(CWnd* pParent, const std::vector<CPicObject*>& records, const CString& folder);
// Asks for the folder's new name (label: its shown name) and renames it. TRUE with *pNewPath when
// renamed.
BOOL RunRenameFolder(CWnd* pParent, const CString& path, const CString& label, CString* pNewPath);
// Asks before a folder is deleted; TRUE for " SUPPRIMER ! ".
BOOL ConfirmDeleteFolder(CWnd* pParent, const CString& label);
