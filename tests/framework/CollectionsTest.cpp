// Arrays and lists: growth, insertion and removal, list positions, and the archive form of arrays.
#include "framework/Archive.h"
#include "framework/Collections.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CCollTestItem : public CObject {
    DECLARE_SERIAL(CCollTestItem)
public:
    static int s_live;
    CCollTestItem() { ++s_live; }
    explicit CCollTestItem(LONG n) : m_n(n) { ++s_live; }
    ~CCollTestItem() override { --s_live; }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_n;
        else
            ar >> m_n;
    }
    LONG m_n = 0;
};
int CCollTestItem::s_live = 0;
IMPLEMENT_SERIAL(CCollTestItem, CObject, 1)

std::string Joined(const CStringArray& a)
{
    std::string s;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        s += std::string(a[i]) + "|";
    return s;
}

} // namespace

TEST(CStringArray, AddInsertRemoveKeepOrder)
{
    CStringArray a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.Add("b"), 0);
    EXPECT_EQ(a.Add(CString("d")), 1);
    a.InsertAt(0, "a");
    a.InsertAt(2, "c");
    EXPECT_EQ(Joined(a), "a|b|c|d|");
    EXPECT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a.GetCount(), 4);
    EXPECT_EQ(a.GetUpperBound(), 3);
    a.RemoveAt(1, 2);
    EXPECT_EQ(Joined(a), "a|d|");
    a.RemoveAt(5);     // out of range: nothing
    a.RemoveAt(1, 10); // clamped
    EXPECT_EQ(Joined(a), "a|");
    a.SetAt(0, "z");
    a.SetAt(3, "ignored");
    EXPECT_EQ(Joined(a), "z|");
    a[0] = "y";
    EXPECT_EQ(a.GetAt(0), "y");
    a.RemoveAll();
    EXPECT_EQ(a.GetSize(), 0);
}

TEST(CStringArray, InsertPastTheEndAndSetAtGrowFillWithEmptyStrings)
{
    CStringArray a;
    a.InsertAt(2, "x", 2);
    EXPECT_EQ(Joined(a), "||x|x|");
    a.SetAtGrow(5, "end");
    EXPECT_EQ(Joined(a), "||x|x||end|");
    a.InsertAt(0, a[3]); // an element of the array itself
    EXPECT_EQ(Joined(a), "x|||x|x||end|");
}

TEST(CArray, SetSizeAppendCopy)
{
    CDWordArray a;
    a.SetSize(3);
    EXPECT_EQ(a[0], 0u);
    EXPECT_EQ(a[2], 0u);
    a[1] = 7;
    CDWordArray b;
    b.Add(8);
    EXPECT_EQ(a.Append(b), 3);
    EXPECT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a[3], 8u);
    a.Append(a);
    EXPECT_EQ(a.GetSize(), 8);
    EXPECT_EQ(a[7], 8u);
    b.Copy(a);
    EXPECT_EQ(b.GetSize(), 8);
    EXPECT_EQ(b[1], 7u);
    a.SetSize(1);
    EXPECT_EQ(a.GetSize(), 1);
    a.SetSize(-4);
    EXPECT_TRUE(a.IsEmpty());
    CUIntArray u;
    u.InsertAt(0, 5u);
    CUIntArray v;
    v.Add(1);
    v.Add(2);
    u.InsertAt(0, &v);
    EXPECT_EQ(u.GetSize(), 3);
    EXPECT_EQ(u[0], 1u);
    EXPECT_EQ(u[2], 5u);
}

TEST(CTypedPtrArray, HandsOutTheElementType)
{
    CTypedPtrArray<CObArray, CCollTestItem*> items;
    items.Add(new CCollTestItem(1));
    items.Add(new CCollTestItem(2));
    EXPECT_EQ(items.GetAt(1)->m_n, 2);
    EXPECT_EQ(items[0]->m_n, 1);
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        delete items[i];
    items.RemoveAll();
    EXPECT_EQ(CCollTestItem::s_live, 0);
}

