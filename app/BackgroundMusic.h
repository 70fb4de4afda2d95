// The background music of slide shows: one sound file played through MCI, played again each time it
// ends while the show runs. The main frame keeps the state; its dispatcher starts the next play.
#pragma once
#include <windows.h>
#include <mmsystem.h>

// The open device, 0 when none.
extern MCIDEVICEID g_wMciDevice;

// Plays the file (at most MAX_PATH characters) and, with loop, again each time it ends. Empty: nothing.
// When the file or the device cannot play, the user is told once, whichever way it fails.
void PlayMusic(LPCSTR path, BOOL loop);
// Stops at once; a notification still on its way restarts nothing.
void StopMusic();
// Opens the file, sets the time format and starts a play that notifies the main window when it
// ends. The MCI error, 0 when playing.
MCIERROR PlayMusicFile(LPCSTR path, BOOL loop);
// Stops and closes the current device (also when none is open); its MCI error.
MCIERROR CloseMusicDevice();
