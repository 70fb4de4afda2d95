// What file operations cut short leave in a folder (a picture under a passing name, files set aside
// for a replace, copies of record files), and the mending that listing the folder does.
#pragma once
#include "framework/String.h"

// Puts back a picture that a case-only rename left under its passing name ("~ren" + 4 hexadecimal
// digits + ".tmp") when it was cut short: the picture takes the name its record gives, when exactly
// one record of the folder names a picture that is missing. Returns how many were put back.
int RecoverCutRenames(const CString& folder);

// TRUE for a record file that a rename, move or copy cut short left behind: it describes no picture
// of its folder, and its texts and thumbnail are those of the record of a picture that stands beside
// it or at the path it names. Nothing in it is kept nowhere else.
BOOL IsLeftoverRecordCopy(const CString& recordFile);

// TRUE when the record file was written for the picture file at picture, and not for another that
// took its name since: the size and date it holds are the file's, and so is the thumbnail it holds,
// when it holds one. A record a stop left behind goes back only to such a file.
BOOL RecordDescribesPicture(const CString& recordFile, const CString& picture);

// Mends the folder before it is listed. A record that a move, a delete or a rename cut short left
// behind goes back to its picture when that still stands, and goes when the picture left with its
// copy; one whose name another picture took stays. Files set aside by a replace cut short go back
// under their names, a picture and its record file together: both when both names are free, else
// neither (a picture that took the name has its own record to come). A copy of a record that a
// transfer left in the way of a file set aside goes first; with bKeepRecords (library folders) so do
// the other leftover record copies, and a cut case-only rename is put back. Files set aside or left
// behind that stay are told, once each, in one message. Returns how many were mended.
int RecoverCutOperations(const CString& folder, BOOL bKeepRecords);
