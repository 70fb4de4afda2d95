#include "piclist/FittedText.h"

#include <string>
#include <vector>

namespace {

// The template text with the values put, in order, where it says "%s".
std::string FilledText(std::string line, const std::vector<CString>& values)
{
    std::string::size_type from = 0;
    for (const CString& value : values) {
        std::string::size_type at = line.find("%s", from);
        if (at == std::string::npos)
            break;
        line.replace(at, 2, static_cast<LPCSTR>(value));
        from = at + static_cast<std::string::size_type>(value.GetLength());
    }
    return line;
}

std::vector<CString> Copies(std::initializer_list<const CString*> values)
{
    std::vector<CString> copies;
    for (const CString* value : values)
        copies.push_back(*value);
    return copies;
}

std::string ControlText(HWND hDlg, int id)
{
    char text[1024] = "";
    ::GetDlgItemTextA(hDlg, id, text, sizeof(text));
    return text;
}

// value keeping length of its characters, a third from its beginning and the rest from its end
// around "...".
CString MiddleKept(const CString& value, int length)
{
    if (length >= value.GetLength())
        return value;
    return value.Left(length / 3) + "..." + value.Right(length - length / 3);
}

void FitInto(HWND hDlg, int id, const std::string& line, const std::vector<CString>& values)
{
    HWND hCtl = ::GetDlgItem(hDlg, id);
    HDC hdc = hCtl != nullptr ? ::GetDC(hCtl) : nullptr;
    if (hdc == nullptr) {
        ::SetDlgItemTextA(hDlg, id, FilledText(line, values).c_str());
        return;
    }
    RECT room = {};
    ::GetClientRect(hCtl, &room);
    HGDIOBJ oldFont = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(::SendMessageA(hCtl, WM_GETFONT, 0, 0)));
    const UINT prefix = (::GetWindowLongA(hCtl, GWL_STYLE) & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0;
    std::vector<CString> shown = values;
    std::string text;
    // A word wider than the control is not broken: it makes the text as wide.
    auto fits = [&] {
        text = FilledText(line, shown);
        RECT rect = {0, 0, room.right, 0};
        ::DrawTextA(hdc, text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | prefix);
        return rect.bottom <= room.bottom && rect.right <= room.right;
    };
    for (size_t k = 0; k < values.size(); ++k) {
        for (int keep = values[k].GetLength(); !fits() && keep > 0;)
            shown[k] = MiddleKept(values[k], --keep);
    }
    ::SelectObject(hdc, oldFont);
    ::ReleaseDC(hCtl, hdc);
    ::SetWindowTextA(hCtl, text.c_str());
}

} // namespace

void FillTemplateText(HWND hDlg, int id, std::initializer_list<const CString*> values)
{
    ::SetDlgItemTextA(hDlg, id, FilledText(ControlText(hDlg, id), Copies(values)).c_str());
}

void FillFittedTemplateText(HWND hDlg, int id, std::initializer_list<const CString*> values)
{
    FitInto(hDlg, id, ControlText(hDlg, id), Copies(values));
}

void SetFittedText(HWND hDlg, int id, const CString& text) { FitInto(hDlg, id, "%s", {text}); }
