// A buffered writer to an open file handle for the picture writers: the compression libraries hand
// it their bytes, and every write to the file is checked, so a full disk is seen at the write that
// fails instead of vanishing in a stdio buffer flushed at close.
#pragma once
#include <windows.h>

#include <cstddef>

// Plain data on purpose: a library error may jump over the frame that holds it.
struct FileSink {
    HANDLE file;
    DWORD used;  // bytes held in buffer
    bool failed; // a write failed: every later call fails too
    BYTE buffer[32768];
};

// Starts an empty sink on the handle (which the caller keeps and closes).
void FileSinkInit(FileSink* sink, HANDLE file);
// Adds bytes, writing the buffer out whenever it fills. false once any write has failed.
bool FileSinkPut(FileSink* sink, const void* data, size_t count);
// Writes out what is held. false when that, or any earlier write, failed.
bool FileSinkFlush(FileSink* sink);
