#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <stdexcept>

#include "engine/Conversions.h"
#include "engine/Stack.h"
#include "platform/Controls.h"
#include "platform/Guard.h"
#include "platform/Messages.h"

namespace {

class GuardTest : public ::testing::Test {
protected:
    void SetUp() override { MessageLog::clear(); }
    void TearDown() override { MessageLog::setHeadless(true); }
};

TEST_F(GuardTest, EveryKindOfFailureIsReportedWithItsMessage)
{
    Guard::run([] { throw ExceptionError("Stack is Empty"); });
    Guard::run([] { StrToFloat("abc"); });
    Guard::run([] { throw std::runtime_error("disk full"); });
    Guard::run([] { throw 42; });
    Guard::run([] {});
    const auto& shown = MessageLog::shown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_TRUE(shown[0].error);
    EXPECT_EQ(shown[0].text, "Stack is Empty");
    EXPECT_EQ(shown[1].text, "'abc' is not a valid floating point value");
    EXPECT_EQ(shown[2].text, "disk full");
    EXPECT_EQ(shown[3].text, "Unknown failure");
}

TEST_F(GuardTest, NestedChangeHandlerFailureEndsItsCallerAndIsReportedOnce)
{
    QLineEdit field;
    int nestedRuns = 0;
    OnChange(&field, [&nestedRuns] {
        ++nestedRuns;
        throw ExceptionError(" Not enought memery");
    });
    bool callerWentOn = false;
    Guard::run([&] {
        SetText(&field, "new text");
        callerWentOn = true;
    });
    EXPECT_EQ(nestedRuns, 1);
    EXPECT_FALSE(callerWentOn);
    ASSERT_EQ(MessageLog::shown().size(), 1u);
    EXPECT_EQ(MessageLog::shown()[0].text, " Not enought memery");

    // Writing the same text again changes nothing and runs nothing.
    Guard::run([&] { SetText(&field, "new text"); });
    EXPECT_EQ(nestedRuns, 1);
    EXPECT_EQ(MessageLog::shown().size(), 1u);
}

TEST_F(GuardTest, FailuresInsideANestedEventLoopAreReportedAtOnce)
{
    std::size_t seenInside = 0;
    Guard::run([&] {
        Guard::NestedLoop loop; // as while a modal window runs
        Guard::run([] { throw ExceptionError("Stack is Empty"); });
        seenInside = MessageLog::shown().size();
    });
    EXPECT_EQ(seenInside, 1u);
    EXPECT_EQ(MessageLog::shown().size(), 1u);
}

TEST_F(GuardTest, AFailureEscapingAnEventIsCaughtBeforeQt)
{
    class Throwing : public QObject {
    public:
        bool event(QEvent* e) override
        {
            if (e->type() == QEvent::User)
                throw std::runtime_error("escaped");
            return QObject::event(e);
        }
    } target;
    QEvent event(QEvent::User);
    QApplication::sendEvent(&target, &event);
    ASSERT_EQ(MessageLog::shown().size(), 1u);
    EXPECT_EQ(MessageLog::shown()[0].text, "escaped");
}

// The real box: found on screen, read and closed as a user would.
TEST_F(GuardTest, ShowMessageOpensARealModalBox)
{
    MessageLog::setHeadless(false);
    QString seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    ShowMessage("A Expressão não é Valida");
    poll.stop();
    EXPECT_EQ(seen, QString::fromUtf8("A Expressão não é Valida"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
