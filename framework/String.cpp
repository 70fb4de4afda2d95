// CString and the ANSI case helpers.
#include "framework/String.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::atomic<HINSTANCE> g_resourceHandle{nullptr};

const char kBlanks[] = " \t\r\n\v\f";

size_t Clamp(int value, size_t limit)
{
    if (value < 0)
        return 0;
    return static_cast<size_t>(value) > limit ? limit : static_cast<size_t>(value);
}

} // namespace

HINSTANCE AfxGetResourceHandle()
{
    HINSTANCE h = g_resourceHandle.load();
    return h ? h : GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hInstResource) { g_resourceHandle.store(hInstResource); }

void AfxAnsiUpper(char* text, DWORD length)
{
    if (text && length)
        CharUpperBuffA(text, length);
}

void AfxAnsiLower(char* text, DWORD length)
{
    if (text && length)
        CharLowerBuffA(text, length);
}

int AfxAnsiCompareNoCase(LPCSTR a, LPCSTR b) { return lstrcmpiA(a ? a : "", b ? b : ""); }

CString::CString(LPCSTR lpsz)
{
    if (lpsz == nullptr)
        return;
    if (IS_INTRESOURCE(lpsz)) {
        LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(lpsz)));
        return;
    }
    m_data = lpsz;
}

CString::CString(LPCSTR lpch, int nLength)
{
    if (lpch && nLength > 0)
        m_data.assign(lpch, static_cast<size_t>(nLength));
}

CString::CString(LPCWSTR lpsz)
{
    if (lpsz == nullptr || *lpsz == 0)
        return;
    int n = WideCharToMultiByte(CP_ACP, 0, lpsz, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return;
    m_data.resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_ACP, 0, lpsz, -1, &m_data[0], n, nullptr, nullptr);
    m_data.resize(static_cast<size_t>(n - 1));
}

CString::CString(char ch, int nRepeat)
{
    if (nRepeat > 0)
        m_data.assign(static_cast<size_t>(nRepeat), ch);
}

CString& CString::operator=(LPCSTR lpsz)
{
    *this = CString(lpsz);
    return *this;
}

CString& CString::operator=(char ch)
{
    m_data.assign(1, ch);
    return *this;
}

char CString::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetLength())
        return '\0';
    return m_data[static_cast<size_t>(nIndex)];
}

void CString::SetAt(int nIndex, char ch)
{
    if (nIndex >= 0 && nIndex < GetLength())
        m_data[static_cast<size_t>(nIndex)] = ch;
}

CString& CString::operator+=(const CString& s)
{
    m_data += s.m_data;
    return *this;
}

