// A small tmpfs mounted for one test, through the Linux shell Wine can start.
#include "tests/support/SmallDisk.h"

#include "tests/support/TestPaths.h"
#include "tests/support/UnixCommand.h"

namespace testpaths {

SmallDisk::SmallDisk(const std::string& folder, int kilobytes) : m_folder(folder)
{
    ::CreateDirectoryA(folder.c_str(), nullptr);
    m_unix = UnixPath(folder);
    if (m_unix.empty())
        return;
    m_mounted = RunUnix("mount -t tmpfs -o size=" + std::to_string(kilobytes) + "k tessarine-test '" + m_unix
                        + "' && echo small-disk-ready")
                    .find("small-disk-ready")
                != std::string::npos;
}

SmallDisk::~SmallDisk()
{
    // A file some process still holds there cannot keep the mount: it goes at once all the same.
    if (m_mounted)
        RunUnix("umount '" + m_unix + "' || umount -l '" + m_unix + "'");
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
