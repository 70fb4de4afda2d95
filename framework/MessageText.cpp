#include "framework/MessageText.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The widest piece of a message shown whole, in pixels of the message font: the box around it (its
// icon and margins) stays well inside a screen 1,024 pixels wide.
const int kWidestPiece = 700;
// What a shortened piece keeps of its beginning (the drive and the first folders); its end (the
// name) gets the rest.
const int kShownStart = 280;
// The narrowest line a system's message box breaks its text into (Wine's: about 300 pixels), and
// what the most generous box adds around its text (caption, icon, margins, buttons).
const int kNarrowestLine = 280;
const int kBoxFrameWidth = 160;
const int kBoxFrameHeight = 160;
// The smallest screen every message fits on.
const int kSmallestScreenWidth = 1024;
const int kSmallestScreenHeight = 768;

// The screen's device context with the font of message boxes.
class CMessageFontDC {
public:
    CMessageFontDC() : m_hdc(::GetDC(nullptr))
    {
        NONCLIENTMETRICSA metrics = {};
        metrics.cbSize = sizeof(metrics);
        if (m_hdc != nullptr
            && ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
            m_font = ::CreateFontIndirectA(&metrics.lfMessageFont);
        if (m_font != nullptr)
            m_old = ::SelectObject(m_hdc, m_font);
    }
    ~CMessageFontDC()
    {
        if (m_old != nullptr)
            ::SelectObject(m_hdc, m_old);
        if (m_font != nullptr)
            ::DeleteObject(m_font);
        if (m_hdc != nullptr)
            ::ReleaseDC(nullptr, m_hdc);
    }
    CMessageFontDC(const CMessageFontDC&) = delete;
    CMessageFontDC& operator=(const CMessageFontDC&) = delete;
    HDC Get() const { return m_hdc; }

    // The width of each beginning of text: [i] for its first i + 1 characters. Without a screen, a
    // common letter's width each.
    std::vector<int> Extents(const char* text, int length) const
    {
        std::vector<int> extents(static_cast<size_t>(length));
        SIZE size = {};
        if (m_hdc == nullptr
            || !::GetTextExtentExPointA(m_hdc, text, length, 0, nullptr, extents.data(), &size))
            for (int i = 0; i < length; i++)
                extents[static_cast<size_t>(i)] = 7 * (i + 1);
        return extents;
    }

private:
    HDC m_hdc;
    HFONT m_font = nullptr;
    HGDIOBJ m_old = nullptr;
};

BOOL IsBlank(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

const char* RunEnd(const char* p)
{
    while (*p && !IsBlank(*p))
        p = ::CharNextA(p);
    return p;
}

// TRUE when a path starts at p: a drive ("C:\") or a network share ("\\").
BOOL IsPathStart(const char* p)
{
    const char drive = static_cast<char>(p[0] | 0x20);
    return (drive >= 'a' && drive <= 'z' && p[1] == ':' && p[2] == '\\') || (p[0] == '\\' && p[1] == '\\');
}

// Where the piece of a message that starts at p (not a blank) ends: a path runs over the blanks of
// its folders, up to their last backslash before a character no name holds, then to the end of the
// word that follows; any other piece ends at the next blank.
const char* PieceEnd(const char* p)
{
    const char* start = p;
    while (*start == '\'' || *start == '"' || *start == '(')
        ++start;
    const char* end = RunEnd(p);
    if (!IsPathStart(start))
        return end;
    const char* folders = start + 2;
    for (const char* c = folders; *c && std::strchr(":*?\"<>|\r\n\t", *c) == nullptr; c = ::CharNextA(c)) {
        if (*c == '\\')
            folders = c + 1;
    }
    return std::max(end, RunEnd(folders));
}

// piece with its middle replaced by "...", as wide as a piece is shown at most; cut between
// characters (never inside a double-byte one).
CString Shortened(const CMessageFontDC& dc, const char* piece, int length, const std::vector<int>& extents)
{
    const char* end = piece + length;
    auto widthTo = [&](const char* at) {
        return at > piece ? extents[static_cast<size_t>(at - piece - 1)] : 0;
    };
    const char* head = piece;
    while (head < end && widthTo(::CharNextA(head)) <= kShownStart)
        head = ::CharNextA(head);
    const int room = kWidestPiece - widthTo(head) - dc.Extents("...", 3).back();
    const char* tail = head;
    while (tail < end && widthTo(end) - widthTo(tail) > room)
        tail = ::CharNextA(tail);
    return CString(piece, static_cast<int>(head - piece)) + "..."
           + CString(tail, static_cast<int>(end - tail));
}

} // namespace

CString AfxFitMessageText(LPCSTR text)
{
    CMessageFontDC dc;
    CString fitted;
    const char* p = text != nullptr ? text : "";
    while (*p) {
        const char* start = p;
        if (IsBlank(*p)) {
            while (IsBlank(*p))
                ++p;
            fitted += CString(start, static_cast<int>(p - start));
            continue;
        }
        p = PieceEnd(p);
        const int length = static_cast<int>(p - start);
        const std::vector<int> extents = dc.Extents(start, length);
        fitted +=
            extents.back() > kWidestPiece ? Shortened(dc, start, length, extents) : CString(start, length);
    }
    return fitted;
}

BOOL AfxMessageFitsScreen(LPCSTR text)
{
    const CString fitted = AfxFitMessageText(text);
    CMessageFontDC dc;
    RECT rect = {0, 0, kNarrowestLine, 0};
    if (dc.Get() == nullptr
        || ::DrawTextA(dc.Get(), fitted, -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX)
               == 0)
        return TRUE;
    const int screenWidth = std::min(::GetSystemMetrics(SM_CXSCREEN), kSmallestScreenWidth);
    const int screenHeight = std::min(::GetSystemMetrics(SM_CYSCREEN), kSmallestScreenHeight);
    return rect.right - rect.left + kBoxFrameWidth <= screenWidth
           && rect.bottom - rect.top + kBoxFrameHeight <= screenHeight;
}
