// A small tmpfs mounted for one test, through the Linux shell Wine can start.
#include "tests/support/SmallDisk.h"

#include "tests/support/PrintedPdf.h"
#include "tests/support/TestPaths.h"

namespace testpaths {
namespace {

// Runs a shell command beside the folder and gives what it printed.
std::string Run(const std::string& unixFolder, const std::string& command)
{
    const std::string result = unixFolder + ".result";
    printed::RunUnix("(" + command + ") > '" + result + ".part' 2>&1", result);
    std::string path = "Z:" + result;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    const std::string text = ReadBytes(path);
    ::DeleteFileA(path.c_str());
    return text;
}

} // namespace

SmallDisk::SmallDisk(const std::string& folder, int kilobytes) : m_folder(folder)
{
    ::CreateDirectoryA(folder.c_str(), nullptr);
    m_unix = UnixPath(folder);
    if (m_unix.empty())
        return;
    m_mounted = Run(m_unix, "mount -t tmpfs -o size=" + std::to_string(kilobytes) + "k tessarine-test '"
                                + m_unix + "' && echo small-disk-ready")
                    .find("small-disk-ready")
                != std::string::npos;
}

SmallDisk::~SmallDisk()
{
    // A file some process still holds there cannot keep the mount: it goes at once all the same.
    if (m_mounted)
        Run(m_unix, "umount '" + m_unix + "' || umount -l '" + m_unix + "'");
}

bool SmallDisk::LeaveFree(ULONGLONG bytes)
{
    ULARGE_INTEGER free = {};
    if (!m_mounted || !::GetDiskFreeSpaceExA((m_folder + "\\").c_str(), &free, nullptr, nullptr)
        || free.QuadPart < bytes)
        return false;
    return WriteBytes(m_folder + "\\filler", std::string(static_cast<size_t>(free.QuadPart - bytes), '\0'));
}

} // namespace testpaths
