// CArchive: byte layout of values, strings and object tags, and refusal of damaged archives.
#include "framework/Archive.h"
#include "framework/File.h"

#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

class CArTestShape : public CObject {
    DECLARE_SERIAL(CArTestShape)
public:
    CArTestShape() = default;
    explicit CArTestShape(LONG n) : m_n(n) {}
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_n;
            ar << m_pPeer;
        } else {
            ar >> m_n;
            CObject* pPeer = nullptr;
            ar >> pPeer;
            m_pPeer = static_cast<CArTestShape*>(pPeer);
        }
    }
    LONG m_n = 0;
    CArTestShape* m_pPeer = nullptr;
};
IMPLEMENT_SERIAL(CArTestShape, CObject, 1)

class CArTestCircle : public CArTestShape {
    DECLARE_SERIAL(CArTestCircle)
public:
    CArTestCircle() = default;
};
IMPLEMENT_SERIAL(CArTestCircle, CArTestShape, 2)

// A class that reads its older layout: schema 1 had a WORD, schema 2 a DWORD.
class CArTestVersioned : public CObject {
    DECLARE_SERIAL(CArTestVersioned)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_value;
            return;
        }
        m_schemaSeen = ar.GetObjectSchema();
        if (m_schemaSeen == 1) {
            WORD w = 0;
            ar >> w;
            m_value = w;
        } else {
            ar >> m_value;
        }
    }
    DWORD m_value = 0;
    UINT m_schemaSeen = 0;
};
IMPLEMENT_SERIAL(CArTestVersioned, CObject, VERSIONABLE_SCHEMA | 2)

class CArTestThrower : public CObject {
    DECLARE_SERIAL(CArTestThrower)
public:
    static int s_live;
    CArTestThrower() { ++s_live; }
    ~CArTestThrower() override { --s_live; }
    void Serialize(CArchive& ar) override
    {
        DWORD dw = 0;
        ar >> dw; // the archive ends here in the test
    }
};
int CArTestThrower::s_live = 0;
IMPLEMENT_SERIAL(CArTestThrower, CObject, 1)

std::string Bytes(const CMemFile& file)
{
    return std::string(reinterpret_cast<const char*>(file.GetBufferPtr()), file.GetLength());
}

template <typename Fn> std::string Store(Fn write, int bufSize = 4096)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store, bufSize);
    write(ar);
    ar.Close();
    return Bytes(file);
}

// A loading archive over a copy of the given bytes.
struct Loader {
    explicit Loader(const std::string& bytes, int bufSize = 4096)
        : data(bytes), file(reinterpret_cast<BYTE*>(&data[0]), static_cast<UINT>(data.size())),
          ar(&file, CArchive::load, bufSize)
    {}
    std::string data;
    CMemFile file;
    CArchive ar;
};

int ArchiveCause(const std::string& bytes, void (*read)(CArchive&))
{
    Loader in(bytes);
    try {
        read(in.ar);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return -1;
}

const std::string kShapeName = "CArTestShape";

std::string NewClassRecord(WORD schema, const std::string& name)
{
    std::string s("\xFF\xFF", 2);
    s += static_cast<char>(schema & 0xFF);
    s += static_cast<char>(schema >> 8);
    s += static_cast<char>(name.size() & 0xFF);
    s += static_cast<char>(name.size() >> 8);
    return s + name;
}

} // namespace

