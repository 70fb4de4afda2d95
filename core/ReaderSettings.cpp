// Defaults of the reader settings, as a fresh installation has them.
#include "core/ReaderSettings.h"

int g_PhotoCDSize = 2;
int g_CouleursJPEG = 2;
int g_TauxJPEG = 50;
int g_DefaultWmfCX = 640;
int g_DefaultWmfCY = 480;
