// Arrays and lists of the framework: CArray/CList templates, CObArray, CPtrArray, CStringArray,
// CDWordArray, CWordArray, CByteArray, CUIntArray, CPtrList, CObList, CStringList, typed pointer wrappers.
#pragma once
#include "framework/Object.h"
#include "framework/String.h"

#include <algorithm>
#include <utility>
#include <vector>

class CArchive;

// Iteration handle of the lists (a node); null means "before the first" or "past the last".
struct __POSITION {};
typedef __POSITION* POSITION;

// Indexes must be in range for ElementAt, operator[] and GetAt, as with any array; SetAt, RemoveAt
// and InsertAt ignore or clamp what falls outside.
template <class TYPE, class ARG_TYPE = const TYPE&> class CArray : public CObject {
public:
    CArray() = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    // New elements are value-initialised (zero for numbers and pointers). nGrowBy is accepted for
    // compatibility; storage grows geometrically anyway.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        (void)nGrowBy;
        m_data.resize(nNewSize > 0 ? static_cast<size_t>(nNewSize) : 0);
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    const TYPE& GetAt(INT_PTR nIndex) const { return m_data[static_cast<size_t>(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_data[static_cast<size_t>(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex >= 0 && nIndex < GetSize())
            m_data[static_cast<size_t>(nIndex)] = newElement;
    }
    TYPE& ElementAt(INT_PTR nIndex) { return m_data[static_cast<size_t>(nIndex)]; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_data[static_cast<size_t>(nIndex)]; }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
    const TYPE& operator[](INT_PTR nIndex) const { return ElementAt(nIndex); }
    const TYPE* GetData() const { return m_data.data(); }
    TYPE* GetData() { return m_data.data(); }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0)
            return;
        if (nIndex >= GetSize())
            m_data.resize(static_cast<size_t>(nIndex) + 1);
        m_data[static_cast<size_t>(nIndex)] = newElement;
    }
    // The index of the new element.
    INT_PTR Add(ARG_TYPE newElement)
    {
        m_data.push_back(newElement);
        return GetSize() - 1;
    }
    // The index of the first appended element.
    INT_PTR Append(const CArray& src)
    {
        INT_PTR nOldSize = GetSize();
        if (&src == this) {
            std::vector<TYPE> copy(m_data);
            m_data.insert(m_data.end(), copy.begin(), copy.end());
        } else {
            m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
        }
        return nOldSize;
    }
    void Copy(const CArray& src)
    {
        if (&src != this)
            m_data = src.m_data;
    }

    // An index past the end grows the array first, as MFC does.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0)
            return;
        TYPE value(newElement); // may refer into the array
        if (nIndex > GetSize())
            m_data.resize(static_cast<size_t>(nIndex));
        m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), value);
    }
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
    {
        if (pNewArray == nullptr || nStartIndex < 0)
            return;
        std::vector<TYPE> copy(pNewArray->m_data);
        if (nStartIndex > GetSize())
            m_data.resize(static_cast<size_t>(nStartIndex));
        m_data.insert(m_data.begin() + nStartIndex, copy.begin(), copy.end());
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nIndex >= GetSize() || nCount <= 0)
            return;
        INT_PTR last = std::min(GetSize(), nIndex + nCount);
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + last);
    }

protected:
    std::vector<TYPE> m_data;
};

class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_SERIAL(CObArray)
public:
    // Count (WORD, or 0xFFFF and a DWORD), then each element as an object with its class record.
    void Serialize(CArchive& ar) override;
};

class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
};

class CStringArray : public CArray<CString, LPCSTR> {
    DECLARE_SERIAL(CStringArray)
public:
    INT_PTR Add(LPCSTR newElement) { return CArray::Add(newElement); }
    INT_PTR Add(const CString& newElement) { return CArray::Add(newElement); }
    // Count (WORD, or 0xFFFF and a DWORD), then each string with its length prefix.
    void Serialize(CArchive& ar) override;
};

class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_DYNAMIC(CDWordArray)
};

class CWordArray : public CArray<WORD, WORD> {
    DECLARE_DYNAMIC(CWordArray)
};

class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_DYNAMIC(CByteArray)
};

class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
};

