// Registry strings and numbers under a throwaway key of the current user.
#include <gtest/gtest.h>

#include <string>

#include "core/RegistryUtil.h"

namespace {

class RegistryUtilTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_key = "Software\\TessarineTests\\Registry" + std::to_string(GetCurrentProcessId()) + "_"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override { RegDeleteKeyTree(HKEY_CURRENT_USER, m_key.c_str()); }

    // Writes raw bytes as a REG_SZ value, as another program might.
    void WriteRaw(LPCSTR name, const std::string& bytes)
    {
        HKEY key;
        const LONG created = RegCreateKeyExA(HKEY_CURRENT_USER, m_key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr);
        ASSERT_EQ(created, ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes.data()),
                                 DWORD(bytes.size())),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    std::string m_key;
};

} // namespace

TEST_F(RegistryUtilTest, StringRoundTripCreatesTheKey)
{
    ASSERT_EQ(RegSetString(HKEY_CURRENT_USER, m_key.c_str(), "Dossier", "C:\\Images \xE9t\xE9"), 1);
    char buffer[kRegStringBufferSize] = "";
    ASSERT_EQ(RegGetString(HKEY_CURRENT_USER, m_key.c_str(), "Dossier", buffer), 1);
    EXPECT_STREQ(buffer, "C:\\Images \xE9t\xE9");
    // The stored value carries its terminating NUL.
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, m_key.c_str(), 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
    DWORD size = 0;
    RegQueryValueExA(key, "Dossier", nullptr, nullptr, nullptr, &size);
    RegCloseKey(key);
    EXPECT_EQ(size, strlen("C:\\Images \xE9t\xE9") + 1);
}

TEST_F(RegistryUtilTest, MissingValueLeavesTheBufferUntouched)
{
    char buffer[kRegStringBufferSize] = "d\xE9"
                                        "faut";
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, m_key.c_str(), "Absent", buffer), 0);
    EXPECT_STREQ(buffer, "d\xE9"
                         "faut");
    ASSERT_EQ(RegSetString(HKEY_CURRENT_USER, m_key.c_str(), "Autre", "x"), 1);
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, m_key.c_str(), "Absent", buffer), 0);
    EXPECT_STREQ(buffer, "d\xE9"
                         "faut");
}

TEST_F(RegistryUtilTest, EmptyTextAndUnterminatedValues)
{
    ASSERT_EQ(RegSetString(HKEY_CURRENT_USER, m_key.c_str(), "Vide", ""), 1);
    char buffer[kRegStringBufferSize];
    memset(buffer, 'z', sizeof(buffer));
    ASSERT_EQ(RegGetString(HKEY_CURRENT_USER, m_key.c_str(), "Vide", buffer), 1);
    EXPECT_STREQ(buffer, "");

    // 259 bytes without a NUL: terminated at byte 260.
    WriteRaw("Long", std::string(259, 'a'));
    memset(buffer, 'z', sizeof(buffer));
    ASSERT_EQ(RegGetString(HKEY_CURRENT_USER, m_key.c_str(), "Long", buffer), 1);
    EXPECT_EQ(std::string(buffer), std::string(259, 'a'));

    // Longer than the buffer: refused, the caller keeps its default.
    WriteRaw("TropLong", std::string(400, 'b'));
    strcpy(buffer, "garde");
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, m_key.c_str(), "TropLong", buffer), 0);
    EXPECT_STREQ(buffer, "garde");
}

TEST_F(RegistryUtilTest, NumbersAndTheirRanges)
{
    ASSERT_EQ(RegSetDword(HKEY_CURRENT_USER, m_key.c_str(), "Taux", 75), 1);
    DWORD value = 0;
    ASSERT_EQ(RegGetDword(HKEY_CURRENT_USER, m_key.c_str(), "Taux", &value), 1);
    EXPECT_EQ(value, 75u);
    value = 50;
    EXPECT_EQ(RegGetDwordInRange(HKEY_CURRENT_USER, m_key.c_str(), "Taux", &value, 0, 70), 0);
    EXPECT_EQ(value, 50u);
    EXPECT_EQ(RegGetDwordInRange(HKEY_CURRENT_USER, m_key.c_str(), "Taux", &value, 0, 100), 1);
    EXPECT_EQ(value, 75u);
    EXPECT_EQ(RegGetDwordInRange(HKEY_CURRENT_USER, m_key.c_str(), "Absent", &value, 0, 100), 0);
    EXPECT_EQ(value, 75u);
    // A string is not a number.
    ASSERT_EQ(RegSetString(HKEY_CURRENT_USER, m_key.c_str(), "Texte", "1234567"), 1);
    value = 9;
    EXPECT_EQ(RegGetDword(HKEY_CURRENT_USER, m_key.c_str(), "Texte", &value), 0);
    EXPECT_EQ(value, 9u);
}

TEST_F(RegistryUtilTest, RemovingValuesAndKeyTrees)
{
    ASSERT_EQ(RegSetString(HKEY_CURRENT_USER, m_key.c_str(), "A", "1"), 1);
    EXPECT_EQ(RegRemoveValue(HKEY_CURRENT_USER, m_key.c_str(), "A"), 1);
    EXPECT_EQ(RegRemoveValue(HKEY_CURRENT_USER, m_key.c_str(), "A"), 1);
    char buffer[kRegStringBufferSize] = "";
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, m_key.c_str(), "A", buffer), 0);

    const std::string deep = m_key + "\\un\\deux\\trois";
    ASSERT_EQ(RegSetString(HKEY_CURRENT_USER, deep.c_str(), "x", "y"), 1);
    ASSERT_EQ(RegSetString(HKEY_CURRENT_USER, (m_key + "\\un\\autre").c_str(), nullptr,
                           "d\xE9"
                           "faut"),
              1);
    EXPECT_EQ(RegDeleteKeyTree(HKEY_CURRENT_USER, (m_key + "\\un").c_str()), 1);
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, (m_key + "\\un").c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyTree(HKEY_CURRENT_USER, (m_key + "\\un").c_str()), 0);
}

TEST_F(RegistryUtilTest, DefaultValueIsCutToTheBuffer)
{
    ASSERT_EQ(RegSetString(HKEY_CURRENT_USER, m_key.c_str(), nullptr, "jpegfile"), 1);
    char buffer[6];
    memset(buffer, 'z', sizeof(buffer));
    // Too long for 6 bytes: the read fails and the buffer is left empty, not unterminated.
    EXPECT_FALSE(RegGetDefaultValue(HKEY_CURRENT_USER, m_key.c_str(), buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "");
    char big[64];
    EXPECT_TRUE(RegGetDefaultValue(HKEY_CURRENT_USER, m_key.c_str(), big, sizeof(big)));
    EXPECT_STREQ(big, "jpegfile");
    ASSERT_EQ(RegSetString(HKEY_CURRENT_USER, m_key.c_str(), nullptr, ""), 1);
    EXPECT_FALSE(RegGetDefaultValue(HKEY_CURRENT_USER, m_key.c_str(), big, sizeof(big)));
    EXPECT_FALSE(RegGetDefaultValue(HKEY_CURRENT_USER, (m_key + "\\absent").c_str(), big, sizeof(big)));
}
