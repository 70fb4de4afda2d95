// Why a step of the safe file operations failed, in the user's words (shell/FileCause.h), and which
// file a failure message names so that its cause is about it.
#pragma once
#include "framework/String.h"
#include "piclist/SafeFileOps.h"
#include "shell/FileCause.h"

// The cause of a failed step noted by the safe file steps (Unknown and empty when it did not fail).
FileCause StepCause(const FailedStep& step);
CString StepCauseText(const FailedStep& step);
// text, then the cause of the first step that failed on this thread since ForgetFailedStep, when one
// is known.
CString WithFailedStepCause(const CString& text);
// The same for an operation on a folder whose name the user typed: a name too long is the folder's.
CString WithFailedFolderStepCause(const CString& text);
// The file a failure message names, so that its cause is about it: source when the first failed
// step failed on it (gone, or held by another program), else target.
CString FileThatFailed(const CString& source, const CString& target);
// The same for a picture whose record file goes with it: the record when the first failed step was
// about that (another program holds it; the picture itself is free).
CString PictureFileThatFailed(const CString& picture, const CString& record, const CString& target);
// The same for a window that names one of the two by its own rule: preferred while the first failed
// step is about it (or none was noted), else the one that failed.
CString FileToName(const CString& preferred, const CString& source, const CString& target);