// A doubly linked list; POSITION values stay valid until their own element is removed.
template <class TYPE, class ARG_TYPE = const TYPE&> class CList : public CObject {
    struct Node : __POSITION {
        Node* pNext;
        Node* pPrev;
        TYPE data;
    };

public:
    CList() = default;
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // The list must not be empty.
    TYPE& GetHead() { return m_pHead->data; }
    const TYPE& GetHead() const { return m_pHead->data; }
    TYPE& GetTail() { return m_pTail->data; }
    const TYPE& GetTail() const { return m_pTail->data; }
    TYPE RemoveHead()
    {
        TYPE value = m_pHead->data;
        FreeNode(m_pHead);
        return value;
    }
    TYPE RemoveTail()
    {
        TYPE value = m_pTail->data;
        FreeNode(m_pTail);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertNode(nullptr, m_pHead, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertNode(m_pTail, nullptr, newElement); }
    void AddHead(const CList* pNewList)
    {
        std::vector<TYPE> items = pNewList->Items();
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            AddHead(*it);
    }
    void AddTail(const CList* pNewList)
    {
        for (const TYPE& item : pNewList->Items())
            AddTail(item);
    }
    void RemoveAll()
    {
        Node* p = m_pHead;
        while (p) {
            Node* next = p->pNext;
            delete p;
            p = next;
        }
        m_pHead = m_pTail = nullptr;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const { return m_pHead; }
    POSITION GetTailPosition() const { return m_pTail; }
    // Return the element at rPosition and move it to the next (or previous) one, null at the end.
    TYPE& GetNext(POSITION& rPosition)
    {
        Node* p = static_cast<Node*>(rPosition);
        rPosition = p->pNext;
        return p->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        Node* p = static_cast<Node*>(rPosition);
        rPosition = p->pNext;
        return p->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        Node* p = static_cast<Node*>(rPosition);
        rPosition = p->pPrev;
        return p->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        Node* p = static_cast<Node*>(rPosition);
        rPosition = p->pPrev;
        return p->data;
    }
    TYPE& GetAt(POSITION position) { return static_cast<Node*>(position)->data; }
    const TYPE& GetAt(POSITION position) const { return static_cast<Node*>(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { static_cast<Node*>(pos)->data = newElement; }
    void RemoveAt(POSITION position) { FreeNode(static_cast<Node*>(position)); }

    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        if (position == nullptr)
            return AddHead(newElement);
        Node* p = static_cast<Node*>(position);
        return InsertNode(p->pPrev, p, newElement);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        if (position == nullptr)
            return AddTail(newElement);
        Node* p = static_cast<Node*>(position);
        return InsertNode(p, p->pNext, newElement);
    }

    // The first element equal to searchValue after startAfter (from the head when null), or null.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        Node* p = startAfter ? static_cast<Node*>(startAfter)->pNext : m_pHead;
        for (; p; p = p->pNext) {
            if (p->data == searchValue)
                return p;
        }
        return nullptr;
    }
    // The position of the element with that index, null when out of range.
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        Node* p = m_pHead;
        while (nIndex-- > 0)
            p = p->pNext;
        return p;
    }

private:
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    std::vector<TYPE> Items() const
    {
        std::vector<TYPE> items;
        for (Node* p = m_pHead; p; p = p->pNext)
            items.push_back(p->data);
        return items;
    }
    POSITION InsertNode(Node* pPrev, Node* pNext, ARG_TYPE newElement)
    {
        Node* node = new Node{{}, pNext, pPrev, TYPE(newElement)};
        if (pPrev)
            pPrev->pNext = node;
        else
            m_pHead = node;
        if (pNext)
            pNext->pPrev = node;
        else
            m_pTail = node;
        ++m_nCount;
        return node;
    }
    void FreeNode(Node* p)
    {
        if (p->pPrev)
            p->pPrev->pNext = p->pNext;
        else
            m_pHead = p->pNext;
        if (p->pNext)
            p->pNext->pPrev = p->pPrev;
        else
            m_pTail = p->pPrev;
        delete p;
        --m_nCount;
    }

    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    INT_PTR m_nCount = 0;
};

class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
};

class CObList : public CList<CObject*, CObject*> {
    DECLARE_DYNAMIC(CObList)
};

class CStringList : public CList<CString, LPCSTR> {
    DECLARE_DYNAMIC(CStringList)
};

// Pointer arrays and lists that hand out the element type instead of CObject* or void*.
template <class BASE_CLASS, class TYPE> class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(INT_PTR nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
    TYPE& ElementAt(INT_PTR nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1)
    {
        BASE_CLASS::InsertAt(nIndex, newElement, nCount);
    }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
};

template <class BASE_CLASS, class TYPE> class CTypedPtrList : public BASE_CLASS {
public:
    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
    TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
    TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
};