CString& CString::operator+=(LPCSTR lpsz)
{
    if (lpsz)
        m_data += lpsz;
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_data += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, LPCSTR b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(LPCSTR a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, char b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(char a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

int CString::Compare(LPCSTR lpsz) const { return std::strcmp(m_data.c_str(), lpsz ? lpsz : ""); }

int CString::CompareNoCase(LPCSTR lpsz) const { return AfxAnsiCompareNoCase(m_data.c_str(), lpsz); }

int CString::Collate(LPCSTR lpsz) const { return lstrcmpA(m_data.c_str(), lpsz ? lpsz : ""); }

int CString::CollateNoCase(LPCSTR lpsz) const { return AfxAnsiCompareNoCase(m_data.c_str(), lpsz); }

void CString::MakeUpper()
{
    if (!m_data.empty())
        AfxAnsiUpper(&m_data[0], static_cast<DWORD>(m_data.size()));
}

void CString::MakeLower()
{
    if (!m_data.empty())
        AfxAnsiLower(&m_data[0], static_cast<DWORD>(m_data.size()));
}

void CString::MakeReverse() { m_data.assign(m_data.rbegin(), m_data.rend()); }

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Mid(int nFirst, int nCount) const
{
    size_t first = Clamp(nFirst, m_data.size());
    size_t count = Clamp(nCount, m_data.size() - first);
    return CString(m_data.data() + first, static_cast<int>(count));
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const
{
    size_t count = Clamp(nCount, m_data.size());
    return CString(m_data.data() + m_data.size() - count, static_cast<int>(count));
}

CString CString::SpanIncluding(LPCSTR lpszCharSet) const
{
    size_t n = m_data.find_first_not_of(lpszCharSet ? lpszCharSet : "");
    return Left(n == std::string::npos ? GetLength() : static_cast<int>(n));
}

CString CString::SpanExcluding(LPCSTR lpszCharSet) const
{
    size_t n = m_data.find_first_of(lpszCharSet ? lpszCharSet : "");
    return Left(n == std::string::npos ? GetLength() : static_cast<int>(n));
}

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0 || nStart >= GetLength())
        return -1;
    size_t n = m_data.find(ch, static_cast<size_t>(nStart));
    return n == std::string::npos ? -1 : static_cast<int>(n);
}

int CString::Find(LPCSTR lpszSub, int nStart) const
{
    if (lpszSub == nullptr || nStart < 0 || nStart > GetLength())
        return -1;
    size_t n = m_data.find(lpszSub, static_cast<size_t>(nStart));
    return n == std::string::npos ? -1 : static_cast<int>(n);
}

int CString::ReverseFind(char ch) const
{
    size_t n = m_data.rfind(ch);
    return n == std::string::npos ? -1 : static_cast<int>(n);
}

int CString::FindOneOf(LPCSTR lpszCharSet) const
{
    size_t n = m_data.find_first_of(lpszCharSet ? lpszCharSet : "");
    return n == std::string::npos ? -1 : static_cast<int>(n);
}

int CString::Replace(char chOld, char chNew)
{
    int count = 0;
    for (char& c : m_data) {
        if (c == chOld) {
            c = chNew;
            ++count;
        }
    }
    return chOld == chNew ? 0 : count;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew)
{
    if (lpszOld == nullptr || *lpszOld == '\0')
        return 0;
    const size_t oldLen = std::strlen(lpszOld);
    const char* replacement = lpszNew ? lpszNew : "";
    std::string result;
    int count = 0;
    size_t pos = 0;
    for (;;) {
        size_t hit = m_data.find(lpszOld, pos, oldLen);
        if (hit == std::string::npos)
            break;
        result.append(m_data, pos, hit - pos);
        result += replacement;
        pos = hit + oldLen;
        ++count;
    }
    if (count) {
        result.append(m_data, pos, std::string::npos);
        m_data.swap(result);
    }
    return count;
}

int CString::Remove(char ch)
{
    size_t before = m_data.size();
    std::string kept;
    kept.reserve(before);
    for (char c : m_data) {
        if (c != ch)
            kept += c;
    }
    m_data.swap(kept);
    return static_cast<int>(before - m_data.size());
}

int CString::Insert(int nIndex, char ch)
{
    m_data.insert(Clamp(nIndex, m_data.size()), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCSTR psz)
{
    if (psz)
        m_data.insert(Clamp(nIndex, m_data.size()), psz);
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    if (nIndex >= 0 && nIndex < GetLength() && nCount > 0) {
        size_t first = static_cast<size_t>(nIndex);
        m_data.erase(first, Clamp(nCount, m_data.size() - first));
    }
    return GetLength();
}

void CString::TrimLeft() { TrimLeft(kBlanks); }

void CString::TrimLeft(char chTarget)
{
    char set[2] = {chTarget, '\0'};
    TrimLeft(set);
}

void CString::TrimLeft(LPCSTR lpszTargets)
{
    size_t n = m_data.find_first_not_of(lpszTargets ? lpszTargets : "");
    m_data.erase(0, n == std::string::npos ? m_data.size() : n);
}

void CString::TrimRight() { TrimRight(kBlanks); }

void CString::TrimRight(char chTarget)
{
    char set[2] = {chTarget, '\0'};
    TrimRight(set);
}

void CString::TrimRight(LPCSTR lpszTargets)
{
    size_t n = m_data.find_last_not_of(lpszTargets ? lpszTargets : "");
    m_data.erase(n == std::string::npos ? 0 : n + 1);
}

void CString::FormatV(LPCSTR lpszFormat, va_list argList)
{
    if (lpszFormat == nullptr) {
        m_data.clear();
        return;
    }
    va_list probe;
    va_copy(probe, argList);
    int n = std::vsnprintf(nullptr, 0, lpszFormat, probe);
    va_end(probe);
    if (n <= 0) {
        m_data.clear();
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(n) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), lpszFormat, argList);
    m_data.assign(buffer.data(), static_cast<size_t>(n));
}

void CString::FormatRaw(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    FormatV(lpszFormat, args);
    va_end(args);
}

void CString::FormatMessageRaw(LPCSTR lpszFormat, ...)
{
    m_data.clear();
    if (lpszFormat == nullptr)
        return;
    va_list args;
    va_start(args, lpszFormat);
    LPSTR out = nullptr;
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER, lpszFormat, 0, 0,
                               reinterpret_cast<LPSTR>(&out), 0, &args);
    va_end(args);
    if (out) {
        m_data.assign(out, n);
        LocalFree(out);
    }
}

BOOL CString::LoadString(UINT nID)
{
    m_data.clear();
    // LoadStringA cannot report the length, so grow the buffer while the text fills it.
    for (size_t size = 256; size <= 65536 * 2; size *= 2) {
        std::vector<char> buffer(size);
        int n = ::LoadStringA(AfxGetResourceHandle(), nID, buffer.data(), static_cast<int>(size));
        if (n <= 0)
            return FALSE;
        if (static_cast<size_t>(n) < size - 1) {
            m_data.assign(buffer.data(), static_cast<size_t>(n));
            return TRUE;
        }
    }
    return FALSE;
}

LPSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength())
        m_data.resize(static_cast<size_t>(nMinBufLength));
    return &m_data[0];
}

LPSTR CString::GetBufferSetLength(int nNewLength)
{
    m_data.resize(nNewLength > 0 ? static_cast<size_t>(nNewLength) : 0);
    return &m_data[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(strnlen(m_data.c_str(), m_data.size()));
    m_data.resize(Clamp(nNewLength, m_data.size()));
}

bool operator==(const CString& a, const CString& b) { return a.Str() == b.Str(); }
bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }
bool operator!=(LPCSTR a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, LPCSTR b) { return a.Compare(b) < 0; }
bool operator<(LPCSTR a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>(const CString& a, LPCSTR b) { return a.Compare(b) > 0; }
bool operator>(LPCSTR a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator<=(const CString& a, LPCSTR b) { return a.Compare(b) <= 0; }
bool operator<=(LPCSTR a, const CString& b) { return b.Compare(a) >= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
bool operator>=(const CString& a, LPCSTR b) { return a.Compare(b) >= 0; }
bool operator>=(LPCSTR a, const CString& b) { return b.Compare(a) <= 0; }

void AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1)
{
    AfxFormatString2(rString, nIDS, lpsz1, nullptr);
}

void AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2)
{
    // Plain substitution, not FormatMessage: the inserted texts may hold '%' and must stay as they are.
    CString format;
    format.LoadString(nIDS);
    CString result;
    for (int i = 0; i < format.GetLength(); ++i) {
        char c = format[i];
        char next = format[i + 1];
        if (c == '%' && (next == '1' || next == '2')) {
            LPCSTR insert = next == '1' ? lpsz1 : lpsz2;
            result += insert ? insert : "";
            ++i;
        } else {
            result += c;
        }
    }
    rString = result;
}
