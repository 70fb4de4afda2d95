// The JPEG library's error manager as the reader and the writer use it: fatal errors jump back to a
// recovery point armed by the call that owns the library object, and messages show nothing.
#pragma once
#include <cstdio>
#include <csetjmp>

#include <jpeglib.h>

// One per library object, on the stack of the call that arms it. The functions that call setjmp
// keep no C++ object with a destructor in their frame, and what they change after arming it lives
// in this struct (reached through the library object, so never cached in a register).
struct JpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf recovery;
};

// Sets up the manager: error_exit jumps to recovery, messages go to the debug trace only.
jpeg_error_mgr* InitJpegErrorManager(JpegErrorManager* manager);
