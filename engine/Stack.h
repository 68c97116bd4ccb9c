#pragma once

#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <utility>

// The engine's only exception; stack operations are its only source.
class ExceptionError {
public:
    explicit ExceptionError(const char* text) : message(text) {}

    std::string message;
};

// Throws ExceptionError(message). Kept out of line so that the stack's
// operations stay small enough to be inlined where they are hot.
[[noreturn]] void throwStackError(const char* message);

// Last-in-first-out container backed by one array that doubles when full.
// Every failure is reported as an ExceptionError with a fixed message.
template <typename T> class Stack {
public:
    explicit Stack(std::int32_t initialCapacity = 10);
    Stack(const Stack&) = delete;
    virtual ~Stack();

    virtual void push(const T& value);
    virtual T pop();
    virtual T top();
    virtual bool isEmpty();
    virtual Stack& operator=(const Stack& other);
    virtual void grow();
    virtual bool isFull();

    // What top() returns, without the copy: for loops that only look.
    const T& peek() const
    {
        if (count == 0)
            throwStackError("Stack is Empty");
        return items[count - 1];
    }

    std::int32_t size() const { return count; }
    std::int32_t allocated() const { return capacity; }

private:
    static T* allocate(std::int32_t n, const char* failure);

    T* items = nullptr;
    std::int32_t count = 0;
    std::int32_t capacity = 0;
};

template <typename T> T* Stack<T>::allocate(std::int32_t n, const char* failure)
{
    if (n < 0)
        throwStackError(failure);
    try {
        return new T[static_cast<std::size_t>(n)];
    } catch (const std::bad_alloc&) {
        throwStackError(failure);
    }
}

template <typename T>
Stack<T>::Stack(std::int32_t initialCapacity)
    : items(allocate(initialCapacity, " Not enought memory")), capacity(initialCapacity)
{
}

template <typename T> Stack<T>::~Stack()
{
    delete[] items;
}

template <typename T> void Stack<T>::push(const T& value)
{
    if (isFull())
        grow();
    items[count] = value;
    ++count;
}

template <typename T> T Stack<T>::pop()
{
    if (isEmpty())
        throwStackError("Stack is Empty");
    --count;
    return std::move(items[count]);
}

template <typename T> T Stack<T>::top()
{
    if (isEmpty())
        throwStackError("Stack is Empty");
    return items[count - 1];
}

template <typename T> bool Stack<T>::isEmpty()
{
    return count == 0;
}

template <typename T> bool Stack<T>::isFull()
{
    return count == capacity;
}

template <typename T> void Stack<T>::grow()
{
    const char* failure = " Not enought memery";
    if (capacity > std::numeric_limits<std::int32_t>::max() / 2)
        throwStackError(failure);
    // An assignment from an empty stack leaves no slots; doubling 0 would never make room.
    const std::int32_t grown = capacity == 0 ? 1 : capacity * 2;
    T* fresh = allocate(grown, failure);
    try {
        for (std::int32_t i = 0; i < count; ++i)
            fresh[i] = std::move(items[i]);
    } catch (const std::bad_alloc&) {
        delete[] fresh;
        throwStackError(failure);
    }
    delete[] items;
    items = fresh;
    capacity = grown;
}

template <typename T> Stack<T>& Stack<T>::operator=(const Stack& other)
{
    if (&other == this)
        return *this;
    // Build the copy first so a failed allocation leaves this stack as it was.
    const char* failure = " Not enought memory";
    T* fresh = allocate(other.count, failure);
    try {
        for (std::int32_t i = 0; i < other.count; ++i)
            fresh[i] = other.items[i];
    } catch (const std::bad_alloc&) {
        delete[] fresh;
        throwStackError(failure);
    }
    delete[] items;
    items = fresh;
    count = other.count;
    capacity = other.count;
    return *this;
}
