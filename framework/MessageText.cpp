#include "framework/MessageText.h"

#include <windows.h>

namespace {

// The longest run of characters without a blank a message shows whole: about 780 pixels of common
// letters in the message font, still inside a screen 1,280 pixels wide in the widest ones.
const int kLongestShownRun = 100;
// What a shortened run keeps of its beginning (the drive and the first folders); its end (the name)
// gets the rest.
const int kShownRunStart = 40;

BOOL IsBlank(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

// run with its middle replaced by "...", cut between characters (never inside a double-byte one).
CString Shortened(const char* run, int length)
{
    const char* end = run + length;
    const char* head = run;
    while (head < end && head - run < kShownRunStart)
        head = ::CharNextA(head);
    const int tailLength = kLongestShownRun - 3 - static_cast<int>(head - run);
    const char* tail = head;
    while (tail < end && end - tail > tailLength)
        tail = ::CharNextA(tail);
    return CString(run, static_cast<int>(head - run)) + "..." + CString(tail, static_cast<int>(end - tail));
}

} // namespace

CString AfxFitMessageText(LPCSTR text)
{
    CString fitted;
    const char* p = text != nullptr ? text : "";
    while (*p) {
        const char* start = p;
        const BOOL blank = IsBlank(*p);
        while (*p && IsBlank(*p) == blank)
            p = ::CharNextA(p);
        const int length = static_cast<int>(p - start);
        fitted += !blank && length > kLongestShownRun ? Shortened(start, length) : CString(start, length);
    }
    return fitted;
}
