#include "piclist/PicProperties.h"

#include "core/DIB.h"
#include "core/FileTypes.h"
#include "core/SystemUtil.h"
#include "core/TextFormat.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "piclist/DelObject.h"
#include "piclist/FailureCause.h"
#include "piclist/LibraryHost.h"
#include "piclist/PicObject.h"
#include "piclist/PictureRename.h"
#include "resources/library-cmds-ids.h"
#include "resources/resource.h"

#include <algorithm>

namespace {

// The part after the library root when the folder lies inside it.
CString ShownFolder(const CString& folder, const CString& root)
{
    if (!root.IsEmpty() && folder.GetLength() >= root.GetLength()
        && folder.Left(root.GetLength()).CompareNoCase(root) == 0)
        return folder.Mid(root.GetLength());
    CString withSlash = folder + "\\";
    if (!root.IsEmpty() && withSlash.CompareNoCase(root) == 0)
        return CString();
    return folder;
}

PicPropTexts Texts(const CPicPropertySheet& sheet)
{
    return {sheet.m_pageIdentite.m_strName, sheet.m_pageIdentite.m_strAuthor,
            sheet.m_pageIdentite.m_strKeywords, sheet.m_pageCommentaire.m_strComment};
}

void PutTexts(CPicPropertySheet& sheet, const PicPropTexts& texts)
{
    sheet.m_pageIdentite.m_strName = texts.name;
    sheet.m_pageIdentite.m_strAuthor = texts.author;
    sheet.m_pageIdentite.m_strKeywords = texts.keywords;
    sheet.m_pageCommentaire.m_strComment = texts.comment;
}

CString PictureName(const CPicObject& rec)
{
    CString name = rec.m_strFileName, folder;
    if (name.IsEmpty())
        SplitPath(rec.m_strPath, &folder, &name);
    return name;
}

CString RecordFileName(const CPicObject& rec)
{
    CString folder, recordFile;
    SplitPath(RecordFilePath(rec.m_strPath), &folder, &recordFile);
    return recordFile;
}

// A retry can write the record only when nothing lasting stands in the way: not the other picture's
// record file, not one left unread by its listing, not a cause that stays (a read-only file, say).
BOOL CanRetry(const PicPropFailure& failure)
{
    if (failure.rec->m_bMemoryOnly)
        return FALSE;
    return CanSucceedLater(StepCause(failure.step));
}

// Why the texts were not written and, by the last sentence, whether the sheet comes back for them.
void TellNotSaved(const PicPropFailure& failure, BOOL retry)
{
    const CPicObject& rec = *failure.rec;
    CString text;
    if (rec.m_bRecordOfOther) {
        // Only a rename can give the picture a record file of its own: that is what the message says.
        AfxFormatString2(text, IDS_PROPERTIES_RECORD_OF_OTHER, PictureName(rec), RecordFileName(rec));
    } else if (rec.m_bMemoryOnly) {
        AfxFormatString1(text, IDS_TEXTS_NOT_KEPT, PictureName(rec));
        text += " " + AfxLoadText(IDS_PROPERTIES_NOT_KEPT);
    } else {
        AfxFormatString2(text, IDS_PROPERTIES_NOT_SAVED, PictureName(rec), RecordFileName(rec));
        const CString cause = StepCauseText(failure.step);
        if (!cause.IsEmpty())
            text += " " + cause;
        text += " " + AfxLoadText(retry ? IDS_PROPERTIES_RETRY : IDS_PROPERTIES_NOT_KEPT);
    }
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

// Saves the record, noting why when it cannot.
BOOL SaveRecord(CPicObject& rec, std::vector<PicPropFailure>* pFailed)
{
    ForgetFailedStep();
    if (rec.SaveDai())
        return TRUE;
    if (pFailed != nullptr)
        pFailed->push_back({&rec, FirstFailedStep()});
    return FALSE;
}

} // namespace

PicPropTexts FillOnePictureProperties(CPicPropertySheet& sheet, CPicObject& rec, const CString& displayPath,
                                      const CString& root)
{
    CPicPropImage& image = sheet.m_pageImage;
    CString folder, name = displayPath;
    SplitPath(displayPath, &folder, &name);
    image.m_strFolder = ShownFolder(folder, root);
    image.m_strFileName = name;
    GetFileSizeAndDateText(displayPath, &image.m_strFileSize, &image.m_strModified);
    // A record never built yet has no measures; a read-only one is shown as it is.
    if (rec.m_nBitCount == 0 && !rec.m_bReadOnly)
        rec.BuildThumbnail();
    image.m_strDimensions.Format(IDS_PICTURE_PIXELS, rec.m_nWidth, rec.m_nHeight);
    image.m_strDepth = GetColorDepthName(rec.m_nBitCount);
    GetFileTypeDescription(image.m_strFormat, rec.m_strFileName.IsEmpty() ? displayPath : rec.m_strFileName);
    image.m_strMemory = FormatImageMemorySize(rec.m_nWidth, rec.m_nHeight, rec.m_nBitCount);
    sheet.m_pageIdentite.m_strAuthor = rec.m_strAuthor;
    sheet.m_pageIdentite.m_strKeywords = rec.m_strKeywords;
    sheet.m_pageIdentite.m_strName = rec.m_strBaseName;
    sheet.m_pageCommentaire.m_strComment = rec.m_strComment;
    if (rec.m_pThumbDIB != nullptr)
        sheet.m_pageApercu.m_preview.m_dib = *rec.m_pThumbDIB;
    if (rec.m_bReadOnly) {
        sheet.m_pageIdentite.m_bAllReadOnly = TRUE;
        sheet.m_pageCommentaire.m_bReadOnly = TRUE;
    }
    return Texts(sheet);
}

PicPropTexts FillSeveralPicturesProperties(CPicPropertySheet& sheet, const std::vector<CPicObject*>& records)
{
    if (records.empty())
        return {};
    const CPicObject& first = *records.front();
    CString author = first.m_strAuthor, keywords = first.m_strKeywords, comment = first.m_strComment;
    DWORD total = 0;
    for (const CPicObject* rec : records) {
        if (rec->m_strAuthor != first.m_strAuthor)
            author.Empty();
        if (rec->m_strKeywords != first.m_strKeywords)
            keywords.Empty();
        if (rec->m_strComment != first.m_strComment)
            comment.Empty();
        total += static_cast<DWORD>(rec->m_lFileSize);
    }
    sheet.m_pageIdentite.m_strAuthor = author;
    sheet.m_pageIdentite.m_strKeywords = keywords;
    sheet.m_pageIdentite.m_strName.Empty();
    sheet.m_pageIdentite.m_bNameReadOnly = TRUE;
    sheet.m_pageCommentaire.m_strComment = comment;
    sheet.m_pageSelection.m_strCount.Format(IDS_COUNT_PICTURES, static_cast<int>(records.size()));
    sheet.m_pageSelection.m_strTotalSize = FormatFileSize(total);
    return Texts(sheet);
}

BOOL ApplyOnePictureProperties(const CPicPropertySheet& sheet, CPicObject& rec, const CString& folder,
                               std::vector<PicPropFailure>* pFailed)
{
    if (rec.m_bReadOnly)
        return FALSE;
    rec.m_strAuthor = sheet.m_pageIdentite.m_strAuthor;
    rec.m_strKeywords = sheet.m_pageIdentite.m_strKeywords;
    rec.m_strComment = sheet.m_pageCommentaire.m_strComment;
    CString name = sheet.m_pageIdentite.m_strName;
    name.TrimLeft(" ");
    name.TrimRight(" ");
    if (name != rec.m_strBaseName) {
        CString oldPicture = rec.m_strPath;
        // The rename writes the record (with the texts above) under the new name before the
        // picture moves.
        RenameResult result = RenamePictureFiles(rec, folder, name);
        if (result == RenameResult::Done)
            return TRUE;
        // The name is not used; the texts the user typed are kept all the same.
        ReportRenameResult(result, name, oldPicture);
    }
    return SaveRecord(rec, pFailed);
}

int ApplySeveralPicturesProperties(const CPicPropertySheet& sheet, const std::vector<CPicObject*>& records,
                                   const PicPropTexts& shown, std::vector<PicPropFailure>* pFailed)
{
    const PicPropTexts edited = Texts(sheet);
    const BOOL author = edited.author != shown.author;
    const BOOL keywords = edited.keywords != shown.keywords;
    const BOOL comment = edited.comment != shown.comment;
    if (!author && !keywords && !comment)
        return 0;
    int saved = 0;
    for (CPicObject* rec : records) {
        if (rec->m_bReadOnly)
            continue;
        if (author)
            rec->m_strAuthor = edited.author;
        if (keywords)
            rec->m_strKeywords = edited.keywords;
        if (comment)
            rec->m_strComment = edited.comment;
        if (SaveRecord(*rec, pFailed))
            saved++;
    }
    return saved;
}

INT_PTR RunPictureProperties(CWnd* pParent, const std::vector<CPicObject*>& records, const CString& folder)
{
    if (records.empty())
        return IDCANCEL;
    const BOOL one = records.size() == 1;
    std::vector<PicPropTexts> before;
    for (const CPicObject* rec : records)
        before.push_back({rec->m_strBaseName, rec->m_strAuthor, rec->m_strKeywords, rec->m_strComment});
    PicPropTexts shown, typed;
    std::vector<PicPropFailure> failed;
    auto giveBackTexts = [&](CPicObject* rec) {
        const size_t k =
            static_cast<size_t>(std::find(records.begin(), records.end(), rec) - records.begin());
        rec->m_strAuthor = before[k].author;
        rec->m_strKeywords = before[k].keywords;
        rec->m_strComment = before[k].comment;
    };
    BOOL toldLasting = FALSE;
    // A record that could not be written is said so, with why, and the sheet comes back with what the
    // user typed, to try again or to cancel (the records not written then get their texts back).
    for (BOOL retry = FALSE;; retry = TRUE) {
        CPicPropertySheet sheet(one ? kPicPropOne : kPicPropSeveral, pParent);
        CPicObject& first = *records.front();
        PicPropTexts filled = one ? FillOnePictureProperties(sheet, first, first.m_strPath, LibraryRoot())
                                  : FillSeveralPicturesProperties(sheet, records);
        if (retry)
            PutTexts(sheet, typed);
        else
            shown = filled;
        INT_PTR result = sheet.DoModal();
        if (result != IDOK) {
            for (const PicPropFailure& failure : failed)
                giveBackTexts(failure.rec);
            return result;
        }
        typed = Texts(sheet);
        failed.clear();
        if (one)
            ApplyOnePictureProperties(sheet, first, folder, &failed);
        else
            ApplySeveralPicturesProperties(sheet, records, shown, &failed);
        // What no retry could write is said once with its reason, and no retry is offered for it;
        // the record keeps the texts it had.
        auto lasting = std::stable_partition(failed.begin(), failed.end(), CanRetry);
        if (lasting != failed.end() && !toldLasting) {
            toldLasting = TRUE;
            TellNotSaved(*lasting, FALSE);
        }
        for (auto it = lasting; it != failed.end(); ++it)
            giveBackTexts(it->rec);
        failed.erase(lasting, failed.end());
        if (failed.empty())
            return result;
        TellNotSaved(failed.front(), TRUE);
    }
}

void RunSearchHitProperties(CWnd* pParent, const std::vector<CPicObject*>& records)
{
    if (records.empty())
        return;
    if (records.size() > 1) {
        CPicPropertySheet sheet(kPicPropSelection, pParent);
        sheet.m_bShowOnly = TRUE;
        FillSeveralPicturesProperties(sheet, records);
        sheet.DoModal();
        return;
    }
    CPicPropertySheet sheet(kPicPropOne, pParent);
    CPicObject& rec = *records.front();
    FillOnePictureProperties(sheet, rec, rec.m_strPath, LibraryRoot());
    sheet.m_pageIdentite.m_bAllReadOnly = TRUE;
    sheet.m_pageCommentaire.m_bReadOnly = TRUE;
    sheet.m_bShowOnly = TRUE;
    sheet.DoModal();
}

BOOL RunTrashedPictureProperties(CWnd* pParent, const CDelObject& item)
{
    if (item.m_nKind != kTrashPicture || item.m_bFromProtected)
        return FALSE;
    CString picture = item.TrashFile(".pai");
    if (picture.IsEmpty())
        return FALSE;
    // Read through the trash's record file by its own name: the record stores the picture's former
    // place, which may hold another picture by now, and nothing here may touch it.
    CPicObject rec;
    rec.m_bReadOnly = TRUE;
    rec.m_strPath = item.TrashFile(".dai");
    rec.LoadDai();
    CPicPropertySheet sheet(kPicPropOne, pParent);
    PicPropTexts shown = FillOnePictureProperties(sheet, rec, picture, LibraryRoot());
    CString folder, name;
    SplitPath(item.m_strRelPath, &folder, &name);
    sheet.m_pageImage.m_strFolder = folder;
    sheet.m_pageImage.m_strFileName = name;
    // Nothing is written back from the trash: the sheet offers no OK that would pretend to save.
    sheet.m_bShowOnly = TRUE;
    sheet.DoModal();
    return TRUE;
}
