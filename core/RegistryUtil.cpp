// Registry values through the Win32 ANSI functions.
#include "core/RegistryUtil.h"

#include <string>

namespace {

// Opens or creates a key for writing; null when neither works.
HKEY OpenForWriting(HKEY root, LPCSTR subkey)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    const LONG result =
        RegCreateKeyExA(root, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition);
    if (result != ERROR_SUCCESS)
        return nullptr;
    return key;
}

int SetValue(HKEY root, LPCSTR subkey, LPCSTR valueName, DWORD type, const BYTE* data, DWORD size)
{
    HKEY key = OpenForWriting(root, subkey);
    if (key == nullptr)
        return 0;
    const LONG result = RegSetValueExA(key, valueName, 0, type, data, size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? 1 : 0;
}

} // namespace

int RegSetString(HKEY root, LPCSTR subkey, LPCSTR valueName, LPCSTR text)
{
    if (text == nullptr)
        text = "";
    // The size counts the terminating NUL, as REG_SZ requires, so every reader finds it.
    return SetValue(root, subkey, valueName, REG_SZ, reinterpret_cast<const BYTE*>(text),
                    static_cast<DWORD>(lstrlenA(text)) + 1);
}

int RegGetString(HKEY root, LPCSTR subkey, LPCSTR valueName, char* buffer)
{
    if (buffer == nullptr)
        return 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    // Read into a scratch buffer first so that a failed read leaves the caller's untouched. The
    // query may add a NUL after the text, so it gets room for one.
    BYTE data[kRegStringBufferSize + 1];
    DWORD type = REG_SZ;
    DWORD size = kRegStringBufferSize;
    const LONG result = RegQueryValueExA(key, valueName, nullptr, &type, data, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return 0;
    DWORD length = 0;
    while (length < size && data[length] != '\0')
        ++length;
    if (length > kRegStringBufferSize - 1)
        return 0; // 260 bytes of text or more: too long for the caller's buffer
    memcpy(buffer, data, length);
    buffer[length] = '\0';
    return 1;
}

int RegSetDword(HKEY root, LPCSTR subkey, LPCSTR valueName, DWORD value)
{
    return SetValue(root, subkey, valueName, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

int RegGetDword(HKEY root, LPCSTR subkey, LPCSTR valueName, DWORD* value)
{
    if (value == nullptr)
        return 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    DWORD data = 0;
    DWORD type = REG_DWORD;
    DWORD size = sizeof(data);
    const LONG result =
        RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || size != sizeof(data))
        return 0;
    *value = data;
    return 1;
}

int RegGetDwordInRange(HKEY root, LPCSTR subkey, LPCSTR valueName, DWORD* value, DWORD minimum, DWORD maximum)
{
    DWORD read = 0;
    if (value == nullptr || !RegGetDword(root, subkey, valueName, &read) || read < minimum || read > maximum)
        return 0;
    *value = read;
    return 1;
}

int RegRemoveValue(HKEY root, LPCSTR subkey, LPCSTR valueName)
{
    HKEY key = OpenForWriting(root, subkey);
    if (key != nullptr) {
        RegDeleteValueA(key, valueName);
        RegCloseKey(key);
    }
    return 1;
}

int RegDeleteKeyTree(HKEY root, LPCSTR subkey)
{
    HKEY key = nullptr;
    if (subkey == nullptr || RegOpenKeyExA(root, subkey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 0;
    char name[256];
    while (RegEnumKeyA(key, 0, name, sizeof(name)) == ERROR_SUCCESS) {
        const std::string child = std::string(subkey) + "\\" + name;
        if (!RegDeleteKeyTree(root, child.c_str())) {
            RegCloseKey(key);
            return 0;
        }
    }
    RegCloseKey(key);
    // A key that stays (no right to delete it) is a failure: the caller must not believe it gone.
    return RegDeleteKeyA(root, subkey) == ERROR_SUCCESS ? 1 : 0;
}

BOOL RegGetDefaultValue(HKEY root, LPCSTR subkey, char* buffer, DWORD size)
{
    if (buffer == nullptr || size == 0)
        return FALSE;
    buffer[0] = '\0';
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return FALSE;
    DWORD read = size - 1;
    const LONG result =
        RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &read);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        buffer[0] = '\0';
        return FALSE;
    }
    buffer[read < size ? read : size - 1] = '\0';
    return buffer[0] != '\0';
}
