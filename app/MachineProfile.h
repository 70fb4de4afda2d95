// The machine-wide settings store: values under HKEY_LOCAL_MACHINE\SOFTWARE\Orvanel\Tessarine 3.0,
// with an INI file in the Windows folder as the fallback for reading. The program keeps it for
// installers and administrators; its own settings are per user.
#pragma once
#include <windows.h>
#include <string>

class CMachineProfile {
public:
    // resources: the module whose string table names the key (string 57) and the INI file (58).
    explicit CMachineProfile(HINSTANCE resources = GetModuleHandleA(nullptr));

    // m_strMachineKey = "SOFTWARE\Orvanel\" + string 57 + "\".
    void BuildMachineKey();
    const std::string& GetMachineKey() const { return m_strMachineKey; }

    // The REG_SZ value read as a number, else the INI file's value, else the default.
    int GetMachineProfileInt(const char* section, const char* entry, int defaultValue);
    // The REG_SZ value (up to 259 characters), else the INI file's text, else the default.
    std::string GetMachineProfileString(const char* section, const char* entry,
                                        const char* defaultValue = nullptr);
    // Both write REG_SZ values, creating the section's key; false when the registry refused.
    bool WriteMachineProfileInt(const char* section, const char* entry, int value);
    bool WriteMachineProfileString(const char* section, const char* entry, const char* text);

private:
    bool ReadRegistry(const char* section, const char* entry, std::string* text);
    std::string IniFile() const;

    HINSTANCE m_resources;
    std::string m_strMachineKey;
};
