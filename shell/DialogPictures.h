// CDialogPictures: the pictures a dialog shows on its picture buttons, read from the program's
// resources with the progress gauge held off, and freed with the object.
#pragma once
#include "core/PackedDib.h"

#include <initializer_list>
#include <vector>

class CDialogPictures {
public:
    // Loads each named DIB resource; one that cannot be loaded stays null. Declare the object
    // before the dialog whose buttons show the pictures, so that it outlives them.
    explicit CDialogPictures(std::initializer_list<LPCSTR> names);
    ~CDialogPictures();
    CDialogPictures(const CDialogPictures&) = delete;
    CDialogPictures& operator=(const CDialogPictures&) = delete;

    // The picture of the name given in position i (null when it could not be loaded).
    PackedDIB operator[](size_t i) const { return i < m_pictures.size() ? m_pictures[i] : nullptr; }

private:
    std::vector<PackedDIB> m_pictures;
};
