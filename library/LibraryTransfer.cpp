// Moving, copying and exporting library pictures through the safe file steps.
#include "library/LibraryTransfer.h"

#include "core/BusyCursor.h"
#include "core/FileUtil.h"
#include "core/Progress.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "piclist/FailureCause.h"
#include "piclist/FailureReport.h"
#include "piclist/PicObject.h"
#include "library/ProtectedAccess.h"
#include "piclist/ReplaceConfirm.h"
#include "piclist/SafeFileOps.h"
#include "resources/library-store-ids.h"
#include "resources/resource.h"

#include <algorithm>

namespace {

// Names why, when a step failed.
void ReportFailure(UINT nID, const CString& path)
{
    CString text;
    text.Format(AfxLoadText(nID), static_cast<LPCSTR>(path));
    ReportStepFailure(text, MB_ICONERROR);
}

// A folder is never replaced by a picture.
BOOL RefuseFolder(const CString& dest)
{
    DWORD a = ::GetFileAttributesA(dest);
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    ReportFailure(IDS_FOLDER_NOT_REPLACED, dest);
    return TRUE;
}

// TRUE when the record file describes the picture carried: its own older record, with its file name
// and size.
BOOL RecordDescribes(const CString& recordFile, const TransferItem& item)
{
    CPicObject record;
    WIN32_FILE_ATTRIBUTE_DATA data;
    return ReadRecordAsIs(recordFile, record)
           && ::GetFileAttributesExA(item.path, GetFileExInfoStandard, &data) && data.nFileSizeHigh == 0
           && record.m_lFileSize == static_cast<LONG>(data.nFileSizeLow)
           && record.m_strFileName.CompareNoCase(item.fileName) == 0;
}

// Carries one picture (and its record) to dest, in place of the files listed in clashing. The record
// is in place at the destination before the picture moves, and a moved picture's old record is left
// behind under a name that listing knows before the picture moves: a stop at any point leaves the
// texts beside the picture, and none under the old name once the picture is gone. FALSE, with
// everything as it was, on failure.
BOOL CarryPicture(const TransferItem& item, const CString& dest, const CString& recordDest,
                  const std::vector<CString>& clashing, BOOL carryRecord, BOOL copy)
{
    const CString record = RecordFilePath(item.path);
    // Record files are set aside first, so they are deleted last: a stop in between never brings a
    // picture back without its record.
    std::vector<CString> ordered = clashing;
    std::stable_partition(ordered.begin(), ordered.end(), IsRecordFile);
    CSetAside aside;
    for (const CString& c : ordered) {
        if (PathExists(c) && !aside.Add(c))
            return FALSE;
    }
    if (carryRecord && !SafeCopy(record, recordDest))
        return FALSE;
    CSetAside behind(AsideKind::LeftBehind);
    BOOL ok = (copy || !carryRecord || behind.Add(record))
              && (copy ? SafeCopy(item.path, dest) : SafeMove(item.path, dest));
    // The old record goes before anything replaced does: while it cannot, the move is undone.
    if (ok && !behind.CommitOrRollback()) {
        MoveBack(dest, item.path);
        ok = FALSE;
    }
    if (!ok) {
        const DWORD err = ::GetLastError();
        behind.Rollback();
        if (carryRecord && !PathExists(dest))
            SafeDeleteFile(recordDest);
        aside.Rollback();
        ::SetLastError(err);
        return FALSE;
    }
    aside.Commit();
    return TRUE;
}

// Busy cursor, gauge and the transfer flag for the length of a batch.
class CBatchScope {
public:
    CBatchScope(UINT nText, BOOL bTransfer) : m_bTransfer(bTransfer)
    {
        BeginReplaceBatch();
        BeginProgress(nText);
        SetAppCursor(kAppCursorBusy);
        if (bTransfer)
            g_bTransferBusy = TRUE;
    }
    ~CBatchScope()
    {
        EndProgress();
        if (m_bTransfer)
            g_bTransferBusy = FALSE;
        RestoreAppCursor();
    }

private:
    BOOL m_bTransfer;
};

} // namespace

CString TransferRecordTarget(const CString& target, const CString& baseName)
{
    return WithSlash(target) + baseName + ".dai";
}

