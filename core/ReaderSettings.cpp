// The reader settings, as a fresh installation has them.
#include "core/ReaderSettings.h"

int g_PhotoCDSize = kDefaultPhotoCDSize;
int g_CouleursJPEG = kDefaultCouleursJPEG;
int g_TauxJPEG = kDefaultTauxJPEG;
int g_DefaultWmfCX = kDefaultWmfCX;
int g_DefaultWmfCY = kDefaultWmfCY;
