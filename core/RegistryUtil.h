// Reading and writing registry values: strings (REG_SZ), 32-bit numbers (REG_DWORD), default
// values, and removal of values and key trees. Keys are a root handle and a subkey path.
#pragma once
#include <windows.h>

// Size of the caller's buffer that RegGetString fills.
const DWORD kRegStringBufferSize = 260;

// Writes a REG_SZ value (with its terminating NUL), creating the key when it is missing.
// 1 when written; 0 when the key cannot be opened or created or the write fails.
int RegSetString(HKEY root, LPCSTR subkey, LPCSTR valueName, LPCSTR text);

// Reads a value of at most 259 bytes as text into buffer (kRegStringBufferSize bytes, the
// caller's), always terminated. 1 when read; 0 when the key or value cannot be read or the value is
// longer, and then the buffer is not touched, so the caller keeps its default.
int RegGetString(HKEY root, LPCSTR subkey, LPCSTR valueName, char* buffer);

// Writes a REG_DWORD value, creating the key when it is missing. 1 when written, else 0.
int RegSetDword(HKEY root, LPCSTR subkey, LPCSTR valueName, DWORD value);

// Reads a 4-byte value. 1 when read; 0 (value untouched) otherwise.
int RegGetDword(HKEY root, LPCSTR subkey, LPCSTR valueName, DWORD* value);

// As RegGetDword, but a number outside [minimum, maximum] counts as unreadable: 0 and the value is
// not touched, so the caller keeps its default.
int RegGetDwordInRange(HKEY root, LPCSTR subkey, LPCSTR valueName, DWORD* value, DWORD minimum,
                       DWORD maximum);

// Removes a value (the key is created when missing). Always 1.
int RegRemoveValue(HKEY root, LPCSTR subkey, LPCSTR valueName);

// Deletes the key with all its subkeys. 1 when the key is gone; 0 when it cannot be opened or a
// subkey or the key itself cannot be deleted.
int RegDeleteKeyTree(HKEY root, LPCSTR subkey);

// Reads the default (unnamed) value of a key as text into buffer (size bytes, always terminated
// when size is not 0); the buffer is emptied first. TRUE when read and not empty.
BOOL RegGetDefaultValue(HKEY root, LPCSTR subkey, char* buffer, DWORD size);
