// Where tests find the source tree, the build tree, the dependency test pictures and scratch space.
#pragma once
#include <string>

namespace testpaths {

// Windows paths (through Wine's Z: drive) to the folders the build configured.
std::string SourceDir();     // the repository root
std::string BinaryDir();     // the build folder
std::string TestImagesDir(); // the libraries' own test pictures: png/, tiff/, gif/, jpeg/
std::string TestDataDir();   // build/testdata: references made by tests/<folder>/prepare*.sh
// The Linux path of a Windows one (Wine's own answer, in UTF-8 as Linux names it; RunUnix takes it as
// it is), "" when there is none.
std::string UnixPath(const std::string& windowsPath);
// Removes a folder with everything in it.
void RemoveTree(const std::string& dir);

// A fresh empty folder under the system temporary folder, removed with everything in it
// when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

// Creates folders under base (nested, each name at most 60 characters) so that the last one's
// full path is exactly `length` characters, and returns that path; "" when it cannot be made.
std::string MakeFolderOfLength(const std::string& base, size_t length);

// A path in the system's wide characters (for names the code page cannot spell).
std::wstring Wide(const std::string& text);
// A wide text in the code page, each letter it lacks as "?".
std::string Narrow(const std::wstring& text);

// Whole-file helpers for test data.
bool WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path); // empty when the file cannot be read

} // namespace testpaths
