// The temporary-file writer lives in framework/, where the document save can use it as well.
#pragma once
#include "framework/SafeFileWrite.h"
