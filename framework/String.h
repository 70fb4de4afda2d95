// CString: the framework's ANSI (Windows-1252) byte string, plus the ANSI case-folding helper pair and
// the resource module that LoadString, LoadBitmap and the like read from (AfxGetResourceHandle).
#pragma once
#if defined(UNICODE) || defined(_UNICODE)
#error "Tessarine is an ANSI (Windows-1252) program: UNICODE must not be defined"
#endif
#include <windows.h>

#include <string>
#include <type_traits>

// The module holding string, bitmap, menu and dialog resources: the program's own unless set.
// The application object sets it once at start-up; every thread reads it.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);

// The one place where text changes case or compares without case: Win32's ANSI functions, so that
// accented Windows-1252 letters ("é"/"É") fold as a French user expects, whatever the C locale says.
void AfxAnsiUpper(char* text, DWORD length);
void AfxAnsiLower(char* text, DWORD length);
int AfxAnsiCompareNoCase(LPCSTR a, LPCSTR b); // lstrcmpiA: <0, 0, >0

class CString {
public:
    CString() = default;
    CString(const CString& other) = default;
    CString(CString&& other) noexcept = default;
    // A MAKEINTRESOURCE value loads that string from the resource module.
    CString(LPCSTR lpsz);
    CString(LPCSTR lpch, int nLength);
    CString(const unsigned char* lpsz) : CString(reinterpret_cast<LPCSTR>(lpsz)) {}
    CString(LPCWSTR lpsz); // converted to the ANSI code page
    explicit CString(char ch, int nRepeat = 1);

    CString& operator=(const CString& other) = default;
    CString& operator=(CString&& other) noexcept = default;
    CString& operator=(LPCSTR lpsz);
    CString& operator=(char ch);

    int GetLength() const { return static_cast<int>(m_data.size()); }
    BOOL IsEmpty() const { return m_data.empty(); }
    void Empty() { m_data.clear(); }
    operator LPCSTR() const { return m_data.c_str(); }

    // Index from 0 to GetLength() - 1; out-of-range indexes read as '\0' and write nothing.
    char GetAt(int nIndex) const;
    void SetAt(int nIndex, char ch);
    char operator[](int nIndex) const { return GetAt(nIndex); }

    CString& operator+=(const CString& s);
    CString& operator+=(LPCSTR lpsz);
    CString& operator+=(char ch);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCSTR b);
    friend CString operator+(LPCSTR a, const CString& b);
    friend CString operator+(const CString& a, char b);
    friend CString operator+(char a, const CString& b);

    // Byte order, like strcmp; CompareNoCase and Collate go through the ANSI helpers.
    int Compare(LPCSTR lpsz) const;
    int CompareNoCase(LPCSTR lpsz) const;
    int Collate(LPCSTR lpsz) const;
    int CollateNoCase(LPCSTR lpsz) const;

    void MakeUpper();
    void MakeLower();
    void MakeReverse();

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCSTR lpszCharSet) const;
    CString SpanExcluding(LPCSTR lpszCharSet) const;

    // Index of the first match at or after nStart, -1 when none.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR lpszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR lpszCharSet) const;

    // Each returns how many replacements or removals it made, or the new length.
    int Replace(char chOld, char chNew);
    int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCSTR psz);
    int Delete(int nIndex, int nCount = 1);

    void TrimLeft(); // blanks, tabs, line ends
    void TrimLeft(char chTarget);
    void TrimLeft(LPCSTR lpszTargets);
    void TrimRight();
    void TrimRight(char chTarget);
    void TrimRight(LPCSTR lpszTargets);

    // printf formatting (the C runtime's). CString arguments are passed as their text, so
    // Format("%s", str) works. Never pass user text as the format.
    template <typename... Args> void Format(LPCSTR lpszFormat, const Args&... args)
    {
        FormatRaw(lpszFormat, FormatArg(args)...);
    }
    template <typename... Args> void Format(UINT nFormatID, const Args&... args)
    {
        CString format;
        format.LoadString(nFormatID);
        FormatRaw(format, FormatArg(args)...);
    }
    void FormatV(LPCSTR lpszFormat, va_list argList);

    // Positional formatting with %1, %2 ... (and %1!d! forms) through FormatMessageA.
    template <typename... Args> void FormatMessage(LPCSTR lpszFormat, const Args&... args)
    {
        FormatMessageRaw(lpszFormat, FormatArg(args)...);
    }
    template <typename... Args> void FormatMessage(UINT nFormatID, const Args&... args)
    {
        CString format;
        format.LoadString(nFormatID);
        FormatMessageRaw(format, FormatArg(args)...);
    }

    // From the string table of the resource module; FALSE (and an empty string) when absent.
    BOOL LoadString(UINT nID);

    // Raw access: a writable buffer of at least nMinBufLength characters plus a terminator; call
    // ReleaseBuffer before any other member. ReleaseBuffer(-1) takes the length up to the first '\0'.
    LPSTR GetBuffer(int nMinBufLength);
    LPSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    LPSTR LockBuffer() { return GetBuffer(0); }
    void UnlockBuffer() {}
    void FreeExtra() { m_data.shrink_to_fit(); }

    // The bytes as a std::string, for code outside the framework.
    const std::string& Str() const { return m_data; }

private:
    template <typename T> static auto FormatArg(const T& value)
    {
        if constexpr (std::is_convertible_v<const T&,
                                            const CString&> && !std::is_pointer_v<T> && !std::is_array_v<T>) {
            return static_cast<LPCSTR>(static_cast<const CString&>(value));
        } else if constexpr (std::is_array_v<T>) {
            return static_cast<const std::remove_extent_t<T>*>(value);
        } else {
            return value;
        }
    }
    void FormatRaw(LPCSTR lpszFormat, ...);
    void FormatMessageRaw(LPCSTR lpszFormat, ...);

    std::string m_data;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCSTR b);
bool operator==(LPCSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCSTR b);
bool operator!=(LPCSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCSTR b);
bool operator<(LPCSTR a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, LPCSTR b);
bool operator>(LPCSTR a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, LPCSTR b);
bool operator<=(LPCSTR a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, LPCSTR b);
bool operator>=(LPCSTR a, const CString& b);

// Loads string nIDS and replaces %1 (and %2) by the given texts.
void AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1);
void AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2);
