// Test folders and scratch space.
#include "tests/support/TestPaths.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace testpaths {
namespace {

// Unix paths configured at build time become Wine's Z: drive paths. CMake writes them in UTF-8, the
// tests name files in the code page: "Zo\xC3\xA9" is "Zo\xE9" there (a letter the code page lacks
// cannot be named at all, which the test command refuses before it builds).
std::string FromUnix(const char* unixPath)
{
    std::vector<WCHAR> wide(std::strlen(unixPath) + 1);
    ::MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, wide.data(), static_cast<int>(wide.size()));
    std::string p = "Z:" + Narrow(wide.data());
    for (char& c : p)
        if (c == '/')
            c = '\\';
    return p;
}

} // namespace

namespace {

// In wide characters, so that a name the code page cannot spell goes too (and no look-alike of it).
void RemoveTreeW(const std::wstring& dir)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring full = dir + L"\\" + name;
            if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                RemoveTreeW(full);
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

} // namespace

void RemoveTree(const std::string& dir) { RemoveTreeW(Wide(dir)); }

std::string UnixPath(const std::string& windowsPath)
{
    using ToUnix = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    std::vector<WCHAR> wide(windowsPath.size() + 1);
    ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    char* unix = toUnix != nullptr ? toUnix(wide.data()) : nullptr;
    const std::string result = unix != nullptr ? unix : "";
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

std::string Narrow(const std::wstring& text)
{
    std::vector<char> narrow(text.size() * 2 + 1);
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, narrow.data(), static_cast<int>(narrow.size()),
                          nullptr, nullptr);
    return narrow.data();
}

std::wstring Wide(const std::string& text)
{
    std::vector<WCHAR> wide(text.size() + 1);
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    return wide.data();
}

std::string SourceDir() { return FromUnix(TESSARINE_SOURCE_DIR); }
std::string BinaryDir() { return FromUnix(TESSARINE_BINARY_DIR); }
std::string TestImagesDir() { return FromUnix(TESSARINE_TESTIMAGES); }
std::string TestDataDir() { return BinaryDir() + "\\testdata"; }

TempDir::TempDir()
{
    // The test command gives the programs a temporary folder of the run's own, so that every user and
    // every run make the same paths: only the number differs, the first free one, all of one width.
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    for (int n = 1;; n++) {
        char name[MAX_PATH + 16];
        std::snprintf(name, sizeof(name), "%stess%04d", base, n);
        if (CreateDirectoryA(name, nullptr) || GetLastError() != ERROR_ALREADY_EXISTS) {
            m_path = name; // a folder that could not be made fails the test's first step on it
            return;
        }
    }
}

TempDir::~TempDir() { RemoveTree(m_path); }

std::string MakeFolderOfLength(const std::string& base, size_t length)
{
    std::string path = base;
    if (path.size() + 2 > length)
        return std::string();
    char letter = 'a';
    while (path.size() < length) {
        const size_t room = length - path.size() - 1;
        size_t part = room > 60 ? 60 : room;
        if (room - part == 1)
            --part; // the next name needs a separator and a character
        path += "\\" + std::string(part, letter++);
        if (!CreateDirectoryA(path.c_str(), nullptr))
            return std::string();
    }
    return path;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream f(path, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

} // namespace testpaths
