#include "app/FileAssoc.h"

#include "shell/Settings.h"
#include "app/TessarineApp.h"
#include "core/FileTypes.h"
#include "core/FileUtil.h"
#include "framework/DataExchange.h"
#include "resources/resource.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <list>
#include <new>
#include <string>

IMPLEMENT_DYNAMIC(CDocTypesDlg, CDialog)

namespace {

const AssociationRow kRows[] = {
    {0x001, "bmp", "bmp", 1, IDS_TYPE_BMP},     {0x001, "dib", "bmp", 1, IDS_TYPE_BMP},
    {0x001, "rle", "bmp", 1, IDS_TYPE_BMP},     {0x002, "jpg", "jpg", 2, IDS_TYPE_JPEG},
    {0x002, "jpe", "jpg", 2, IDS_TYPE_JPEG},    {0x002, "jpeg", "jpg", 2, IDS_TYPE_JPEG},
    {0x002, "jif", "jpg", 2, IDS_TYPE_JPEG},    {0x002, "jfif", "jpg", 2, IDS_TYPE_JPEG},
    {0x040, "pcd", "pcd", 3, IDS_TYPE_PHOTOCD}, {0x080, "pcx", "pcx", 4, IDS_TYPE_PCX},
    {0x020, "pic", "pic", 5, IDS_TYPE_PICT},    {0x020, "pict", "pic", 5, IDS_TYPE_PICT},
    {0x020, "pct", "pic", 5, IDS_TYPE_PICT},    {0x004, "png", "png", 6, IDS_TYPE_PNG},
    {0x400, "tga", "tga", 7, IDS_TYPE_TARGA},   {0x008, "tif", "tif", 8, IDS_TYPE_TIFF},
    {0x008, "tiff", "tif", 8, IDS_TYPE_TIFF},   {0x010, "gif", "gif", 9, IDS_TYPE_GIF},
    {0x800, "wmf", "wmf", 10, IDS_TYPE_WMF},    {0x100, "iff", "iff", 11, IDS_TYPE_IFF},
    {0x100, "lbm", "lbm", 12, IDS_TYPE_IFF},    {0x100, "ilbm", "lbm", 12, IDS_TYPE_IFF},
};

// The boxes of the types dialog and their bits, in member order.
const struct {
    int id;
    int bit;
} kTypeBoxes[11] = {{IDC_TYPES_BMP, 0x001},     {IDC_TYPES_JPEG, 0x002}, {IDC_TYPES_PNG, 0x004},
                    {IDC_TYPES_TIFF, 0x008},    {IDC_TYPES_GIF, 0x010},  {IDC_TYPES_PICT, 0x020},
                    {IDC_TYPES_PHOTOCD, 0x040}, {IDC_TYPES_PCX, 0x080},  {IDC_TYPES_IFF, 0x100},
                    {IDC_TYPES_TARGA, 0x400},   {IDC_TYPES_WMF, 0x800}};

// Long enough for a value naming any program path.
const DWORD kValueSize = MAX_PATH + 64;

bool DefaultValueEquals(const std::string& key, const CString& expected)
{
    char value[kValueSize];
    if (!RegQueryDefaultValue(HKEY_CLASSES_ROOT, key.c_str(), value, sizeof(value)))
        return false;
    return ::lstrcmpiA(value, expected) == 0;
}

void WriteDefaultValue(const std::string& key, LPCSTR text)
{
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr)
        != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                     static_cast<DWORD>(std::strlen(text) + 1));
    ::RegCloseKey(hKey);
}

struct IconCacheEntry {
    int iconIndex;
    std::string extension;
    std::string description;
};
// Entries never move once added: callers keep pointers to their descriptions.
std::list<IconCacheEntry>& IconCache()
{
    static std::list<IconCacheEntry> cache;
    return cache;
}

// One small icon (else a large one) of a file; null when it has none.
HICON ExtractOneIcon(const std::string& file, int index)
{
    if (file.empty())
        return nullptr;
    HICON hSmall = nullptr, hLarge = nullptr;
    ::ExtractIconExA(file.c_str(), index, nullptr, &hSmall, 1);
    if (hSmall != nullptr)
        return hSmall;
    ::ExtractIconExA(file.c_str(), index, &hLarge, nullptr, 1);
    return hLarge;
}

