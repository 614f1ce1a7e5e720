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
        auto link = std::make_unique<FakeLink>();
        auto t1 = std::make_unique<FakeTimer>();
        auto t2 = std::make_unique<FakeTimer>();
        auto boxes = std::make_unique<FakeMessageBox>();
        link_ = link.get();
        timer1 = t1.get();
        timer2 = t2.get();
        messages = boxes.get();
        seams.MSComm1 = std::move(link);
        seams.Timer1 = std::move(t1);
        seams.Timer2 = std::move(t2);
        seams.messages = std::move(boxes);
        seams.openUrl = [this](const QUrl &url) {
            opened.push_back(url);
            return true;
        };
        beforeCreate(seams);
        form = std::make_unique<Form1>(std::move(seams));
    }

    virtual void beforeCreate(Form1Seams &) {}

    template <typename T> T *child(const char *name) const
    {
        return form->findChild<T *>(QString::fromUtf8(name));
    }

    QString boxText(const char *name) const { return child<QLineEdit>(name)->text(); }

    static QByteArray bytes(std::initializer_list<int> values)
    {
        QByteArray b;
        for (int v : values)
            b.append(char(v));
        return b;
    }

    FakeLink *link_ = nullptr;
    FakeTimer *timer1 = nullptr;
    FakeTimer *timer2 = nullptr;
    FakeMessageBox *messages = nullptr;
    std::vector<QUrl> opened;
    std::unique_ptr<Form1> form;
};
