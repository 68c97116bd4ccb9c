#include "engine/Stack.h"

void throwStackError(const char* message)
{
    throw ExceptionError(message);
}