// The icon of a class: its DefaultIcon ("file,index"), else its open command's program.
HICON ClassIcon(const std::string& typeName)
{
    char value[256];
    if (RegQueryDefaultValue(HKEY_CLASSES_ROOT, (typeName + "\\DefaultIcon").c_str(), value, sizeof(value))) {
        std::string text = value;
        std::string::size_type comma = text.rfind(',');
        if (comma != std::string::npos) {
            std::string file = text.substr(0, comma);
            // Other programs often quote the file or name it through the environment.
            if (file.size() >= 2 && file.front() == '"' && file.back() == '"')
                file = file.substr(1, file.size() - 2);
            char expanded[MAX_PATH] = "";
            if (::ExpandEnvironmentStringsA(file.c_str(), expanded, sizeof(expanded)) > 0)
                file = expanded;
            HICON hIcon = ExtractOneIcon(file, std::atoi(text.c_str() + comma + 1));
            if (hIcon != nullptr)
                return hIcon;
        }
    }
    if (RegQueryDefaultValue(HKEY_CLASSES_ROOT, (typeName + "\\shell\\Open\\command").c_str(), value,
                             sizeof(value))) {
        std::string text = value;
        std::string program;
        if (text[0] == '"') {
            std::string::size_type end = text.find('"', 1);
            program = text.substr(1, end == std::string::npos ? std::string::npos : end - 1);
        } else {
            program = text.substr(0, text.find(' '));
        }
        return ExtractOneIcon(program, 0);
    }
    return nullptr;
}

} // namespace

const AssociationRow* AssociationTable(int* pCount)
{
    if (pCount != nullptr)
        *pCount = static_cast<int>(sizeof(kRows) / sizeof(kRows[0]));
    return kRows;
}

CString AssociationProgramPath()
{
    char path[MAX_PATH * 2] = "";
    DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof(path));
    if (n == 0 || n >= sizeof(path))
        path[0] = '\0';
    return CString(path);
}

CString AssociationCommandText(LPCSTR programPath)
{
    return CString((std::string("\"") + programPath + "\" %1").c_str());
}

CString AssociationIconText(LPCSTR programPath, int iconIndex)
{
    return CString((std::string(programPath) + "," + std::to_string(iconIndex)).c_str());
}

BOOL RegQueryDefaultValue(HKEY root, LPCSTR subKey, LPSTR buffer, DWORD size)
{
    if (buffer == nullptr || size == 0)
        return FALSE;
    buffer[0] = '\0';
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(root, subKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return FALSE;
    DWORD type = 0, cb = size - 1;
    LONG rc = ::RegQueryValueExA(hKey, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &cb);
    ::RegCloseKey(hKey);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        buffer[0] = '\0';
        return FALSE;
    }
    buffer[cb < size ? cb : size - 1] = '\0';
    return buffer[0] != '\0';
}

BOOL IsAssociated(LPCSTR extension, LPCSTR typePrefix, int iconIndex)
{
    CString program = AssociationProgramPath();
    std::string typeName = std::string(typePrefix) + "file";
    if (!DefaultValueEquals(std::string(".") + extension, CString(typeName.c_str())))
        return FALSE;
    if (!DefaultValueEquals(typeName + "\\shell\\open\\command", AssociationCommandText(program)))
        return FALSE;
    if (!DefaultValueEquals(typeName + "\\DefaultIcon", AssociationIconText(program, iconIndex)))
        return FALSE;
    return TRUE;
}

void SetAssociation(LPCSTR extension, LPCSTR typePrefix, int iconIndex, UINT descriptionId)
{
    CString program = AssociationProgramPath();
    std::string typeName = std::string(typePrefix) + "file";
    CString description;
    description.LoadString(descriptionId);
    WriteDefaultValue(std::string(".") + extension, typeName.c_str());
    WriteDefaultValue(typeName, description);
    WriteDefaultValue(typeName + "\\shell\\open\\command", AssociationCommandText(program));
    WriteDefaultValue(typeName + "\\DefaultIcon", AssociationIconText(program, iconIndex));
}

