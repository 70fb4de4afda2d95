// Run-time class records: names, base chains, creation by name, downcasts, thread-safe lookup.
#include "framework/Archive.h"
#include "framework/Object.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

class CObjTestAnimal : public CObject {
    DECLARE_DYNAMIC(CObjTestAnimal)
public:
    CObjTestAnimal() = default;
};
IMPLEMENT_DYNAMIC(CObjTestAnimal, CObject)

class CObjTestCat : public CObjTestAnimal {
    DECLARE_DYNCREATE(CObjTestCat)
public:
    static int s_live;
    CObjTestCat() { ++s_live; }
    ~CObjTestCat() override { --s_live; }
};
int CObjTestCat::s_live = 0;
IMPLEMENT_DYNCREATE(CObjTestCat, CObjTestAnimal)

class CObjTestRecord : public CObject {
    DECLARE_SERIAL(CObjTestRecord)
public:
    CObjTestRecord() = default;
};
IMPLEMENT_SERIAL(CObjTestRecord, CObject, 3)

} // namespace

TEST(CRuntimeClass, RecordsNameSizeSchemaAndBase)
{
    const CRuntimeClass* cat = RUNTIME_CLASS(CObjTestCat);
    EXPECT_STREQ(cat->m_lpszClassName, "CObjTestCat");
    EXPECT_EQ(cat->m_nObjectSize, static_cast<int>(sizeof(CObjTestCat)));
    EXPECT_EQ(cat->m_wSchema, 0xFFFFu);
    EXPECT_EQ(cat->m_pBaseClass, RUNTIME_CLASS(CObjTestAnimal));
    EXPECT_EQ(RUNTIME_CLASS(CObjTestAnimal)->m_pBaseClass, RUNTIME_CLASS(CObject));
    EXPECT_EQ(RUNTIME_CLASS(CObject)->m_pBaseClass, nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CObjTestRecord)->m_wSchema, 3u);
}

TEST(CRuntimeClass, IsDerivedFromFollowsTheWholeChain)
{
    EXPECT_TRUE(RUNTIME_CLASS(CObjTestCat)->IsDerivedFrom(RUNTIME_CLASS(CObject)));
    EXPECT_TRUE(RUNTIME_CLASS(CObjTestCat)->IsDerivedFrom(RUNTIME_CLASS(CObjTestAnimal)));
    EXPECT_TRUE(RUNTIME_CLASS(CObjTestCat)->IsDerivedFrom(RUNTIME_CLASS(CObjTestCat)));
    EXPECT_FALSE(RUNTIME_CLASS(CObjTestAnimal)->IsDerivedFrom(RUNTIME_CLASS(CObjTestCat)));
    EXPECT_FALSE(RUNTIME_CLASS(CObjTestRecord)->IsDerivedFrom(RUNTIME_CLASS(CObjTestAnimal)));
}

TEST(CRuntimeClass, CreatesObjectsOfCreatableClassesOnly)
{
    EXPECT_EQ(RUNTIME_CLASS(CObjTestAnimal)->CreateObject(), nullptr);
    CObject* pOb = RUNTIME_CLASS(CObjTestCat)->CreateObject();
    ASSERT_NE(pOb, nullptr);
    EXPECT_EQ(CObjTestCat::s_live, 1);
    EXPECT_EQ(pOb->GetRuntimeClass(), RUNTIME_CLASS(CObjTestCat));
    delete pOb; // through CObject's virtual destructor
    EXPECT_EQ(CObjTestCat::s_live, 0);
}

TEST(CRuntimeClass, FindsCreatableClassesByName)
{
    EXPECT_EQ(CRuntimeClass::FromName("CObjTestCat"), RUNTIME_CLASS(CObjTestCat));
    EXPECT_EQ(CRuntimeClass::FromName("CObjTestRecord"), RUNTIME_CLASS(CObjTestRecord));
    EXPECT_EQ(CRuntimeClass::FromName("CObjTestNobody"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("cobjtestcat"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
}

TEST(CRuntimeClass, RegistrationAndLookupAreSafeAcrossThreads)
{
    constexpr int kThreads = 8;
    constexpr int kPerThread = 50;
    // The class table keeps what is registered for the life of the process, as it does for real
    // class records, so these must outlive the test.
    static std::vector<std::string> names(kThreads * kPerThread);
    static std::vector<CRuntimeClass> records(kThreads * kPerThread);
    for (size_t i = 0; i < records.size(); ++i) {
        names[i] = "CObjTestThreaded" + std::to_string(i);
        records[i] = CRuntimeClass{names[i].c_str(), 1, 0xFFFF, nullptr, RUNTIME_CLASS(CObject)};
    }
    std::atomic<int> misses{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                size_t k = static_cast<size_t>(t * kPerThread + i);
                AfxClassInit(&records[k]);
                if (CRuntimeClass::FromName(names[k].c_str()) != &records[k])
                    ++misses;
                if (CRuntimeClass::FromName("CObjTestCat") != RUNTIME_CLASS(CObjTestCat))
                    ++misses;
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(misses.load(), 0);
}

TEST(CObject, IsKindOfAndSerialisable)
{
    CObjTestCat cat;
    CObjTestAnimal animal;
    CObjTestRecord record;
    EXPECT_TRUE(cat.IsKindOf(RUNTIME_CLASS(CObjTestAnimal)));
    EXPECT_TRUE(cat.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(animal.IsKindOf(RUNTIME_CLASS(CObjTestCat)));
    EXPECT_FALSE(cat.IsSerializable());
    EXPECT_TRUE(record.IsSerializable());
}

TEST(CObject, DynamicDowncastGivesNullForAnotherClass)
{
    CObjTestCat cat;
    CObjTestAnimal animal;
    CObject* pCat = &cat;
    CObject* pAnimal = &animal;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CObjTestCat, pCat), &cat);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CObjTestCat, pAnimal), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CObjTestAnimal, pCat), &cat);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CObjTestCat, static_cast<CObject*>(nullptr)), nullptr);
    EXPECT_EQ(STATIC_DOWNCAST(CObjTestAnimal, pCat), &cat);
}
