// Matching file names against the selection patterns users type.
#include "piclist/Wildcard.h"

#include <gtest/gtest.h>

TEST(Wildcard, PatternTable)
{
    const struct {
        const char* pattern;
        const char* name;
        int match;
    } rows[] = {
        {"*.*", "photo.jpg", 1},
        {"*.*", "photo", 1},
        {"*.*", "", 1},
        {"*.", "photo", 1},
        {"*.", "photo.jpg", 0},
        {"*", "anything.at.all", 1},
        {"*", "", 1},
        {"*.JPG", "vacances.jpg", 1},
        {"\xC9*",
         "\xE9"
         "cole.bmp",
         1},                   // É* matches école
        {"\xD7*", "\xF7x", 0}, // the multiplication sign does not fold
        // Every capital folds, the accented ones at both ends of Latin-1 and those beyond it.
        {"\xC0*", "\xE0 la plage.jpg", 1},    // À
        {"*\xDE", "\xFE", 1},                 // Þ
        {"[\xD0-\xD6]*", "\xF6t\xE9.png", 1}, // a range of capitals holds ö
        {"\xD8*", "\xF8", 1},                 // Ø
        {"\x8C"
         "uvre.bmp",
         "\x9C"
         "uvre.bmp",
         1}, // Œ / œ
        {"*\x8A*",
         "\x9A"
         "koda.gif",
         1}, // Š / š
        {"\x8E*",
         "\x9E"
         "ut.jpg",
         1},                           // Ž / ž
        {"?\x9F.png", "h\xFF.png", 1}, // Ÿ / ÿ
        {"\xDF*", "ss", 0},            // ß is no capital
        {"[a-c]*", "banane.gif", 1},
        {"[!a-c]*", "banane.gif", 0},
        {"[^0-9]*", "x1.png", 1},
        {"[-x]a", "-a", 1},
        {"[a\\]]*", "]b", 1},
        {"[abc", "a", 0},
        {"a?c", "ac", 0},
        {"a?c", "abc", 1},
        {"a*c", "ac", 1},
        {"a*c", "abbbc", 1},
        {"a*c", "abbbd", 0},
        {"a**", "a", 0},
        {"a*", "a", 1},
        {"abc\\", "abc", 0},
        {"a\\*c", "a*c", 1},
        {"a\\*c", "abc", 0},
        {"[a-]", "a", 0},
        {"[a-]", "-", 0},
        {"[c-a]x", "bx", 0},
        {"img_0[0-4]?.*", "IMG_031.jpg", 1},
        {"img_0[0-4]?.*", "img_051.jpg", 0},
        {"*.jpg", "photo.jpeg", 0},
        {"*a*b*c*d*e*f*g*h*", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(MatchFileName(row.name, row.pattern, 1), row.match) << row.pattern << " / " << row.name;
    EXPECT_EQ(MatchFileName("Photo.JPG", "*.jpg", 0), 0);
    EXPECT_EQ(MatchWildcard("*x", "abc", 1), 2);
}
