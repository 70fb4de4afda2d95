#include "shell/LibraryLink.h"

ILibraryLink* g_pLibraryLink = nullptr;
