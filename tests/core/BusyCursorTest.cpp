// The busy cursor: non-nesting busy periods and the shared cursor table.
#include <gtest/gtest.h>

#include "core/BusyCursor.h"

namespace {

class BusyCursorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_busy = LoadCursorA(nullptr, IDC_WAIT);
        m_arrow = LoadCursorA(nullptr, IDC_ARROW);
        SetAppCursorHandle(kAppCursorBusy, m_busy);
        RestoreAppCursor(); // no period left open by another test
        SetCursor(m_arrow);
    }
    void TearDown() override
    {
        RestoreAppCursor();
        SetAppCursorHandle(kAppCursorBusy, nullptr);
    }
    HCURSOR m_busy = nullptr;
    HCURSOR m_arrow = nullptr;
};

} // namespace

TEST_F(BusyCursorTest, FirstRestoreEndsTheBusyPeriod)
{
    SetAppCursor(0);
    EXPECT_EQ(GetCursor(), m_busy);
    SetCursor(LoadCursorA(nullptr, IDC_CROSS));
    SetAppCursor(0); // inner begin: nothing changes
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_CROSS));
    RestoreAppCursor();
    EXPECT_EQ(GetCursor(), m_arrow);
    SetCursor(LoadCursorA(nullptr, IDC_IBEAM));
    RestoreAppCursor(); // the outer end does nothing
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_IBEAM));
}

TEST_F(BusyCursorTest, RestoreWithoutBeginChangesNothing)
{
    RestoreAppCursor();
    EXPECT_EQ(GetCursor(), m_arrow);
}

TEST_F(BusyCursorTest, ReplacingNoCursorSavesNothing)
{
    SetCursor(nullptr);
    SetAppCursor(0);
    EXPECT_EQ(GetCursor(), m_busy);
    RestoreAppCursor(); // nothing was saved
    EXPECT_EQ(GetCursor(), m_busy);
    SetCursor(m_arrow);
    SetAppCursor(0); // a new period starts
    EXPECT_EQ(GetCursor(), m_busy);
    RestoreAppCursor();
    EXPECT_EQ(GetCursor(), m_arrow);
}

TEST_F(BusyCursorTest, CursorTableKindsAndFallback)
{
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    SetAppCursorHandle(kAppCursorAlternate, cross);
    EXPECT_EQ(GetAppCursorHandle(kAppCursorAlternate), cross);
    SetAppCursor(kAppCursorAlternate);
    EXPECT_EQ(GetCursor(), cross);
    RestoreAppCursor();
    SetAppCursorHandle(kAppCursorAlternate, nullptr);
    // Not loaded, or out of range: the system's wait cursor.
    EXPECT_EQ(GetAppCursorHandle(kAppCursorAlternate), LoadCursorA(nullptr, IDC_WAIT));
    EXPECT_EQ(GetAppCursorHandle(7), LoadCursorA(nullptr, IDC_WAIT));
    SetAppCursorHandle(7, cross); // ignored
    EXPECT_EQ(GetAppCursorHandle(7), LoadCursorA(nullptr, IDC_WAIT));
}