TEST(CArchive, PrimitivesAreLittleEndianWithMfcSizes)
{
    std::string bytes = Store([](CArchive& ar) {
        ar << static_cast<BYTE>(0x12) << static_cast<WORD>(0x3456) << static_cast<DWORD>(0x89ABCDEF)
           << static_cast<LONG>(-2) << 7 << static_cast<short>(-1) << 'A' << 1.5f << 2.0 << 9u;
    });
    const std::string expected("\x12"
                               "\x56\x34"
                               "\xEF\xCD\xAB\x89"
                               "\xFE\xFF\xFF\xFF"
                               "\x07\x00\x00\x00"
                               "\xFF\xFF"
                               "A"
                               "\x00\x00\xC0\x3F"
                               "\x00\x00\x00\x00\x00\x00\x00\x40"
                               "\x09\x00\x00\x00",
                               1 + 2 + 4 + 4 + 4 + 2 + 1 + 4 + 8 + 4);
    EXPECT_EQ(bytes, expected);

    Loader in(bytes);
    BYTE by = 0;
    WORD w = 0;
    DWORD dw = 0;
    LONG l = 0;
    int i = 0;
    short s = 0;
    char c = 0;
    float f = 0;
    double d = 0;
    unsigned u = 0;
    in.ar >> by >> w >> dw >> l >> i >> s >> c >> f >> d >> u;
    EXPECT_EQ(by, 0x12);
    EXPECT_EQ(w, 0x3456);
    EXPECT_EQ(dw, 0x89ABCDEFu);
    EXPECT_EQ(l, -2);
    EXPECT_EQ(i, 7);
    EXPECT_EQ(s, -1);
    EXPECT_EQ(c, 'A');
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(d, 2.0);
    EXPECT_EQ(u, 9u);
    EXPECT_TRUE(in.ar.IsBufferEmpty());
}

TEST(CArchive, EmptyStringIsOneZeroByte)
{
    EXPECT_EQ(Store([](CArchive& ar) { ar << CString(); }), std::string(1, '\0'));
}

TEST(CArchive, StringPrefixSwitchesAt255)
{
    struct Case {
        int length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, std::string("\x00", 1)},
        {254, std::string("\xFE", 1)},
        {255, std::string("\xFF\xFF\x00", 3)},
        {65533, std::string("\xFF\xFD\xFF", 3)},
        {65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
        {65535, std::string("\xFF\xFF\xFF\xFF\xFF\x00\x00", 7)},
        {70000, std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7)},
    };
    for (const Case& c : cases) {
        CString text;
        char* p = text.GetBufferSetLength(c.length);
        for (int i = 0; i < c.length; ++i)
            p[i] = static_cast<char>('a' + i % 26);
        text.ReleaseBuffer(c.length);

        std::string bytes = Store([&](CArchive& ar) { ar << text; });
        ASSERT_EQ(bytes.size(), c.prefix.size() + static_cast<size_t>(c.length)) << c.length;
        EXPECT_EQ(bytes.substr(0, c.prefix.size()), c.prefix) << c.length;
        EXPECT_EQ(bytes.substr(c.prefix.size()), text.Str()) << c.length;

        Loader in(bytes + "Z");
        CString back;
        char tail = 0;
        in.ar >> back >> tail;
        EXPECT_EQ(back.GetLength(), c.length);
        EXPECT_TRUE(back == text) << c.length;
        EXPECT_EQ(tail, 'Z');
    }
}

TEST(CArchive, StringKeepsWindows1252Bytes)
{
    CString text("\xC9t\xE9 \xE0 Orl\xE9"
                 "ans");
    std::string bytes = Store([&](CArchive& ar) { ar << text; });
    EXPECT_EQ(bytes, std::string("\x0D\xC9t\xE9 \xE0 Orl\xE9"
                                 "ans",
                                 14));
}

TEST(CArchive, ReadsUnicodeMarkedStringsAsAnsi)
{
    // 0xFF 0xFFFE marks a UTF-16 string whose character count follows.
    std::string bytes("\xFF\xFE\xFF\x03h\x00\xE9\x00!\x00", 10);
    Loader in(bytes);
    CString s;
    in.ar >> s;
    EXPECT_EQ(s, "h\xE9!");
}

TEST(CArchive, ReadingPastTheEndThrowsEndOfFile)
{
    EXPECT_EQ(ArchiveCause(std::string("\x01\x02\x03", 3),
                           [](CArchive& ar) {
                               DWORD dw;
                               ar >> dw;
                           }),
              CArchiveException::endOfFile);
    EXPECT_EQ(ArchiveCause(std::string(),
                           [](CArchive& ar) {
                               BYTE b;
                               ar >> b;
                           }),
              CArchiveException::endOfFile);
    // A string cut short.
    EXPECT_EQ(ArchiveCause(std::string("\x05"
                                       "abc",
                                       4),
                           [](CArchive& ar) {
                               CString s;
                               ar >> s;
                           }),
              CArchiveException::endOfFile);
}

