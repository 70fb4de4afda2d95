// File-type associations (the picture kinds the shell opens with this program: check, register,
// the types dialog) and the small icon of any file for the program's lists.
#pragma once
#include "framework/Dialog.h"

struct AssociationRow {
    UINT bit;          // the bit of "AssocDetail" that selects the row
    LPCSTR extension;  // without the dot
    LPCSTR typePrefix; // the registry class is the prefix followed by "file"
    int iconIndex;     // index of the program's icon given in "DefaultIcon"
    UINT descriptionId;
};
// The 22 rows, in the order they are tested and written.
const AssociationRow* AssociationTable(int* pCount);

// The program file's full path (any length) as the shell values name it.
CString AssociationProgramPath();
// The texts of a row's values: the command ("<program>" %1) and the icon (<program>,<index>).
CString AssociationCommandText(LPCSTR programPath);
CString AssociationIconText(LPCSTR programPath, int iconIndex);

// TRUE when the class name, the command and the icon of the row are in place under
// HKEY_CLASSES_ROOT (compared without regard to case; the description is not compared).
BOOL IsAssociated(LPCSTR extension, LPCSTR typePrefix, int iconIndex);
// Writes the class name, the description, the command and the icon of a row; failures are skipped.
void SetAssociation(LPCSTR extension, LPCSTR typePrefix, int iconIndex, UINT descriptionId);
// TRUE when associations are not wanted, or when every row selected by the mask is in place.
BOOL CheckAssociationRows(BOOL bWanted, int nDetail);
// Writes every row the mask selects, then tells the shell; nothing when associations are not wanted.
void RegisterAssociationRows(BOOL bWanted, int nDetail);

// Reads the default value of a key into buffer (emptied first); TRUE when read and not empty.
BOOL RegQueryDefaultValue(HKEY root, LPCSTR subKey, LPSTR buffer, DWORD size);

// Index in g_imlFileTypes of a file's small icon: 1 a folder, 0 no extension or no icon, type code
// + 1 for a type the program reads, else the icon of the extension's registered class (looked up
// once per extension and kept). *pDescription (when asked) gets the class's description for such
// an extension (valid until the cache is freed), 0 for a file without extension.
int GetFileTypeIconIndex(LPCSTR path, LPCSTR* pDescription);
// Frees the cache of looked-up extensions (at exit).
void FreeFileIconCache();

// The types dialog: one box per picture kind.
class CDocTypesDlg : public CDialog {
    DECLARE_DYNAMIC(CDocTypesDlg)
public:
    explicit CDocTypesDlg(CWnd* pParentWnd = nullptr);

    BOOL m_bTypes[11] = {};

    // The boxes from a mask, and the mask the ticked boxes make (other bits cleared).
    void SetFromMask(int nMask);
    int GetMask() const;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
