// Helpers of the reader tests for IFF, PCX, Targa, metafiles and PhotoCD: reference manifests,
// a progress recorder, guarded buffers and byte builders.
#pragma once
#include "core/PackedDib.h"
#include "core/Progress.h"
#include "tests/formats/PictureCompare.h"

#include <cstdint>
#include <string>
#include <vector>

namespace owntest {

using namespace pictest;

// Bit count and size of a picture (0s for a null handle).
struct DibShape {
    int width = 0;
    int height = 0;
    int bits = 0;
    int colors = 0;
};
DibShape ShapeOf(PackedDIB dib);
// Checks the block: header 40, its sizes, and a block large enough for its rows.
bool IsConsistentDib(PackedDIB dib);

// Frees a picture at the end of a scope.
class DibHolder {
public:
    explicit DibHolder(PackedDIB dib = 0) : m_dib(dib) {}
    ~DibHolder() { GlobalFreeHandle(m_dib); }
    DibHolder(const DibHolder&) = delete;
    DibHolder& operator=(const DibHolder&) = delete;
    PackedDIB Get() const { return m_dib; }
    explicit operator bool() const { return m_dib != 0; }

private:
    PackedDIB m_dib;
};

// The prepared reference files: <build>/testdata/formats/own and its manifest lines.
struct ManifestEntry {
    std::string format; // ILBM, PCX, TGA, PCD
    std::string tool;   // netpbm, imagemagick
    std::string file;   // full path
    std::string reference;
    int tolerance = 0;
};
std::string OwnDataDir();
std::vector<ManifestEntry> ReadManifest(const std::string& format);

// Runs the console converter (build/tools/picconv.exe IN OUT.bmp) and returns its exit status, or
// -1 when it could not be started or did not end within a minute.
int RunPicconv(const std::string& in, const std::string& outBmp);

// Loads each file of the manifest of one format through picconv and compares the BMP it writes
// with the reference; fails the calling test on any difference beyond the file's tolerance.
// Returns how many files were compared.
int CheckThroughPicconv(const std::string& format);

// Records what readers report to the progress gauge while it is installed.
class ProgressRecorder : public IProgressSink {
public:
    ProgressRecorder();
    ~ProgressRecorder() override;
    void BeginProgress(LPCSTR text) override;
    void SetProgress(DWORD done, DWORD total) override;
    void EndProgress() override;

    int begins = 0;
    int sets = 0;
    int ends = 0;
    DWORD lastDone = 0;
    DWORD lastTotal = 0;
    std::string lastText;
};

// Bytes in a block whose end touches an inaccessible page (or, with guardBefore, whose start
// follows one): a read past the bytes faults at once instead of going unnoticed.
class GuardedBytes {
public:
    explicit GuardedBytes(const std::string& bytes, bool guardBefore = false);
    ~GuardedBytes();
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    const uint8_t* Data() const { return m_data; }
    size_t Size() const { return m_size; }

private:
    uint8_t* m_base = nullptr;
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
};

// Byte builders for files made inside the tests.
void PutU8(std::string& s, unsigned v);
void PutU16LE(std::string& s, unsigned v);
void PutU32LE(std::string& s, uint32_t v);
void PutU16BE(std::string& s, unsigned v);
void PutU32BE(std::string& s, uint32_t v);
void SetU16LE(std::string& s, size_t at, unsigned v);
void SetU32LE(std::string& s, size_t at, uint32_t v);
void SetU32BE(std::string& s, size_t at, uint32_t v);

// Deterministic pseudo-random numbers for the hostile variants.
class Random {
public:
    explicit Random(uint32_t seed) : m_state(seed ? seed : 1) {}
    uint32_t Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    uint32_t Below(uint32_t n) { return n ? Next() % n : 0; }

private:
    uint32_t m_state;
};

} // namespace owntest