TEST(CArchive, LyingStringLengthIsRefusedBeforeAllocating)
{
    // Claims 2 GB of text in a 9-byte archive.
    EXPECT_EQ(ArchiveCause(std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7Fxy", 9),
                           [](CArchive& ar) {
                               CString s;
                               ar >> s;
                           }),
              CArchiveException::endOfFile);
    EXPECT_EQ(ArchiveCause(std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7),
                           [](CArchive& ar) {
                               CString s;
                               ar >> s;
                           }),
              CArchiveException::endOfFile);
    // Two Unicode markers in a row are no string.
    EXPECT_EQ(ArchiveCause(std::string("\xFF\xFE\xFF\xFF\xFE\xFF\x00", 7),
                           [](CArchive& ar) {
                               CString s;
                               ar >> s;
                           }),
              CArchiveException::generic);
}

TEST(CArchive, RawBlocksCrossTheBufferBothWays)
{
    std::string block(100000, '\0');
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 7 + 3);
    std::string bytes = Store(
        [&](CArchive& ar) {
            ar << static_cast<WORD>(0xBEEF);
            ar.Write(block.data(), 100);
            ar.Write(block.data(), static_cast<UINT>(block.size()));
            ar << static_cast<DWORD>(42);
        },
        128);
    ASSERT_EQ(bytes.size(), 2 + 100 + block.size() + 4);

    Loader in(bytes, 128);
    WORD w = 0;
    in.ar >> w;
    EXPECT_EQ(w, 0xBEEF);
    std::string first(100, '\0');
    EXPECT_EQ(in.ar.Read(&first[0], 100), 100u);
    EXPECT_EQ(first, block.substr(0, 100));
    std::string second(block.size(), '\0');
    EXPECT_EQ(in.ar.Read(&second[0], static_cast<UINT>(second.size())), second.size());
    EXPECT_EQ(second, block);
    DWORD dw = 0;
    in.ar >> dw;
    EXPECT_EQ(dw, 42u);
    char extra[4];
    EXPECT_EQ(in.ar.Read(extra, sizeof(extra)), 0u); // a short raw read reports, it does not throw
}

TEST(CArchive, LoadingFlushGivesBackReadAheadBytes)
{
    Loader in(std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
    WORD w = 0;
    in.ar >> w;
    EXPECT_EQ(in.ar.GetBytesLeft(), 6u);
    in.ar.Close();
    EXPECT_EQ(in.file.GetPosition(), 2u);
}

TEST(CArchive, DirectionIsEnforced)
{
    CMemFile file;
    CArchive store(&file, CArchive::store);
    EXPECT_TRUE(store.IsStoring());
    BYTE b = 0;
    try {
        store >> b;
        FAIL() << "read from a storing archive";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::writeOnly);
    }
    store.Abort();

    Loader in(std::string("\x01", 1));
    EXPECT_TRUE(in.ar.IsLoading());
    try {
        in.ar << b;
        FAIL() << "write to a loading archive";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::readOnly);
    }
}

TEST(CArchive, AbortedArchiveWritesNothing)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<DWORD>(1);
        ar.Abort();
    }
    EXPECT_EQ(file.GetLength(), 0u);
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<DWORD>(1); // flushed by the destructor
    }
    EXPECT_EQ(file.GetLength(), 4u);
}

TEST(CArchive, TextLinesRoundTrip)
{
    std::string bytes = Store([](CArchive& ar) {
        ar.WriteString("premi\xE8re\r\n");
        ar.WriteString("deux\n");
        ar.WriteString("fin");
    });
    EXPECT_EQ(bytes, "premi\xE8re\r\ndeux\nfin");
    Loader in(bytes);
    CString line;
    ASSERT_TRUE(in.ar.ReadString(line));
    EXPECT_EQ(line, "premi\xE8re");
    ASSERT_TRUE(in.ar.ReadString(line));
    EXPECT_EQ(line, "deux");
    ASSERT_TRUE(in.ar.ReadString(line));
    EXPECT_EQ(line, "fin");
    EXPECT_FALSE(in.ar.ReadString(line));
}

