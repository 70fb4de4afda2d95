// The program's one application object; the framework's entry point runs it.
#include "app/TessarineApp.h"

CTessarineApp theApp;
