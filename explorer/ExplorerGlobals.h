// What the explorer reads of the library's process-wide state.
#pragma once
#include "framework/String.h"
#include "piclist/LibraryState.h"

// The protected-pictures folder of the library as the library tree set it, or empty before there
// is one (nothing is then locked).
CString ProtectedFolderPath();