TEST(CArchive, ObjectsCarryClassRecordsTagsAndBackReferences)
{
    CArTestShape a(5);
    CArTestShape b(6);
    a.m_pPeer = &b;
    b.m_pPeer = &a; // a cycle: written as a back reference
    CArTestCircle c;
    c.m_n = 9;
    std::string bytes = Store([&](CArchive& ar) {
        ar << &a;
        ar << &c;
        ar << static_cast<CObject*>(nullptr);
    });

    std::string expected = NewClassRecord(1, kShapeName); // class index 1
    expected += std::string("\x05\x00\x00\x00", 4);       // a.m_n; a is object 2
    expected += std::string("\x01\x80", 2);               // b: known class 1
    expected += std::string("\x06\x00\x00\x00", 4);       // b.m_n; b is object 3
    expected += std::string("\x02\x00", 2);               // b.m_pPeer: object 2
    expected += NewClassRecord(2, "CArTestCircle");       // class index 4
    expected += std::string("\x09\x00\x00\x00", 4);       // c.m_n; c is object 5
    expected += std::string("\x00\x00", 2);               // c.m_pPeer: null
    expected += std::string("\x00\x00", 2);               // the null pointer
    EXPECT_EQ(bytes, expected);

    Loader in(bytes);
    CArTestShape* pA = nullptr;
    in.ar >> pA;
    ASSERT_NE(pA, nullptr);
    EXPECT_EQ(pA->GetRuntimeClass(), RUNTIME_CLASS(CArTestShape));
    EXPECT_EQ(pA->m_n, 5);
    ASSERT_NE(pA->m_pPeer, nullptr);
    EXPECT_EQ(pA->m_pPeer->m_n, 6);
    EXPECT_EQ(pA->m_pPeer->m_pPeer, pA);
    CObject* pC = in.ar.ReadObject(RUNTIME_CLASS(CArTestShape));
    ASSERT_NE(pC, nullptr);
    EXPECT_TRUE(pC->IsKindOf(RUNTIME_CLASS(CArTestCircle)));
    EXPECT_EQ(static_cast<CArTestCircle*>(pC)->m_n, 9);
    EXPECT_EQ(in.ar.ReadObject(nullptr), nullptr);
    delete pA->m_pPeer;
    delete pA;
    delete pC;
}

TEST(CArchive, IndexesPast32766UseTheBigTagForm)
{
    // Class 1 and objects 2..33001 fill the small index range; the circle class then gets index 33002.
    constexpr int kShapes = 33000;
    std::vector<CArTestShape> shapes(kShapes);
    CArTestCircle c1;
    CArTestCircle c2;
    c2.m_pPeer = &c1; // a reference to object 33003
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        for (auto& shape : shapes)
            ar << &shape;
        ar << &c1;
        ar << &c2;
        ar.Close();
    }
    const std::string bytes = Bytes(file);
    const std::string circleName = "CArTestCircle";
    size_t first = bytes.find(circleName);
    ASSERT_NE(first, std::string::npos);
    // c1: LONG, null peer; then c2's class as 0x7FFF and DWORD 0x80000000 | 33002.
    size_t c2Tag = first + circleName.size() + 4 + 2;
    EXPECT_EQ(bytes.substr(c2Tag, 6), std::string("\xFF\x7F\xEA\x80\x00\x80", 6));
    // c2's peer: 0x7FFF and DWORD 33003.
    EXPECT_EQ(bytes.substr(c2Tag + 6 + 4, 6), std::string("\xFF\x7F\xEB\x80\x00\x00", 6));

    Loader in(bytes);
    std::vector<CObject*> loaded;
    for (int i = 0; i < kShapes + 2; ++i)
        loaded.push_back(in.ar.ReadObject(RUNTIME_CLASS(CArTestShape)));
    auto* pC2 = static_cast<CArTestCircle*>(loaded.back());
    EXPECT_TRUE(pC2->IsKindOf(RUNTIME_CLASS(CArTestCircle)));
    EXPECT_EQ(pC2->m_pPeer, loaded[kShapes]);
    for (CObject* p : loaded)
        delete p;
}

TEST(CArchive, VersionableClassSeesTheStoredSchema)
{
    std::string bytes = NewClassRecord(1, "CArTestVersioned") + std::string("\x34\x12", 2);
    Loader in(bytes);
    CObject* pOb = in.ar.ReadObject(RUNTIME_CLASS(CArTestVersioned));
    ASSERT_NE(pOb, nullptr);
    auto* pV = static_cast<CArTestVersioned*>(pOb);
    EXPECT_EQ(pV->m_schemaSeen, 1u);
    EXPECT_EQ(pV->m_value, 0x1234u);
    delete pOb;
}

