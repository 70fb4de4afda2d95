// The properties command of the library: fills the picture properties sheet from the selected
// records, runs it and, after OK, writes back what the user edited (name, author, keywords,
// comment). A picture in the trash is shown read-only and never written.
#pragma once
#include "piclist/PicPropertySheet.h"
#include "piclist/SafeFileOps.h"

#include <vector>

class CPicObject;
class CDelObject;

// What the pages show first: the texts compared with the edited ones after OK.
struct PicPropTexts {
    CString name, author, keywords, comment;
};

// A record whose texts could not be written, and the step that refused them (none failed when the
// record itself refused: in the trash, or its record file not its own).
struct PicPropFailure {
    CPicObject* rec;
    FailedStep step;
};

// Fills the pages of a one-picture sheet from rec. displayPath: the picture file whose facts are
// shown (the record's own path unless it lies elsewhere, as in the trash); a folder inside the
// library root is shown relative to it.
PicPropTexts FillOnePictureProperties(CPicPropertySheet& sheet, CPicObject& rec, const CString& displayPath,
                                      const CString& root);
// Fills the pages of a several-pictures sheet: the texts the records share, empty where they differ;
// the name read-only; the count and total size.
PicPropTexts FillSeveralPicturesProperties(CPicPropertySheet& sheet, const std::vector<CPicObject*>& records);

// After OK on a one-picture sheet: stores the edited texts, renames the picture when its name was
// edited (a refused or taken name is reported and the other texts are saved all the same) and saves
// the record. TRUE when the record was saved; a record that could not be written (one in the trash
// is never written) is added to *pFailed when given.
BOOL ApplyOnePictureProperties(const CPicPropertySheet& sheet, CPicObject& rec, const CString& folder,
                               std::vector<PicPropFailure>* pFailed = nullptr);
// After OK on a several-pictures sheet: each text edited is stored in every record, and only then
// are the records saved. The number of records saved (0 when nothing was edited); the records that
// could not be written are added to *pFailed when given.
int ApplySeveralPicturesProperties(const CPicPropertySheet& sheet, const std::vector<CPicObject*>& records,
                                   const PicPropTexts& shown, std::vector<PicPropFailure>* pFailed = nullptr);

// The whole command on the selected records of a library folder: IDOK when the sheet was closed with
// OK. Nothing happens without records. A record that cannot be written is said so, with the reason,
// and the sheet comes back with the texts typed, until they are written or the user cancels (the
// records not written then keep the texts they had). A record no retry could write (its record file
// the other picture's of that base name or left unread by its listing, or a lasting cause such as a
// read-only file) is said once, with that reason, keeps its texts and gets no retry.
INT_PTR RunPictureProperties(CWnd* pParent, const std::vector<CPicObject*>& records, const CString& folder);
// The properties of a search window's hits: one picture in the one-picture sheet, several in the
// selection sheet alone (count and total size). Nothing is written back from a search window, so the
// texts are shown read-only and the sheet only closes. Nothing happens without records.
void RunSearchHitProperties(CWnd* pParent, const std::vector<CPicObject*>& records);
// The properties of a picture in the trash: read from the trash's own record file, shown read-only,
// never written. FALSE (nothing shown) for a folder or a picture deleted from the protected folder.
BOOL RunTrashedPictureProperties(CWnd* pParent, const CDelObject& item);
