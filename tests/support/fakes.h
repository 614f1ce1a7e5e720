#pragma once

#include "form/formcontext.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <ostream>
#include <set>
#include <vector>

// Failure messages show texts, not UTF-16 code units.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Test doubles for the window's seams. They record what the handlers did and
// let a test act "while a message box is open".

class FakeLink : public SerialLink
{
public:
    void setCommPort(int port) override { m_port = port; }
    CommError setSettings(const QString &s) override
    {
        if (m_open)
            return CommError::PortAlreadyOpen;
        settingsText = s;
        return CommError::None;
    }
    QString settings() const override { return settingsText; }
    void setDTREnable(bool) override {}
    void setRTSEnable(bool) override {}
    bool portOpen() const override { return m_open; }
    CommError setPortOpen(bool open) override
    {
        if (open && (m_open || failingPorts.count(m_port)))
            return CommError::OpenFailed;
        m_open = open;
        if (open)
            opens.push_back(QStringLiteral("COM%1 %2").arg(m_port).arg(settingsText));
        return CommError::None;
    }
    CommError output(const QByteArray &bytes) override
    {
        if (!m_open)
            return CommError::PortNotOpen;
        written.push_back(bytes.toHex(' ').toUpper());
        return CommError::None;
    }
    QByteArray input() override { return std::exchange(m_waiting, {}); }

    // Bytes arrive from the line: queue them and raise the receive event.
    void deliver(const QByteArray &hex)
    {
        m_waiting += QByteArray::fromHex(hex);
        emit onComm();
    }

    std::set<int> failingPorts;
    QStringList opens;   // "COM1 4800,N,8,1"
    QStringList written; // "F0 CC 0D"
    QString settingsText = QStringLiteral("9600,N,8,1");

private:
    int m_port = 1;
    bool m_open = false;
    QByteArray m_waiting;
};

class FakeTimer : public Timer
{
public:
    void setEnabled(bool e) override { enabled = e; }
    // One tick, as the window would deliver it while the timer runs.
    void fire()
    {
        if (enabled && onTimer)
            onTimer();
    }
    bool enabled = false;
};

class FakeMessageBox : public MessageBox
{
public:
    void show(const QString &text, const QString &title, MessageIcon icon) override
    {
        shown << (title.isEmpty() ? text : title + QLatin1Char('|') + text);
        icons.push_back(icon);
        // Runs once, while this box is open; boxes it opens close at once.
        if (auto during = std::exchange(whileOpen, nullptr))
            during();
    }

    QStringList shown; // "text", or "title|text"
    std::vector<MessageIcon> icons;
    std::function<void()> whileOpen;
};

class FakeControls : public Controls
{
public:
    int listIndex(ListControl l) const override { return lists[int(l)]; }
    void setListIndex(ListControl l, int index) override { lists[int(l)] = index; }
    QString listText(ListControl l) const override
    {
        return l == ListControl::Combo4 && lists[3] >= 0 ? QStringLiteral("COM%1").arg(lists[3] + 1)
                                                         : QString();
    }
    QString text(TextControl b) const override { return texts[int(b)]; }
    void setText(TextControl b, const QString &t) override { texts[int(b)] = t; }
    void setRequestButtonsEnabled(bool e) override { buttons = e; }
    void setLamp(Lamp l) override { lamp = l; }

    std::array<int, 4> lists{-1, -1, -1, -1};
    std::array<QString, 7> texts{QStringLiteral("100000"), QStringLiteral("100000")};
    bool buttons = false;
    Lamp lamp = Lamp::Red;
};

// The window's shared state over fakes of every seam, for driving handlers
// without a window.
struct FakeForm {
    FormState state;
    FakeControls controls;
    FakeLink link;
    FakeTimer timer1;
    FakeTimer timer2;
    FakeMessageBox boxes;
    FormContext form{state, controls, link, timer1, timer2, boxes};
};