TEST(CArchive, DamagedObjectStreamsAreRefused)
{
    auto readAny = [](CArchive& ar) {
        CObject* pOb = ar.ReadObject(nullptr);
        delete pOb;
    };
    // An unknown class name.
    EXPECT_EQ(ArchiveCause(NewClassRecord(1, "CNobodyKnowsMe") + std::string(4, '\0'), readAny),
              CArchiveException::badClass);
    // A name too long to be a class.
    EXPECT_EQ(ArchiveCause(NewClassRecord(1, std::string(200, 'C')), readAny), CArchiveException::badClass);
    // A name length running past the end.
    EXPECT_EQ(ArchiveCause(std::string("\xFF\xFF\x01\x00\x30\x00"
                                       "CAr",
                                       9),
                           readAny),
              CArchiveException::badClass);
    // A schema the class does not read.
    EXPECT_EQ(ArchiveCause(NewClassRecord(7, kShapeName) + std::string(6, '\0'), readAny),
              CArchiveException::badSchema);
    // A class index never defined, and an object index never defined.
    EXPECT_EQ(ArchiveCause(std::string("\x05\x80", 2), readAny), CArchiveException::badIndex);
    EXPECT_EQ(ArchiveCause(std::string("\x09\x00", 2), readAny), CArchiveException::badIndex);
    // An object reference naming a class entry.
    EXPECT_EQ(
        ArchiveCause(NewClassRecord(1, kShapeName) + std::string("\x01\x00\x00\x00\x01\x00", 6), readAny),
        CArchiveException::badIndex);
    // A big tag naming nothing.
    EXPECT_EQ(ArchiveCause(std::string("\xFF\x7F\x00\x00\x00\xC0", 6), readAny), CArchiveException::badIndex);
    // A class that exists but is not the one asked for.
    EXPECT_EQ(ArchiveCause(NewClassRecord(1, kShapeName) + std::string(6, '\0'),
                           [](CArchive& ar) { ar.ReadObject(RUNTIME_CLASS(CArTestCircle)); }),
              CArchiveException::badClass);
    // A non-creatable class named in the stream.
    EXPECT_EQ(ArchiveCause(NewClassRecord(1, "CObject"), readAny), CArchiveException::badClass);
}

TEST(CArchive, ObjectCutShortIsDeletedAndReported)
{
    std::string bytes = NewClassRecord(1, "CArTestThrower") + std::string("\x01\x02", 2);
    Loader in(bytes);
    try {
        in.ar.ReadObject(nullptr);
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
    EXPECT_EQ(CArTestThrower::s_live, 0);
}

TEST(CArchive, StoringANonSerialisableObjectIsRefused)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    CMemFile notSerialisable;
    try {
        ar << static_cast<CObject*>(&notSerialisable);
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badClass);
    }
    ar.Abort();
}

TEST(CArchive, WorksOnADiskFile)
{
    testpaths::TempDir dir;
    const std::string path = dir.File("record.dai");
    {
        CFile file(path.c_str(),
                   CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite | CFile::typeBinary);
        CArchive ar(&file, CArchive::store, 4096);
        ar << CString("C:\\Images\\photo.jpg") << 1 << static_cast<WORD>(0x2233);
        ar.Close();
        file.Close();
    }
    EXPECT_EQ(testpaths::ReadBytes(path), std::string("\x13"
                                                      "C:\\Images\\photo.jpg\x01\x00\x00\x00\x33\x22",
                                                      26));
    CFile file(path.c_str(), CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary);
    CArchive ar(&file, CArchive::load, 4096);
    CString s;
    int n = 0;
    WORD w = 0;
    ar >> s >> n >> w;
    EXPECT_EQ(s, "C:\\Images\\photo.jpg");
    EXPECT_EQ(n, 1);
    EXPECT_EQ(w, 0x2233);
    BYTE more = 0;
    EXPECT_THROW(ar >> more, CArchiveException);
}
