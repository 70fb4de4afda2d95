// Moving, copying and exporting library pictures through the safe file steps.
#include "library/LibraryTransfer.h"

#include "core/BusyCursor.h"
#include "core/Progress.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "piclist/PicObject.h"
#include "library/ProtectedAccess.h"
#include "piclist/ReplaceConfirm.h"
#include "piclist/SafeFileOps.h"
#include "resources/resource.h"

namespace {

CString WithSlash(const CString& folder)
{
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] == '\\')
        return folder;
    return folder + "\\";
}

void ReportFailure(UINT nID, const CString& path)
{
    CString text;
    text.Format(AfxLoadText(nID), static_cast<LPCSTR>(path));
    AfxMessageBox(text, MB_ICONERROR);
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
    const UINT nFailText = copy ? IDS_COPY_FAILED : IDS_MOVE_FAILED;
    BOOL (*step)(LPCSTR, LPCSTR) = copy ? SafeCopy : SafeMove;
    int done = 0;
    for (size_t k = items.size(); k-- > 0;) {
        const TransferItem& item = items[k];
        CString dest = WithSlash(target) + item.baseName + "." + item.ext;
        // A picture carried onto itself would be set aside as the file it replaces: never.
        if (IsSamePath(item.path, dest)) {
            outcome[k] = kTransferSkipped;
            continue;
        }
        std::vector<CString> clashing = ListMatchingFiles(WithSlash(target) + item.baseName + ".*");
        BOOL ok = FALSE;
        if (!clashing.empty()) {
            if (ConfirmFileReplace(item.path, dest)) {
                ok = copy ? ReplaceByCopy(item.path, dest, clashing)
                          : ReplaceByMove(item.path, dest, clashing);
                if (!ok)
                    ReportFailure(nFailText, dest);
                outcome[k] = ok ? kTransferDone : kTransferFailed;
            } else {
                outcome[k] = kTransferSkipped;
            }
        } else {
            ok = step(item.path, dest);
            if (!ok)
                ReportFailure(nFailText, dest);
            outcome[k] = ok ? kTransferDone : kTransferFailed;
        }
        if (ok) {
            // The record follows its picture; without one the target folder's scan makes a new one.
            CString record = RecordFilePath(item.path);
            CString recordDest = TransferRecordTarget(target, item.baseName);
            if (PathExists(record) && !IsSamePath(record, recordDest) && !step(record, recordDest))
                ReportFailure(nFailText, recordDest);
        }
        SetProgress(++done, static_cast<DWORD>(items.size()));
        if (g_bReplaceCancelled)
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
    int done = 0;
    for (size_t k = items.size(); k-- > 0;) {
        const TransferItem& item = items[k];
        CString dest = WithSlash(target) + item.baseName + "." + item.ext;
        if (IsSamePath(item.path, dest)) {
            outcome[k] = kTransferSkipped;
            continue;
        }
        if (PathExists(dest)) {
            if (ConfirmFileReplace(item.path, dest)) {
                BOOL ok = ReplaceByCopy(item.path, dest, std::vector<CString>{dest});
                if (!ok)
                    ReportFailure(IDS_COPY_FAILED, dest);
                outcome[k] = ok ? kTransferDone : kTransferFailed;
            } else {
                outcome[k] = kTransferSkipped;
            }
        } else {
            BOOL ok = SafeCopy(item.path, dest);
            if (!ok)
                ReportFailure(IDS_COPY_FAILED, dest);
            outcome[k] = ok ? kTransferDone : kTransferFailed;
        }
        SetProgress(++done, static_cast<DWORD>(items.size()));
        if (g_bReplaceCancelled)
            break;
    }
    return outcome;
}
