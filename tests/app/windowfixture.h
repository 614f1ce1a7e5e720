#pragma once

#include "fakes.h"
#include "form1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

// A Form1 over fakes, with handles on every fake.
class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Form1Seams seams;
        seams.MSComm1.reset(link_ = new FakeLink);
        seams.Timer1.reset(timer1 = new FakeTimer);
        seams.Timer2.reset(timer2 = new FakeTimer);
        seams.messages.reset(messages = new FakeMessageBox);
        seams.openUrl = [](const QUrl &) { return true; }; // never a real browser
        beforeCreate(seams);
        form = std::make_unique<Form1>(std::move(seams));
    }

    virtual void beforeCreate(Form1Seams &) {}

    template <typename T> T *child(const char *name) const
    {
        return form->findChild<T *>(QString::fromUtf8(name));
    }

    QString boxText(const char *name) const { return child<QLineEdit>(name)->text(); }

    static QByteArray hex(const char *h) { return QByteArray::fromHex(h); }

    FakeLink *link_ = nullptr;
    FakeTimer *timer1 = nullptr;
    FakeTimer *timer2 = nullptr;
    FakeMessageBox *messages = nullptr;
    std::unique_ptr<Form1> form;
};
