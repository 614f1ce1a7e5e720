#pragma once

#include "controls.h"
#include "messagebox.h"
#include "seriallink.h"
#include "timer.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <set>
#include <vector>

// Test doubles for the window's seams. They record what the handlers did and
// let a test act "while a message box is open".

class FakeLink : public SerialLink
{
public:
    struct Open {
        int port;
        QString settings;
    };

    void setCommPort(int port) override { m_port = port; }
    int commPort() const override { return m_port; }
    CommError setSettings(const QString &s) override
    {
        if (m_open)
            return CommError::PortAlreadyOpen;
        m_settings = s;
        return CommError::None;
    }
    QString settings() const override { return m_settings; }
    void setDTREnable(bool e) override { dtr = e; }
    void setRTSEnable(bool e) override { rts = e; }
    void setInputLen(int n) override { inputLen = n; }
    bool portOpen() const override { return m_open; }
    CommError setPortOpen(bool open) override
    {
        if (!open) {
            if (m_open)
                ++closes;
            m_open = false;
            return CommError::None;
        }
        if (m_open)
            return CommError::PortAlreadyOpen;
        if (failingPorts.count(m_port))
            return CommError::OpenFailed;
        m_open = true;
        opens.push_back({m_port, m_settings});
        return CommError::None;
    }
    CommError output(const QByteArray &bytes) override
    {
        if (!m_open)
            return CommError::PortNotOpen;
        written.push_back(bytes);
        return CommError::None;
    }
    QByteArray input() override
    {
        QByteArray b = m_waiting;
        m_waiting.clear();
        return b;
    }
    int commEvent() const override { return comEvReceive; }

    // Bytes arrive from the line: queue them and raise the receive event.
    void deliver(const QByteArray &bytes)
    {
        m_waiting += bytes;
        emit onComm();
    }

    std::set<int> failingPorts;
    std::vector<Open> opens;
    QList<QByteArray> written;
    int closes = 0;
    bool dtr = false;
    bool rts = false;
    int inputLen = -1;

private:
    int m_port = 1;
    QString m_settings = QStringLiteral("9600,N,8,1");
    bool m_open = false;
    QByteArray m_waiting;
};

class FakeTimer : public Timer
{
public:
    void setEnabled(bool e) override { m_enabled = e; }
    bool isEnabled() const override { return m_enabled; }
    int interval() const override { return 500; }

    // One tick, as the window would deliver it while the timer runs.
    void fire()
    {
        if (m_enabled && onTimer)
            onTimer();
    }

private:
    bool m_enabled = false;
};

class FakeMessageBox : public MessageBox
{
public:
    struct Shown {
        QString text;
        QString title;
        MessageIcon icon;
    };

    void show(const QString &text, const QString &title, MessageIcon icon) override
    {
        shown.push_back({text, title, icon});
        if (whileOpen) {
            // A box opened from inside whileOpen is closed at once.
            auto during = std::move(whileOpen);
            whileOpen = nullptr;
            during();
        }
    }

    QStringList texts() const
    {
        QStringList t;
        for (const auto &s : shown)
            t << s.text;
        return t;
    }

    std::vector<Shown> shown;
    // Runs once, while the next box is open.
    std::function<void()> whileOpen;
};

class FakeControls : public Controls
{
public:
    FakeControls() { texts[0] = texts[1] = QStringLiteral("100000"); }

    int listIndex(ListControl l) const override { return lists[int(l)]; }
    void setListIndex(ListControl l, int index) override { lists[int(l)] = index; }
    QString listText(ListControl l) const override
    {
        return l == ListControl::Combo4 && lists[3] >= 0
                   ? QStringLiteral("COM%1").arg(lists[3] + 1)
                   : QString();
    }
    QString text(TextControl b) const override { return texts[int(b)]; }
    void setText(TextControl b, const QString &t) override { texts[int(b)] = t; }
    void setRequestButtonsEnabled(bool e) override { buttons = e; }
    bool requestButtonsEnabled() const override { return buttons; }
    void setLamp(Lamp l) override
    {
        m_lamp = l;
        lamps.push_back(l);
    }
    Lamp lamp() const override { return m_lamp; }

    std::array<int, 4> lists{-1, -1, -1, -1};
    std::array<QString, 7> texts;
    bool buttons = false;
    std::vector<Lamp> lamps;

private:
    Lamp m_lamp = Lamp::Red;
};
