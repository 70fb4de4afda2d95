// The machine-wide settings: registry values first, the INI file of string 58 as the fallback.
#include "app/MachineProfile.h"

#include <gtest/gtest.h>
#include <shlwapi.h>
#include <windows.h>

#include <string>

namespace {

class MachineProfileTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_section = "Test" + std::to_string(GetCurrentProcessId());
        m_profile.BuildMachineKey();
    }
    void TearDown() override
    {
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, (m_profile.GetMachineKey() + m_section).c_str());
        WritePrivateProfileStringA(m_section.c_str(), nullptr, nullptr, "none");
    }

    CMachineProfile m_profile;
    std::string m_section;
};

TEST_F(MachineProfileTest, KeyIsNamedAfterTheProfileString)
{
    EXPECT_EQ(m_profile.GetMachineKey(), "SOFTWARE\\Orvanel\\Tessarine 3.0\\");
}

TEST_F(MachineProfileTest, IntegersAreStoredAsTextAndReadBack)
{
    ASSERT_TRUE(m_profile.WriteMachineProfileInt(m_section.c_str(), "Count", -12));
    char text[32] = {};
    DWORD type = 0;
    DWORD size = sizeof(text);
    ASSERT_EQ(SHGetValueA(HKEY_LOCAL_MACHINE, (m_profile.GetMachineKey() + m_section).c_str(), "Count", &type,
                          text, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(text, "-12");
    EXPECT_EQ(m_profile.GetMachineProfileInt(m_section.c_str(), "Count", 5), -12);
    ASSERT_TRUE(m_profile.WriteMachineProfileString(m_section.c_str(), "Name", "\xC9t\xE9"));
    EXPECT_EQ(m_profile.GetMachineProfileString(m_section.c_str(), "Name"), "\xC9t\xE9");
}

TEST_F(MachineProfileTest, MissingValuesComeFromTheIniFileThenTheDefault)
{
    EXPECT_EQ(m_profile.GetMachineProfileInt(m_section.c_str(), "Count", 5), 5);
    EXPECT_EQ(m_profile.GetMachineProfileString(m_section.c_str(), "Name", "d\xE9\x66\x61ut"),
              "d\xE9\x66\x61ut");
    EXPECT_EQ(m_profile.GetMachineProfileString(m_section.c_str(), "Name"), "");
    ASSERT_TRUE(WritePrivateProfileStringA(m_section.c_str(), "Count", "77", "none"));
    ASSERT_TRUE(WritePrivateProfileStringA(m_section.c_str(), "Name", "depuis le fichier", "none"));
    EXPECT_EQ(m_profile.GetMachineProfileInt(m_section.c_str(), "Count", 5), 77);
    EXPECT_EQ(m_profile.GetMachineProfileString(m_section.c_str(), "Name"), "depuis le fichier");
}

} // namespace