std::vector<TransferOutcome> TransferPictures(const std::vector<TransferItem>& items, const CString& target,
                                              BOOL copy)
{
    std::vector<TransferOutcome> outcome(items.size(), kTransferNotTried);
    if (items.empty())
        return outcome;
    CBatchScope scope(copy ? IDS_PROGRESS_COPY : IDS_PROGRESS_MOVE, TRUE);
    CFailureBatch failures(static_cast<int>(items.size()));
    const UINT nFailText = copy ? IDS_COPY_FAILED : IDS_MOVE_FAILED;
    int done = 0;
    for (size_t k = items.size(); k-- > 0;) {
        ForgetFailedStep();
        const TransferItem& item = items[k];
        CString dest = WithSlash(target) + item.fileName;
        // A picture carried onto itself would be set aside as the file it replaces: never.
        if (IsSamePath(item.path, dest)) {
            outcome[k] = kTransferSkipped;
            failures.Next();
            continue;
        }
        const CString record = RecordFilePath(item.path);
        const CString recordDest = TransferRecordTarget(target, item.baseName);
        std::vector<CString> files = ListMatchingFiles(WithSlash(target) + item.baseName + ".*");
        BOOL pictureClash = FALSE;
        for (const CString& f : files)
            pictureClash = pictureClash || !IsRecordFile(f);
        // A record there without a picture that describes another picture of that name may hold the
        // only copy of someone's texts: it is asked about as any file of the picture's name.
        const BOOL ownOldRecord =
            !pictureClash && PathExists(recordDest) && RecordDescribes(recordDest, item);
        const BOOL ask = pictureClash || (PathExists(recordDest) && !ownOldRecord);
        // A name too long is refused before anything is asked or set aside.
        if (!CheckPictureNameFits(dest) || !CheckNameFits(recordDest)) {
            ReportFailure(nFailText, dest);
            outcome[k] = kTransferFailed;
        } else if (RefuseFolder(dest)) {
            outcome[k] = kTransferFailed;
        } else if (ask && !ConfirmFileReplace(item.path, dest)) {
            outcome[k] = kTransferSkipped;
        } else {
            // The picture's own record always goes with it. Its own older record there (what a
            // move or copy cut short left) is set aside and goes once the picture is in place; a
            // picture without a record of its own (none, or another picture's) takes it.
            std::vector<CString> clashing = ask ? files : std::vector<CString>();
            const BOOL carryRecord =
                PathExists(record) && !IsSamePath(record, recordDest) && RecordFileIsOwn(item.path);
            if (carryRecord && ownOldRecord)
                clashing.push_back(recordDest);
            BOOL ok = CarryPicture(item, dest, recordDest, clashing, carryRecord, copy);
            if (!ok)
                ReportFailure(nFailText, PictureFileThatFailed(item.path, record, dest));
            outcome[k] = ok ? kTransferDone : kTransferFailed;
        }
        SetProgress(++done, static_cast<DWORD>(items.size()));
        failures.Next();
        if (g_bReplaceCancelled || failures.Stopped())
            break;
    }
    return outcome;
}

std::vector<TransferOutcome> ExportPictures(const std::vector<TransferItem>& items, const CString& target)
{
    std::vector<TransferOutcome> outcome(items.size(), kTransferNotTried);
    if (items.empty())
        return outcome;
    CBatchScope scope(IDS_PROGRESS_EXPORT, FALSE);
    CFailureBatch failures(static_cast<int>(items.size()));
    int done = 0;
    for (size_t k = items.size(); k-- > 0;) {
        ForgetFailedStep();
        const TransferItem& item = items[k];
        CString dest = WithSlash(target) + item.fileName;
        if (IsSamePath(item.path, dest)) {
            outcome[k] = kTransferSkipped;
            failures.Next();
            continue;
        }
        if (RefuseFolder(dest)) {
            outcome[k] = kTransferFailed;
        } else if (PathExists(dest)) {
            if (ConfirmFileReplace(item.path, dest)) {
                BOOL ok = ReplaceByCopy(item.path, dest, std::vector<CString>{dest});
                if (!ok)
                    ReportFailure(IDS_COPY_FAILED, FileThatFailed(item.path, dest));
                outcome[k] = ok ? kTransferDone : kTransferFailed;
            } else {
                outcome[k] = kTransferSkipped;
            }
        } else {
            BOOL ok = SafeCopy(item.path, dest);
            if (!ok)
                ReportFailure(IDS_COPY_FAILED, FileThatFailed(item.path, dest));
            outcome[k] = ok ? kTransferDone : kTransferFailed;
        }
        SetProgress(++done, static_cast<DWORD>(items.size()));
        failures.Next();
        if (g_bReplaceCancelled || failures.Stopped())
            break;
    }
    return outcome;
}
