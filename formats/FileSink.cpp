// The picture writers' checked, buffered file output.
#include "formats/FileSink.h"

#include "core/FileWrappers.h"

#include <cstring>

void FileSinkInit(FileSink* sink, HANDLE file)
{
    sink->file = file;
    sink->used = 0;
    sink->failed = file == INVALID_HANDLE_VALUE || file == nullptr;
}

bool FileSinkFlush(FileSink* sink)
{
    if (sink->failed)
        return false;
    if (sink->used > 0 && !WriteFileExact(sink->file, sink->buffer, sink->used))
        sink->failed = true;
    sink->used = 0;
    return !sink->failed;
}

bool FileSinkPut(FileSink* sink, const void* data, size_t count)
{
    const BYTE* bytes = static_cast<const BYTE*>(data);
    while (count > 0 && !sink->failed) {
        if (sink->used == sizeof(sink->buffer) && !FileSinkFlush(sink))
            break;
        size_t piece = sizeof(sink->buffer) - sink->used;
        if (piece > count)
            piece = count;
        memcpy(sink->buffer + sink->used, bytes, piece);
        sink->used += static_cast<DWORD>(piece);
        bytes += piece;
        count -= piece;
    }
    return !sink->failed;
}
