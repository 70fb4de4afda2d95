// picconv IN OUT.bmp [--thumb WxH]: loads a picture through the program's own loader and writes it
// with the program's BMP writer. Exit status: 0 written, 1 not read or not written, 2 usage error.
#include "core/BmpFile.h"
#include "core/DIB.h"
#include "core/FileTypes.h"
#include "core/FileUtil.h"
#include "core/LoadDispatch.h"
#include "core/Progress.h"
#include "formats/Readers.h"
#include "framework/Exceptions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace {

const int kWritten = 0;
const int kFailed = 1;
const int kUsage = 2;

int Usage(const char* problem)
{
    if (problem)
        fprintf(stderr, "picconv: %s\n", problem);
    fprintf(stderr, "usage: picconv IN OUT.bmp [--thumb WxH]\n"
                    "  Reads IN with the program's picture readers and writes it as a BMP file.\n"
                    "  --thumb WxH  writes the library thumbnail of IN fitted into W x H (1..65535).\n");
    return kUsage;
}

// "WxH" with both sides in 1..65535.
bool ParseBox(const char* text, WORD* width, WORD* height)
{
    char* end = nullptr;
    unsigned long w = strtoul(text, &end, 10);
    if (end == text || (*end != 'x' && *end != 'X'))
        return false;
    const char* second = end + 1;
    unsigned long h = strtoul(second, &end, 10);
    if (end == second || *end != 0 || w < 1 || w > 65535 || h < 1 || h > 65535)
        return false;
    *width = WORD(w);
    *height = WORD(h);
    return true;
}

// Why a load gave nothing, in words a user can act on.
const char* ReadFailure(const char* path)
{
    if (!FileExists(path))
        return "no such file";
    if (GetPictureReader(GetFileTypeFromExt(path)) == nullptr)
        return "no reader for this type of file";
    return "the picture is damaged, truncated or of an unsupported kind";
}

const char* SaveFailure(WORD code)
{
    switch (code) {
    case kSaveDIBCannotLock:
        return "the picture cannot be written as a BMP file";
    case kSaveDIBWriteFailed:
        return "the file cannot be created or written";
    default:
        return "no picture";
    }
}

int Run(int argc, char** argv)
{
    const char* in = nullptr;
    const char* out = nullptr;
    bool thumb = false;
    WORD boxWidth = 0, boxHeight = 0;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--thumb") == 0) {
            if (i + 1 >= argc || !ParseBox(argv[i + 1], &boxWidth, &boxHeight))
                return Usage("--thumb needs a size such as 84x68");
            thumb = true;
            ++i;
        } else if (argv[i][0] == '-' && argv[i][1] == '-') {
            return Usage("unknown option");
        } else if (!in) {
            in = argv[i];
        } else if (!out) {
            out = argv[i];
        } else {
            return Usage("too many arguments");
        }
    }
    if (!in || !out)
        return Usage(nullptr);

    g_bReportProgress = FALSE;
    InstallPictureReaders();
    PackedDIB dib;
    if (thumb) {
        dib = LoadThumbnailDIB(in, boxWidth, boxHeight, 24);
    } else {
        CDIB picture;
        picture.Read(in);
        dib = picture.Detach();
    }
    if (!dib) {
        fprintf(stderr, "picconv: cannot read %s: %s\n", in, ReadFailure(in));
        return kFailed;
    }
    WORD saved = SaveDIBFile(dib, out);
    GlobalFreeHandle(dib);
    if (saved != kSaveDIBOk) {
        fprintf(stderr, "picconv: cannot write %s: %s\n", out, SaveFailure(saved));
        return kFailed;
    }
    return kWritten;
}

} // namespace

int main(int argc, char** argv)
{
    // No system error boxes: a tool run by tests and scripts must answer, not wait for a click.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    try {
        return Run(argc, argv);
    } catch (const CException&) {
        fprintf(stderr, "picconv: the picture could not be converted (framework error)\n");
    } catch (const std::exception& e) {
        fprintf(stderr, "picconv: the picture could not be converted: %s\n", e.what());
    }
    return kFailed;
}
