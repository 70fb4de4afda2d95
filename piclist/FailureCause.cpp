#include "piclist/FailureCause.h"

#include "framework/FrameworkTexts.h"
#include "resources/library-store-ids.h"

FileCause StepCause(const FailedStep& step)
{
    return step.failed ? FileCauseOf(step.error, step.path) : FileCause::Unknown;
}

CString StepCauseText(const FailedStep& step)
{
    return step.failed ? FileCauseText(step.error, step.path) : CString();
}

CString WithFailedStepCause(const CString& text)
{
    const CString cause = StepCauseText(FirstFailedStep());
    return cause.IsEmpty() ? text : text + " " + cause;
}

CString WithFailedFolderStepCause(const CString& text)
{
    if (StepCause(FirstFailedStep()) == FileCause::NameTooLong)
        return text + " " + AfxLoadText(IDS_CAUSE_FOLDER_NAME_TOO_LONG);
    return WithFailedStepCause(text);
}

CString FileThatFailed(const CString& source, const CString& target)
{
    const FailedStep step = FirstFailedStep();
    return step.failed && IsSamePath(step.path, source) ? source : target;
}

CString PictureFileThatFailed(const CString& picture, const CString& record, const CString& target)
{
    const FailedStep step = FirstFailedStep();
    return step.failed && !record.IsEmpty() && IsSamePath(step.path, record)
               ? record
               : FileThatFailed(picture, target);
}

CString FileToName(const CString& preferred, const CString& source, const CString& target)
{
    const FailedStep step = FirstFailedStep();
    return !step.failed || IsSamePath(step.path, preferred) ? preferred : FileThatFailed(source, target);
}