BOOL CheckAssociationRows(BOOL bWanted, int nDetail)
{
    if (!bWanted)
        return TRUE;
    for (const AssociationRow& row : kRows) {
        bool selected = (nDetail & static_cast<int>(row.bit)) != 0;
        if (selected && !IsAssociated(row.extension, row.typePrefix, row.iconIndex))
            return FALSE;
    }
    return TRUE;
}

void RegisterAssociationRows(BOOL bWanted, int nDetail)
{
    if (!bWanted)
        return;
    for (const AssociationRow& row : kRows) {
        if ((nDetail & static_cast<int>(row.bit)) != 0)
            SetAssociation(row.extension, row.typePrefix, row.iconIndex, row.descriptionId);
    }
    ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
}

int GetFileTypeIconIndex(LPCSTR path, LPCSTR* pDescription)
{
    if (path == nullptr)
        return 0;
    if (FolderExists(path))
        return FILETYPE_IMAGE_FOLDER;
    LPCSTR dot = std::strrchr(path, '.');
    if (dot == nullptr || dot[1] == '\0' || std::strchr(dot, '\\') != nullptr) {
        if (pDescription != nullptr)
            *pDescription = nullptr;
        return 0;
    }
    LPCSTR extension = dot + 1;
    int code = GetFileTypeFromExt(extension);
    if (code != 0) {
        // A code beyond the built-in strip (the trash records) has no picture of its own.
        return code + 1 < FILETYPE_IMAGE_COUNT ? code + 1 : 0;
    }
    for (const IconCacheEntry& entry : IconCache()) {
        if (::lstrcmpiA(entry.extension.c_str(), extension) == 0) {
            if (pDescription != nullptr)
                *pDescription = entry.description.c_str();
            return entry.iconIndex;
        }
    }
    char typeName[200];
    if (!RegQueryDefaultValue(HKEY_CLASSES_ROOT, (std::string(".") + extension).c_str(), typeName,
                              sizeof(typeName)))
        return 0;
    char description[200];
    RegQueryDefaultValue(HKEY_CLASSES_ROOT, typeName, description, sizeof(description));
    int index = 0;
    HICON hIcon = ClassIcon(typeName);
    if (hIcon != nullptr) {
        if (g_imlFileTypes.GetSafeHandle() != nullptr) {
            int added = ::ImageList_AddIcon(g_imlFileTypes.GetSafeHandle(), hIcon);
            index = added > 0 ? added : 0;
        }
        ::DestroyIcon(hIcon);
    }
    try {
        IconCache().push_back({index, extension, description});
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (pDescription != nullptr)
        *pDescription = IconCache().back().description.c_str();
    return index;
}

void FreeFileIconCache() { IconCache().clear(); }

CDocTypesDlg::CDocTypesDlg(CWnd* pParentWnd) : CDialog(IDD_DOC_TYPES, pParentWnd) {}

void CDocTypesDlg::SetFromMask(int nMask)
{
    for (int i = 0; i < 11; i++)
        m_bTypes[i] = (nMask & kTypeBoxes[i].bit) != 0;
}

int CDocTypesDlg::GetMask() const
{
    int mask = 0;
    for (int i = 0; i < 11; i++) {
        if (m_bTypes[i])
            mask |= kTypeBoxes[i].bit;
    }
    return mask;
}

BOOL CDocTypesDlg::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    CenterWindow();
    return bResult;
}

void CDocTypesDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int i = 0; i < 11; i++)
        DDX_Check(pDX, kTypeBoxes[i].id, m_bTypes[i]);
}

BOOL CTessarineApp::CheckAssociations() { return CheckAssociationRows(g_AssocDib, g_AssocDetail); }

void CTessarineApp::RegisterAssociations() { RegisterAssociationRows(g_AssocDib, g_AssocDetail); }
