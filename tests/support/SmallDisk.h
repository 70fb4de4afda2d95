// A disk of a test's own that fills for real: a small tmpfs mounted on a folder the test made.
#pragma once
#include <windows.h>

#include <string>

namespace testpaths {

// Mounts a tmpfs of that many kilobytes on folder (made here, under a folder the test owns); the
// destructor unmounts it, so no mount outlives the object. Mounting needs root: elsewhere Mounted()
// is false and the folder is an ordinary one.
class SmallDisk {
public:
    SmallDisk(const std::string& folder, int kilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool Mounted() const { return m_mounted; }
    // Fills the disk with one more file so that only about `bytes` stay free.
    bool LeaveFree(ULONGLONG bytes);

private:
    std::string m_folder, m_unix;
    bool m_mounted = false;
};

} // namespace testpaths
