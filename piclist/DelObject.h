// CDelObject: the trash record of a deleted library picture or folder and its ".del" file, the trash
// folder of the library root ("Eléments Supprimés") with its names file0001 to fileFFFF, and the
// moves into the trash, back out of it and out of existence.
#pragma once
#include "framework/Object.h"
#include "framework/String.h"

class CArchive;

// Kinds of trash item.
const int kTrashPicture = 0;
const int kTrashFolder = 1;

// The trash folder of the library root, with its trailing backslash; empty when the root is not set.
CString GetTrashFolder();
// TRUE for "file0001" to "fileFFFF" (four upper-case hexadecimal digits, never file0000).
BOOL IsTrashName(const CString& name);

class CDelObject : public CObject {
    DECLARE_SERIAL(CDelObject)
public:
    // Strings empty, numbers 0: used before reading a record.
    CDelObject();
    // A new record of that kind: not from the protected folder, stamped now, with the first free
    // trash name (empty when the trash is full).
    explicit CDelObject(int nKind);

    void Serialize(CArchive& ar) override;

    // The first name none of whose four files (.del, .pai, .dai, .dir) exists in the trash; empty
    // when all 65535 are taken.
    static CString MakeTrashName();

    // Write and read the record at a path; nonzero on success, no message. Writing goes through a
    // temporary file. Reading refuses a record whose trash name is not a trash name or, for a file
    // named like one, not its own name.
    BOOL SaveDel(const CString& path);
    BOOL LoadDel(const CString& path);

    // Moves the item (the caller has set m_bFromProtected, m_strRelPath, m_strRelDaiPath and
    // m_strOrigFolder) into the trash: the picture and its record file first and the trash record
    // last; a folder after its trash record, which alone keeps its name. TRUE when the item is in the
    // trash. On failure (the trash full, a step refused) everything moved goes back, no trash file
    // remains, the user is told with a stop message, and the caller keeps the item in its list.
    BOOL MoveToTrash();
    // Puts the item back where it was, asking before replacing (ConfirmFileReplace or
    // ConfirmFolderReplace, with the batch answers). Nonzero when put back; 0 when the user declined
    // or cancelled, or the item could not go back (then said with string 49 or 50 and kept in the
    // trash; the files it would have replaced are kept too). A picture whose folder holds a record of
    // its name without the picture keeps the one of the two with texts; when both hold texts it stays
    // whole in the trash and the user is told (string 40307).
    BOOL Restore();
    // Deletes the item's files from the trash (only ever inside the trash folder), its trash record
    // first: a stop leaves the whole item listed or nothing. An item already back in its place (a
    // restore cut short) gives its record file to the picture instead. A folder holding a name the
    // code page cannot spell is refused, and said, before anything of it changes. TRUE when the item
    // is no longer listed; a failure keeps it listed and is said.
    BOOL Erase();

    int m_nKind = kTrashPicture;
    int m_bFromProtected = 0;
    CString m_strTrashName;
    CString m_strRelPath;    // relative to the library root, no leading '\'
    CString m_strRelDaiPath; // the picture's record file, relative to the root; empty for a folder
    CString m_strOrigFolder; // absolute folder that held the item
    DWORD m_dwDelDate = 0;   // DOS date of the deletion (local time)
    DWORD m_dwDelTime = 0;

    // T + trash name + ext (".del", ".pai", ".dai", ".dir"); empty when the name is not a trash name.
    CString TrashFile(LPCSTR ext) const;

private:
    BOOL RestorePicture();
    BOOL RestoreFolder();
    void ForgetTrashRecord(const CString& target);
};

// Moves the picture at path into the trash (CDelObject::MoveToTrash) with its record file, but for a
// record file that is another picture's as read now (RecordFileIsOwn, PicObject.h), which stays
// where it is. bFromProtected: the picture is in the protected folder.
BOOL MovePictureToTrash(const CString& path, BOOL bFromProtected);

// Tests only: makes the trash hold at most `last` names (0 returns to 65535).
void SetTrashNameLimitForTest(int last);

// The notice shown after a deletion into the trash, while "ShowInfoSuppress" is on; its check box
// turns the setting off.
void ShowDeleteNotice();

// Brings the trash in line with its files after an operation was cut short: a picture there without
// its trash record gets one (where it came from, by the record file moved with it; else "Images"),
// so does a folder (into "Images"); a trash record whose item is already back is removed, its record
// file joining the picture; a record file with neither trash record nor picture goes back to the
// picture it names when that stands without a record, and is removed otherwise. Returns how many
// items were mended.
int RepairTrashFolder();

// TRUE while the trash folder holds any file or folder of its own (a trash name with ".del", ".pai",
// ".dai" or ".dir"), listed or not.
BOOL TrashHoldsOwnFiles();

// Deletes everything inside the library root's trash folder and keeps the folder, after the repair
// that listing makes (a picture back from a restore cut short takes its record file first). Trash
// records go first, so that wherever it stops each item is listed whole or not at all. Refuses
// (FALSE, nothing deleted) when the root is not set, the folder is missing or is not exactly the
// trash folder. FALSE when something stays; an item one of whose files stays keeps the others and
// its trash record. A folder holding a name the code page cannot spell is kept whole, its trash record
// untouched, and *pKept (when given) gets a sentence saying so for each.
BOOL EmptyTrashFolder(CString* pKept = nullptr);
