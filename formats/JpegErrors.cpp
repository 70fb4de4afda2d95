// The JPEG library's error exit and message output for the reader and the writer.
#include "formats/JpegErrors.h"

#include <windows.h>

namespace {

void JumpToRecoveryPoint(j_common_ptr cinfo)
{
    JpegErrorManager* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    (*cinfo->err->output_message)(cinfo);
    longjmp(manager->recovery, 1);
}

// The library's own output goes to stderr; a picture viewer keeps its messages to the trace.
void TraceMessage(j_common_ptr cinfo)
{
    char text[JMSG_LENGTH_MAX + 2];
    (*cinfo->err->format_message)(cinfo, text);
    lstrcatA(text, "\n");
    OutputDebugStringA(text);
}

} // namespace

jpeg_error_mgr* InitJpegErrorManager(JpegErrorManager* manager)
{
    jpeg_error_mgr* err = jpeg_std_error(&manager->pub);
    err->error_exit = JumpToRecoveryPoint;
    err->output_message = TraceMessage;
    return err;
}
