// Linked into every test program that uses the framework: no test waits for the disk to flush.
#include "framework/TestSeams.h"

namespace {

const bool g_quietDisk = (AfxTestSkipDiskFlushes(), true);

} // namespace
