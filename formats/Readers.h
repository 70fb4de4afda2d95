// Joins every picture reader of this folder to the load dispatcher.
#pragma once

// Called once at start-up (by the program and by the tools) before any picture is loaded.
void InstallPictureReaders();
