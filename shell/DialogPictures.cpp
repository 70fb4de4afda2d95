// Dialog pictures: a quiet reader scope around the loads, so that the user's progress setting is
// neither used nor changed.
#include "shell/DialogPictures.h"

#include "core/ReaderOptions.h"
#include "framework/String.h"

CDialogPictures::CDialogPictures(std::initializer_list<LPCSTR> names)
{
    CReaderOptionsScope quiet(CurrentReaderOptions().WithProgress(FALSE));
    for (LPCSTR name : names)
        m_pictures.push_back(LoadDIBResource(AfxGetResourceHandle(), name));
}

CDialogPictures::~CDialogPictures()
{
    for (PackedDIB hPicture : m_pictures) {
        if (hPicture != nullptr)
            GlobalFreeHandle(hPicture);
    }
}
