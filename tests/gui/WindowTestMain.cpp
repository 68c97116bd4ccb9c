// Widget tests run real windows on Qt's offscreen platform.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Application.h"
#include "platform/Messages.h"

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    TApplication application(argc, argv);
    application.Initialize();
    MessageLog::setHeadless(true);
    return RUN_ALL_TESTS();
}
