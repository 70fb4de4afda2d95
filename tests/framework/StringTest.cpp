// CString: Windows-1252 case folding, formatting, searching, editing and raw buffer access.
#include "framework/String.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const UINT kIdsNotFound = 61200; // "Le fichier %s est introuvable."
const UINT kIdsCopy = 61201;     // "Copier %1 vers %2 ?"
const UINT kIdsElement = 61202;  // "Élément %d sur %d"
} // namespace

TEST(CString, ConstructsFromTextCountsAndCharacters)
{
    EXPECT_EQ(CString().GetLength(), 0);
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_EQ(CString("abc").GetLength(), 3);
    EXPECT_EQ(CString("abcdef", 4), "abcd");
    EXPECT_EQ(CString('x', 3), "xxx");
    EXPECT_TRUE(CString(static_cast<LPCSTR>(nullptr)).IsEmpty());
    EXPECT_EQ(CString(L"\x00E9t\x00E9"), "\xE9t\xE9"); // UTF-16 to the ANSI code page
    CString s("abc");
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CString, MakeUpperFoldsAccentedLetters)
{
    CString s("\xE9t\xE9 \xE0 la for\xEAt \xE7\xE0 et l\xE0");
    s.MakeUpper();
    EXPECT_EQ(s, "\xC9T\xC9 \xC0 LA FOR\xCAT \xC7\xC0 ET L\xC0");
    s.MakeLower();
    EXPECT_EQ(s, "\xE9t\xE9 \xE0 la for\xEAt \xE7\xE0 et l\xE0");
}

TEST(CString, CompareNoCaseMatchesAccentedCapitals)
{
    EXPECT_EQ(CString("\xC9T\xC9").CompareNoCase("\xE9t\xE9"), 0);
    EXPECT_EQ(CString("Photo.JPG").CompareNoCase("photo.jpg"), 0);
    EXPECT_NE(CString("\xE9t\xE9").CompareNoCase("ete"), 0);
    // An accented letter sorts with its base letter, not after 'z'.
    EXPECT_LT(CString("\xE9"
                      "cole")
                  .CompareNoCase("fable"),
              0);
    EXPECT_GT(CString("\xE9"
                      "cole")
                  .CompareNoCase("dame"),
              0);
    // Compare is byte order and case sensitive.
    EXPECT_LT(CString("ABC").Compare("abc"), 0);
    EXPECT_EQ(CString("abc").Compare("abc"), 0);
}

TEST(CString, ComparisonOperators)
{
    CString a("abc");
    CString b("abd");
    EXPECT_TRUE(a == "abc");
    EXPECT_TRUE("abc" == a);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(b > "abc");
    EXPECT_TRUE(a <= "abc");
    EXPECT_TRUE(a >= "abc");
    EXPECT_FALSE(a == "ABC");
}

TEST(CString, ConcatenatesEveryWay)
{
    CString s("C:\\Lib");
    s += '\\';
    s += "Images";
    s += CString("\\");
    EXPECT_EQ(s, "C:\\Lib\\Images\\");
    EXPECT_EQ(CString("a") + "b" + 'c' + CString("d"), "abcd");
    EXPECT_EQ("x" + CString("y"), "xy");
    EXPECT_EQ('x' + CString("y"), "xy");
    EXPECT_STREQ(static_cast<LPCSTR>(s), "C:\\Lib\\Images\\");
}

TEST(CString, FormatPassesStringsAsText)
{
    CString name("Photo.jpg");
    CString s;
    s.Format("%s : %d Ko, %u, %02d/%02d/%02d", name, 12, 7u, 3, 9, 99);
    EXPECT_EQ(s, "Photo.jpg : 12 Ko, 7, 03/09/99");
    char buffer[] = "tableau";
    s.Format("[%s] [%5s] [%-4d] [%x]", buffer, "ab", 42, 255);
    EXPECT_EQ(s, "[tableau] [   ab] [42  ] [ff]");
}

TEST(CString, FormatKeepsUserTextAsItIs)
{
    // A name typed by the user goes in as an argument, never as the format.
    CString userName("100% %s %d");
    CString s;
    s.Format("Nom : %s", userName);
    EXPECT_EQ(s, "Nom : 100% %s %d");
}

TEST(CString, FormatBuildsLongResults)
{
    CString part('z', 3000);
    CString s;
    s.Format("<%s|%s>", part, part);
    EXPECT_EQ(s.GetLength(), 6003);
    EXPECT_EQ(s.Left(2), "<z");
    EXPECT_EQ(s.Right(2), "z>");
}

TEST(CString, FormatMessageInsertsPositionalArguments)
{
    CString s;
    s.FormatMessage("%2 puis %1 (%3!d!)", "premier", CString("second"), 12);
    EXPECT_EQ(s, "second puis premier (12)");
    s.FormatMessage("100%% de %1", "rien %1");
    EXPECT_EQ(s, "100% de rien %1");
}

TEST(CString, LoadStringReadsTheStringTable)
{
    CString s;
    ASSERT_TRUE(s.LoadString(kIdsElement));
    EXPECT_EQ(s, "\xC9l\xE9ment %d sur %d");
    CString formatted;
    formatted.Format(kIdsElement, 3, 10);
    EXPECT_EQ(formatted, "\xC9l\xE9ment 3 sur 10");
    formatted.FormatMessage(kIdsCopy, "a.jpg", "b.jpg");
    EXPECT_EQ(formatted, "Copier a.jpg vers b.jpg ?");
    EXPECT_EQ(CString(MAKEINTRESOURCEA(kIdsNotFound)), "Le fichier %s est introuvable.");
}

