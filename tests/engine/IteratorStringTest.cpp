#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/IteratorString.h"

namespace {

std::vector<std::string> wordsOf(const std::string& text)
{
    IteratorString it(text);
    std::vector<std::string> words;
    while (it.hasMore()) {
        words.push_back(it.current());
        it.next();
    }
    return words;
}

using Words = std::vector<std::string>;

TEST(IteratorString, SplitsAtEverySingleSpace)
{
    EXPECT_EQ(wordsOf(""), Words{});
    EXPECT_EQ(wordsOf("sqrt"), Words{"sqrt"});
    EXPECT_EQ(wordsOf("2 + "), (Words{"2", "+"}));
    EXPECT_EQ(wordsOf("x  "), (Words{"x", ""}));
    EXPECT_EQ(wordsOf(" 1"), (Words{"", "1"}));
    EXPECT_EQ(wordsOf("1 2 +"), (Words{"1", "2", "+"}));
    EXPECT_EQ(wordsOf("( 1 )  * ( 2 ) "), (Words{"(", "1", ")", "", "*", "(", "2", ")"}));
}

TEST(IteratorString, CurrentDoesNotMoveAndEndsEmpty)
{
    IteratorString empty("");
    EXPECT_EQ(empty.current(), "");
    empty.next();
    EXPECT_FALSE(empty.hasMore());

    IteratorString it("ab cd");
    EXPECT_EQ(it.current(), "ab");
    EXPECT_EQ(it.current(), "ab");
    it.next();
    EXPECT_EQ(it.current(), "cd");
    it.next();
    EXPECT_FALSE(it.hasMore());
    EXPECT_EQ(it.current(), "");
}

TEST(IteratorString, NextWithoutLookingSkipsWords)
{
    IteratorString it("sin ( x )  *");
    it.next();
    it.next();
    EXPECT_EQ(it.current(), "x");
    it.next();
    it.next();
    EXPECT_EQ(it.current(), ""); // the empty word between two spaces
    it.next();
    EXPECT_EQ(it.current(), "*");
    it.next();
    EXPECT_FALSE(it.hasMore());
    it.next(); // at the end, next stays there
    EXPECT_FALSE(it.hasMore());
    EXPECT_EQ(it.current(), "");
}

TEST(IteratorString, OwnsItsCopy)
{
    std::string text = "1 2";
    IteratorString it(text);
    text = "changed";
    EXPECT_EQ(it.current(), "1");
}

} // namespace