TEST(CObArray, SerialisesCountAndObjects)
{
    CObArray a;
    CCollTestItem one(1);
    CCollTestItem two(2);
    a.Add(&one);
    a.Add(&two);
    a.Add(&one); // the same object twice: a back reference
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        a.Serialize(ar);
        ar.Close();
    }
    std::string bytes(reinterpret_cast<const char*>(file.GetBufferPtr()), file.GetLength());
    std::string expected("\x03\x00", 2);
    expected +=
        std::string("\xFF\xFF\x01\x00\x0D\x00", 6) + "CCollTestItem" + std::string("\x01\x00\x00\x00", 4);
    expected += std::string("\x01\x80\x02\x00\x00\x00", 6);
    expected += std::string("\x02\x00", 2);
    EXPECT_EQ(bytes, expected);

    file.SeekToBegin();
    CObArray back;
    {
        CArchive ar(&file, CArchive::load);
        back.Serialize(ar);
    }
    ASSERT_EQ(back.GetSize(), 3);
    EXPECT_EQ(static_cast<CCollTestItem*>(back[0])->m_n, 1);
    EXPECT_EQ(static_cast<CCollTestItem*>(back[1])->m_n, 2);
    EXPECT_EQ(back[2], back[0]);
    delete back[0];
    delete back[1];
}

TEST(CStringArray, SerialisesWithWordCountAndRefusesALyingCount)
{
    CStringArray a;
    a.Add("un");
    a.Add("");
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        a.Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.GetBufferPtr()), file.GetLength()),
              std::string("\x02\x00\x02un\x00", 6));
    file.SeekToBegin();
    CStringArray back;
    {
        CArchive ar(&file, CArchive::load);
        back.Serialize(ar);
    }
    EXPECT_EQ(Joined(back), "un||");

    // 0xFFFF then a DWORD count of a billion strings in a 10-byte archive.
    BYTE lying[] = {0xFF, 0xFF, 0x00, 0xCA, 0x9A, 0x3B, 0x01, 'a', 0x00, 0x00};
    CMemFile in(lying, sizeof(lying));
    CArchive ar(&in, CArchive::load);
    CStringArray victim;
    try {
        victim.Serialize(ar);
        FAIL() << "accepted the count";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
}

TEST(CPtrList, AddsIteratesFindsAndRemoves)
{
    int a = 1, b = 2, c = 3, d = 4;
    CPtrList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    list.AddTail(&b);
    list.AddTail(&c);
    POSITION posA = list.AddHead(&a);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetHead(), &a);
    EXPECT_EQ(list.GetTail(), &c);

    std::string order;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        order += std::to_string(*static_cast<int*>(list.GetNext(pos)));
    EXPECT_EQ(order, "123");
    order.clear();
    for (POSITION pos = list.GetTailPosition(); pos;)
        order += std::to_string(*static_cast<int*>(list.GetPrev(pos)));
    EXPECT_EQ(order, "321");

    POSITION posB = list.Find(&b);
    ASSERT_NE(posB, nullptr);
    EXPECT_EQ(list.GetAt(posB), &b);
    EXPECT_EQ(list.Find(&b, posB), nullptr);
    EXPECT_EQ(list.Find(&d), nullptr);
    EXPECT_EQ(list.FindIndex(2), list.Find(&c));
    EXPECT_EQ(list.FindIndex(3), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);

    list.InsertAfter(posB, &d);
    list.RemoveAt(posB);
    list.InsertBefore(posA, &c);
    order.clear();
    for (POSITION pos = list.GetHeadPosition(); pos;)
        order += std::to_string(*static_cast<int*>(list.GetNext(pos)));
    EXPECT_EQ(order, "3143");
    EXPECT_EQ(list.RemoveHead(), &c);
    EXPECT_EQ(list.RemoveTail(), &c);
    EXPECT_EQ(list.GetCount(), 2);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetTailPosition(), nullptr);
}

TEST(CStringList, KeepsCopiesAndAppendsLists)
{
    CStringList list;
    {
        CString temp("premier");
        list.AddTail(temp);
    }
    list.AddTail("second");
    CStringList other;
    other.AddTail("z1");
    other.AddTail("z2");
    list.AddHead(&other);
    list.AddTail(&other);
    std::string all;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        all += std::string(list.GetNext(pos)) + ",";
    EXPECT_EQ(all, "z1,z2,premier,second,z1,z2,");
    EXPECT_NE(list.Find("second"), nullptr);
}

TEST(CTypedPtrList, HandsOutTheElementType)
{
    CTypedPtrList<CObList, CCollTestItem*> list;
    CCollTestItem x(5);
    list.AddTail(&x);
    POSITION pos = list.GetHeadPosition();
    EXPECT_EQ(list.GetNext(pos)->m_n, 5);
    EXPECT_EQ(pos, nullptr);
}
