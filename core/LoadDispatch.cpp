// The table of picture readers, the per-thread load results and the decoder lock.
#include "core/LoadDispatch.h"

#include "core/BmpFile.h"

#include <atomic>

thread_local int ThumbnailDecodeMode = 0;
thread_local PictureSize LastJPEGHeaderSize = {0, 0};
thread_local PictureInfo LastPictureInfo = {0, 0, 0};

namespace {

const int kReaderSlots = 128;

// Built on first use (thread-safe); BMP lives in this folder and is always there.
struct ReaderTable {
    std::atomic<PictureReader> slots[kReaderSlots];
    ReaderTable()
    {
        for (auto& slot : slots)
            slot.store(nullptr);
        slots[5].store(&LoadBMPFile);
    }
};

ReaderTable& Readers()
{
    static ReaderTable table;
    return table;
}

// The decoder lock: a function-local static, so its first use is thread-safe.
struct DecoderSection {
    CRITICAL_SECTION section;
    DecoderSection() { InitializeCriticalSection(&section); }
    ~DecoderSection() { DeleteCriticalSection(&section); }
};

CRITICAL_SECTION& DecoderCriticalSection()
{
    static DecoderSection decoder;
    return decoder.section;
}

std::atomic<JPEGResourceReader> g_jpegResourceReader{nullptr};

} // namespace

void SetPictureReader(int fileTypeCode, PictureReader reader)
{
    if (fileTypeCode < 0 || fileTypeCode >= kReaderSlots)
        return;
    Readers().slots[fileTypeCode].store(reader);
}

PictureReader GetPictureReader(int fileTypeCode)
{
    if (fileTypeCode < 0 || fileTypeCode >= kReaderSlots)
        return nullptr;
    return Readers().slots[fileTypeCode].load();
}

CDecoderLock::CDecoderLock() { EnterCriticalSection(&DecoderCriticalSection()); }

CDecoderLock::~CDecoderLock() { LeaveCriticalSection(&DecoderCriticalSection()); }

void SetJPEGResourceReader(JPEGResourceReader reader) { g_jpegResourceReader.store(reader); }

JPEGResourceReader GetJPEGResourceReader() { return g_jpegResourceReader.load(); }
