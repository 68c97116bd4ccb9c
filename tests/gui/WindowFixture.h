#pragma once

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <memory>
#include <string>

#include "calculator/untCalc.h"
#include "graph/Graf.h"
#include "platform/Messages.h"

// Fresh windows for every test, in a fresh working directory.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        previousDirectory = QDir::currentPath();
        QDir::setCurrent(folder.path());
        calculator = std::make_unique<TForm1>();
        graph = std::make_unique<TForm2>();
        Form1 = calculator.get();
        Form2 = graph.get();
        MessageLog::clear();
    }

    void TearDown() override
    {
        graph.reset();
        calculator.reset();
        Form1 = nullptr;
        Form2 = nullptr;
        QDir::setCurrent(previousDirectory);
    }

    void click(int number) { QTest::mouseClick(calculator->button(number), Qt::LeftButton); }

    void type(const char* text) { QTest::keyClicks(calculator->Edit1, QString::fromUtf8(text)); }

    static std::string text(const QLineEdit* field) { return field->text().toStdString(); }

    // The texts of the boxes shown since the test began, one per line.
    static std::string messages()
    {
        std::string all;
        for (const auto& entry : MessageLog::shown())
            all += (entry.error ? "error: " : "") + entry.text + "\n";
        return all;
    }

    QTemporaryDir folder;
    QString previousDirectory;
    std::unique_ptr<TForm1> calculator;
    std::unique_ptr<TForm2> graph;
};
