#include <gtest/gtest.h>

#include <string>

#include "engine/Stack.h"

namespace {

template <typename T> std::string emptyMessage(Stack<T>& stack, bool usePop)
{
    try {
        if (usePop)
            stack.pop();
        else
            stack.top();
    } catch (const ExceptionError& e) {
        return e.message;
    }
    return "no exception";
}

TEST(Stack, GrowsByDoublingAndKeepsOrder)
{
    Stack<int> s(10);
    for (int i = 0; i < 10; ++i)
        s.push(i);
    EXPECT_EQ(s.allocated(), 10);
    s.push(10);
    EXPECT_EQ(s.allocated(), 20);
    for (int i = 10; i >= 0; --i)
        EXPECT_EQ(s.pop(), i);
    EXPECT_TRUE(s.isEmpty());

    Stack<double> t(10);
    for (int i = 0; i < 21; ++i)
        t.push(i);
    EXPECT_EQ(t.allocated(), 40);
}

TEST(Stack, EmptyStackThrowsAndStaysUsable)
{
    Stack<std::string> s(10);
    EXPECT_EQ(emptyMessage(s, true), "Stack is Empty");
    EXPECT_EQ(emptyMessage(s, false), "Stack is Empty");
    EXPECT_EQ(s.size(), 0);
    s.push("a");
    s.push("b");
    s.push("c");
    EXPECT_EQ(s.top(), "c");
    EXPECT_EQ(s.top(), "c");
    EXPECT_EQ(s.size(), 3);
    EXPECT_EQ(s.pop(), "c");
    EXPECT_EQ(s.pop(), "b");
    EXPECT_EQ(s.pop(), "a");
    EXPECT_EQ(emptyMessage(s, true), "Stack is Empty");
}

TEST(Stack, PeekSeesTheTopWithoutTakingIt)
{
    Stack<std::string> s(10);
    try {
        s.peek();
        FAIL() << "peek on an empty stack";
    } catch (const ExceptionError& e) {
        EXPECT_EQ(e.message, "Stack is Empty");
    }
    s.push("(");
    s.push("sin");
    EXPECT_EQ(s.peek(), "sin");
    EXPECT_EQ(s.peek(), s.top());
    EXPECT_EQ(s.size(), 2);
}

TEST(Stack, AssignmentCopiesElementsWithTightCapacity)
{
    Stack<std::string> source(10);
    source.push("1");
    source.push("2");
    source.push("3");
    Stack<std::string> target(10);
    target.push("old");
    target = source;
    EXPECT_EQ(target.allocated(), 3);
    target.push("4");
    EXPECT_EQ(target.allocated(), 6);
    EXPECT_EQ(target.pop(), "4");
    EXPECT_EQ(target.pop(), "3");
    EXPECT_EQ(source.size(), 3); // the source is untouched

    Stack<std::string>& same = source;
    source = same;
    EXPECT_EQ(source.size(), 3);
    EXPECT_EQ(source.allocated(), 10);
}

TEST(Stack, PushAfterAssignmentFromEmptyStackHasRoom)
{
    Stack<char> empty(10);
    Stack<char> s(10);
    s.push('x');
    s = empty;
    EXPECT_EQ(s.allocated(), 0);
    s.push('(');
    s.push('[');
    EXPECT_GE(s.allocated(), 2);
    EXPECT_EQ(s.pop(), '[');
    EXPECT_EQ(s.pop(), '(');
}

TEST(Stack, FailedAllocationsBecomeExceptionErrors)
{
    try {
        Stack<double> impossible(-1);
        FAIL() << "a stack with a negative capacity came into being";
    } catch (const ExceptionError& e) {
        EXPECT_EQ(e.message, " Not enought memory");
    }
}

} // namespace
