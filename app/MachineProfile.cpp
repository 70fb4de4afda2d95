// Machine-wide settings in HKEY_LOCAL_MACHINE, read back from an INI file when the registry has none.
#include "app/MachineProfile.h"

#include "resources/resource.h"

#include <cstdio>
#include <cstdlib>

namespace {

std::string LoadResourceText(HINSTANCE module, UINT id)
{
    char text[260] = {};
    LoadStringA(module, id, text, sizeof(text));
    return text;
}

} // namespace

CMachineProfile::CMachineProfile(HINSTANCE resources) : m_resources(resources) {}

void CMachineProfile::BuildMachineKey()
{
    m_strMachineKey = "SOFTWARE\\Orvanel\\" + LoadResourceText(m_resources, IDS_PROFILE_NAME) + "\\";
}

std::string CMachineProfile::IniFile() const { return LoadResourceText(m_resources, IDS_MACHINE_INI); }

bool CMachineProfile::ReadRegistry(const char* section, const char* entry, std::string* text)
{
    if (m_strMachineKey.empty())
        BuildMachineKey();
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (m_strMachineKey + section).c_str(), 0, KEY_QUERY_VALUE, &key)
        != ERROR_SUCCESS)
        return false;
    char value[MAX_PATH] = {};
    DWORD size = sizeof(value);
    DWORD type = 0;
    LONG result = RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return false;
    value[size < sizeof(value) ? size : sizeof(value) - 1] = 0;
    *text = value;
    return true;
}

int CMachineProfile::GetMachineProfileInt(const char* section, const char* entry, int defaultValue)
{
    std::string text;
    if (ReadRegistry(section, entry, &text))
        return atoi(text.c_str());
    return static_cast<int>(GetPrivateProfileIntA(section, entry, defaultValue, IniFile().c_str()));
}

std::string CMachineProfile::GetMachineProfileString(const char* section, const char* entry,
                                                     const char* defaultValue)
{
    std::string text;
    if (ReadRegistry(section, entry, &text))
        return text;
    char value[MAX_PATH] = {};
    GetPrivateProfileStringA(section, entry, defaultValue ? defaultValue : "", value, sizeof(value),
                             IniFile().c_str());
    return value;
}

bool CMachineProfile::WriteMachineProfileInt(const char* section, const char* entry, int value)
{
    char text[16];
    snprintf(text, sizeof(text), "%d", value);
    return WriteMachineProfileString(section, entry, text);
}

bool CMachineProfile::WriteMachineProfileString(const char* section, const char* entry, const char* text)
{
    if (m_strMachineKey.empty())
        BuildMachineKey();
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, (m_strMachineKey + section).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key, &disposition)
        != ERROR_SUCCESS)
        return false;
    const char* value = text ? text : "";
    LONG result = RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                 static_cast<DWORD>(lstrlenA(value) + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
