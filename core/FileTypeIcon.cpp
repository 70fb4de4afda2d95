// The icon the shell registers for a file type, read from HKEY_CLASSES_ROOT.
#include "core/SystemUtil.h"

#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "core/RegistryUtil.h"

namespace {

HICON g_fallbackIcon = nullptr;

HICON CopyOfFallback()
{
    HICON icon = g_fallbackIcon != nullptr ? g_fallbackIcon : LoadIconA(nullptr, IDI_APPLICATION);
    return CopyIcon(icon);
}

// One icon of a file: large, else small; null when it has none at that index.
HICON ExtractOneIcon(const std::string& file, int index)
{
    if (file.empty())
        return nullptr;
    HICON icon = nullptr;
    if (ExtractIconExA(file.c_str(), index, &icon, nullptr, 1) > 0 && icon != nullptr)
        return icon;
    icon = nullptr;
    if (ExtractIconExA(file.c_str(), index, nullptr, &icon, 1) > 0 && icon != nullptr)
        return icon;
    return nullptr;
}

// File names in the registry may be quoted or hold %SystemRoot%-style variables.
std::string CleanFileName(std::string file)
{
    while (!file.empty() && file.front() == ' ')
        file.erase(0, 1);
    if (file.size() >= 2 && file.front() == '"' && file.back() == '"')
        file = file.substr(1, file.size() - 2);
    char expanded[MAX_PATH];
    const DWORD length = ExpandEnvironmentStringsA(file.c_str(), expanded, sizeof(expanded));
    if (length > 0 && length <= sizeof(expanded))
        file = expanded;
    return file;
}

// "file,index" of a DefaultIcon value.
HICON IconFromDefaultIcon(const std::string& typeName)
{
    char iconValue[256];
    if (!RegGetDefaultValue(HKEY_CLASSES_ROOT, (typeName + "\\DefaultIcon").c_str(), iconValue,
                            sizeof(iconValue)))
        return nullptr;
    const std::string text(iconValue);
    const size_t comma = text.find(',');
    if (comma == std::string::npos)
        return nullptr;
    return ExtractOneIcon(CleanFileName(text.substr(0, comma)), atoi(text.c_str() + comma + 1));
}

// The first icon of the program in the type's open command.
HICON IconFromOpenCommand(const std::string& typeName)
{
    char command[256];
    if (!RegGetDefaultValue(HKEY_CLASSES_ROOT, (typeName + "\\shell\\Open\\command").c_str(), command,
                            sizeof(command)))
        return nullptr;
    const std::string text(command);
    std::string program;
    if (!text.empty() && text[0] == '"') {
        const size_t close = text.find('"', 1);
        program = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else {
        program = text.substr(0, text.find(' '));
    }
    return ExtractOneIcon(CleanFileName(program), 0);
}

} // namespace

void SetFileTypeFallbackIcon(HICON icon) { g_fallbackIcon = icon; }

HICON GetFileTypeIcon(LPCSTR fileName)
{
    const char* dot = fileName != nullptr ? strrchr(fileName, '.') : nullptr;
    if (dot == nullptr)
        return CopyOfFallback();
    const std::string classKey = dot; // "." + extension
    if (classKey.size() > 19)
        return CopyOfFallback();
    char typeName[200];
    if (!RegGetDefaultValue(HKEY_CLASSES_ROOT, classKey.c_str(), typeName, sizeof(typeName)))
        return CopyOfFallback();
    HICON icon = IconFromDefaultIcon(typeName);
    if (icon == nullptr)
        icon = IconFromOpenCommand(typeName);
    return icon != nullptr ? icon : CopyOfFallback();
}