TEST(CString, LoadStringOfAMissingIdGivesFalseAndEmpty)
{
    CString s("before");
    EXPECT_FALSE(s.LoadString(61299));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CString, AfxFormatStringInsertsWithoutInterpreting)
{
    CString s;
    AfxFormatString2(s, kIdsCopy, "50%.jpg", "%1.jpg");
    EXPECT_EQ(s, "Copier 50%.jpg vers %1.jpg ?");
    AfxFormatString1(s, kIdsCopy, "x");
    EXPECT_EQ(s, "Copier x vers  ?");
}

TEST(CString, ExtractsClampedSubstrings)
{
    CString s("Photo.jpg");
    EXPECT_EQ(s.Left(5), "Photo");
    EXPECT_EQ(s.Right(3), "jpg");
    EXPECT_EQ(s.Mid(6), "jpg");
    EXPECT_EQ(s.Mid(2, 3), "oto");
    EXPECT_EQ(s.Left(100), s);
    EXPECT_EQ(s.Right(100), s);
    EXPECT_EQ(s.Mid(100), "");
    EXPECT_EQ(s.Mid(-3, 2), "Ph");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Mid(4, 100), "o.jpg");
    EXPECT_EQ(CString("abc123def").SpanIncluding("abc"), "abc");
    EXPECT_EQ(CString("abc123def").SpanExcluding("0123456789"), "abc");
    EXPECT_EQ(CString("abc").SpanExcluding("x"), "abc");
}

TEST(CString, FindsCharactersAndSubstrings)
{
    CString s("C:\\Lib\\Images\\photo.tar.gz");
    EXPECT_EQ(s.Find('\\'), 2);
    EXPECT_EQ(s.Find('\\', 3), 6);
    EXPECT_EQ(s.Find('#'), -1);
    EXPECT_EQ(s.Find("Images"), 7);
    EXPECT_EQ(s.Find("Images", 8), -1);
    EXPECT_EQ(s.Find('C', 100), -1);
    EXPECT_EQ(s.ReverseFind('.'), 23);
    EXPECT_EQ(s.ReverseFind('#'), -1);
    EXPECT_EQ(s.FindOneOf(".\\"), 2);
    EXPECT_EQ(s.FindOneOf("#"), -1);
}

TEST(CString, ReplaceRemoveInsertDelete)
{
    CString s("a-b-c");
    EXPECT_EQ(s.Replace('-', '+'), 2);
    EXPECT_EQ(s, "a+b+c");
    EXPECT_EQ(s.Replace("+", "<>"), 2);
    EXPECT_EQ(s, "a<>b<>c");
    EXPECT_EQ(s.Replace("<>", ""), 2);
    EXPECT_EQ(s, "abc");
    EXPECT_EQ(s.Replace("zz", "y"), 0);
    EXPECT_EQ(s.Replace("", "y"), 0);
    CString t("aaaa");
    EXPECT_EQ(t.Replace("aa", "a"), 2); // non-overlapping, left to right
    EXPECT_EQ(t, "aa");
    CString r("m.i.s.s");
    EXPECT_EQ(r.Remove('.'), 3);
    EXPECT_EQ(r, "miss");
    EXPECT_EQ(r.Insert(1, 'X'), 5);
    EXPECT_EQ(r, "mXiss");
    EXPECT_EQ(r.Insert(100, "!!"), 7);
    EXPECT_EQ(r, "mXiss!!");
    EXPECT_EQ(r.Delete(1), 6);
    EXPECT_EQ(r, "miss!!");
    EXPECT_EQ(r.Delete(4, 100), 4);
    EXPECT_EQ(r, "miss");
    EXPECT_EQ(r.Delete(10, 2), 4);
}

TEST(CString, TrimsBlanksAndChosenCharacters)
{
    CString s(" \t mot cl\xE9 \r\n");
    s.TrimLeft();
    EXPECT_EQ(s, "mot cl\xE9 \r\n");
    s.TrimRight();
    EXPECT_EQ(s, "mot cl\xE9");
    CString d("..dossier..");
    d.TrimLeft('.');
    EXPECT_EQ(d, "dossier..");
    d.TrimRight(".r");
    EXPECT_EQ(d, "dossie");
    CString blank("   ");
    blank.TrimRight();
    EXPECT_TRUE(blank.IsEmpty());
}

TEST(CString, GetAtAndSetAtStayInRange)
{
    CString s("abc");
    EXPECT_EQ(s.GetAt(1), 'b');
    EXPECT_EQ(s[2], 'c');
    EXPECT_EQ(s.GetAt(5), '\0');
    s.SetAt(0, 'X');
    s.SetAt(9, 'Y');
    EXPECT_EQ(s, "Xbc");
}

TEST(CString, GetBufferAndReleaseBuffer)
{
    CString s("old");
    char* p = s.GetBuffer(MAX_PATH);
    lstrcpyA(p, "C:\\Windows");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "C:\\Windows");
    EXPECT_EQ(s.GetLength(), 10);

    p = s.GetBuffer(0);
    EXPECT_EQ(p[0], 'C');
    s.ReleaseBuffer(2);
    EXPECT_EQ(s, "C:");

    p = s.GetBufferSetLength(4);
    p[2] = 'x';
    p[3] = 'y';
    s.ReleaseBuffer();
    EXPECT_EQ(s, "C:xy");
}

TEST(CString, CopiesAreIndependent)
{
    CString a("original");
    CString b = a;
    b.SetAt(0, 'O');
    b.MakeUpper();
    EXPECT_EQ(a, "original");
    EXPECT_EQ(b, "ORIGINAL");
    CString c;
    c = a;
    a.Empty();
    EXPECT_EQ(c, "original");
}
