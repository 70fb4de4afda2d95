#include "framework/CodePageText.h"

std::wstring AfxCodePageToWide(LPCSTR text)
{
    const int nLength = text != nullptr ? ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0) : 0;
    if (nLength <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(nLength), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], nLength);
    wide.resize(static_cast<size_t>(nLength - 1));
    return wide;
}

BOOL AfxSpelledInCodePage(LPCWSTR text, int nLength)
{
    if (text == nullptr || nLength == 0 || (nLength < 0 && *text == L'\0'))
        return TRUE;
    const int nBytes =
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, nLength, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0)
        return FALSE;
    std::string bytes(static_cast<size_t>(nBytes), '\0');
    BOOL bUsedDefault = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, nLength, &bytes[0], nBytes,
                                        nullptr, &bUsedDefault);
    return n > 0 && !bUsedDefault;
}

namespace {

// The text in the code page, each letter it lacks as the character given (never a look-alike).
CString CodePageTextWith(LPCWSTR text, char chMissing)
{
    const char missing[2] = {chMissing, '\0'};
    const int nBytes = text != nullptr ? ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1,
                                                               nullptr, 0, missing, nullptr)
                                       : 0;
    if (nBytes <= 1)
        return CString();
    std::string bytes(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, &bytes[0], nBytes, missing, nullptr);
    return CString(bytes.c_str());
}

} // namespace

CString AfxCodePageShownText(LPCWSTR text) { return CodePageTextWith(text, '?'); }

CString AfxCodePageMarkedText(LPCWSTR text) { return CodePageTextWith(text, kAfxUnspelledMark); }

CString AfxMarkedTextShown(LPCSTR text)
{
    CString shown(text != nullptr ? text : "");
    shown.Replace(kAfxUnspelledMark, '?');
    return shown;
}

BOOL AfxWideToCodePage(LPCWSTR text, CString* pText)
{
    if (!AfxSpelledInCodePage(text))
        return FALSE;
    *pText = CString(text);
    return TRUE;
}
