// Moving and copying library pictures with their record files into another library folder, and
// copying picture files out of the library. The replace question comes first; files that are to be
// replaced are set aside and deleted only once the new picture is in place.
#pragma once
#include "piclist/PicObject.h"
#include "framework/String.h"

#include <vector>

// One picture to carry: its file, its base name (its record file's name) and its file name on disk,
// which it keeps where it goes.
struct TransferItem {
    CString path;
    CString baseName;
    CString fileName;
};

// What happened to each item, in the order given.
enum TransferOutcome { kTransferNotTried, kTransferDone, kTransferFailed, kTransferSkipped };

// Moves (copy FALSE) or copies the pictures with their record files into target. Items are taken
// from the last to the first, as the list's selection is. Any file of the picture's base name there
// is asked about before it gives way, but for the picture's own older record file (its file name and
// size), which gives way without a word. An item whose source and destination are the same file is
// skipped; a Cancel in a replace question ends the batch. Failures show their message (the
// destination path named) and the batch goes on.
std::vector<TransferOutcome> TransferPictures(const std::vector<TransferItem>& items, const CString& target,
                                              BOOL copy);
// Copies the picture files alone into target (export, drop on a folder outside the library). An
// existing file of the same name is replaced only on the user's consent.
std::vector<TransferOutcome> ExportPictures(const std::vector<TransferItem>& items, const CString& target);

// The record file of a picture in the folder it is carried to: T\base.dai.
CString TransferRecordTarget(const CString& target, const CString& baseName);
