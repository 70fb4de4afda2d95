// String-table texts and bounded copies.
#include "core/StringUtil.h"

CString LoadStringOr(UINT id, LPCSTR builtIn)
{
    CString text;
    if (!text.LoadString(id) || text.IsEmpty())
        text = builtIn != nullptr ? builtIn : "";
    return text;
}

void CopyTextBounded(char* dest, size_t size, LPCSTR text)
{
    if (dest == nullptr || size == 0)
        return;
    size_t i = 0;
    if (text != nullptr) {
        for (; i + 1 < size && text[i] != '\0'; ++i)
            dest[i] = text[i];
    }
    dest[i] = '\0';
}
