// Linux commands run from a test.
#include "tests/support/UnixCommand.h"

#include "tests/support/TestPaths.h"

#include <windows.h>

#include <atomic>
#include <vector>

namespace testpaths {

std::string RunUnix(const std::string& command)
{
    // Wine starts a Linux program without a process handle to wait on: the command writes its output
    // under another name and renames it when done, and the output's arrival is what ends the wait.
    static const TempDir folder;
    static std::atomic<int> counter{0};
    const std::string name = "run" + std::to_string(++counter);
    const std::string output = folder.File(name);
    const std::string unix = UnixPath(folder.Path()) + "/" + name;
    std::string line = "/bin/sh -c \"(" + command + ") > '" + unix + ".part' ; mv -f '" + unix + ".part' '"
                       + unix + "' || : > '" + unix + "'\"";
    // In wide characters: Wine hands them to the Linux program in UTF-8, each letter as it was.
    std::vector<WCHAR> buf(line.size() + 1);
    ::MultiByteToWideChar(CP_UTF8, 0, line.c_str(), -1, buf.data(), static_cast<int>(buf.size()));
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return std::string();
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    const DWORD start = ::GetTickCount();
    while (::GetFileAttributesA(output.c_str()) == INVALID_FILE_ATTRIBUTES
           && ::GetTickCount() - start < 60000)
        ::Sleep(20);
    const std::string text = ReadBytes(output);
    ::DeleteFileA(output.c_str());
    return text;
}

} // namespace testpaths
