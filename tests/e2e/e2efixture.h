#pragma once

#include "form1.h"
#include "messagebox.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

// A message box that stays open for holdMs(text), as a user reading it
// would, with the window's event loop running meanwhile.
class RecordingBox : public MessageBox
{
public:
    struct Shown {
        QString text;
        QString title;
        MessageIcon icon;
        qint64 atMs; // on elapsedMs()'s clock
    };

    RecordingBox() { m_clock.start(); }

    void show(const QString &text, const QString &title, MessageIcon icon) override
    {
        shown.push_back({text, title, icon, m_clock.elapsed()});
        ++openBoxes;
        QEventLoop loop;
        QTimer::singleShot(holdMs(text), &loop, &QEventLoop::quit);
        loop.exec();
        --openBoxes;
    }

    QStringList texts() const
    {
        QStringList t;
        for (const auto &s : shown)
            t << s.text;
        return t;
    }

    qint64 elapsedMs() const { return m_clock.elapsed(); }

    std::function<int(const QString &)> holdMs = [](const QString &) { return 0; };
    std::vector<Shown> shown;
    int openBoxes = 0;

private:
    QElapsedTimer m_clock;
};

// The real window over the real serial link, COMn mapped by links in a
// throwaway configuration folder.
class E2ETest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        QDir().mkpath(portsDir());
    }

    void TearDown() override
    {
        form.reset();
        qunsetenv("XDG_CONFIG_HOME");
    }

    QString portsDir() const { return m_config.path() + QStringLiteral("/radio-setup/ports"); }

    void mapPort(int n, const QString &device)
    {
        const QString link = portsDir() + QStringLiteral("/com%1").arg(n);
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(device, link));
    }

    void createWindow(int tickMs = 500, int failureMs = 500)
    {
        Form1Seams seams = Form1Seams::forDesktop(tickMs);
        seams.Timer2 = Form1Seams::forDesktop(failureMs).Timer2;
        auto box = std::make_unique<RecordingBox>();
        messages = box.get();
        seams.messages = std::move(box);
        seams.openUrl = [](const QUrl &) { return true; };
        form = std::make_unique<Form1>(std::move(seams));
    }

    // Runs the window until done() or the time is up.
    static bool waitFor(const std::function<bool()> &done, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > timeoutMs)
                return false;
            QEventLoop loop;
            QTimer::singleShot(5, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return true;
    }

    static void runFor(int ms) { waitFor([] { return false; }, ms); }

    template <typename T> T *child(const char *name) const
    {
        return form->findChild<T *>(QString::fromUtf8(name));
    }

    QStringList currentValues() const
    {
        QStringList v;
        for (const char *name : {"Text6", "Text7", "Text3", "Text4", "Text5"})
            v << child<QLineEdit>(name)->text();
        return v;
    }

    std::unique_ptr<Form1> form;
    RecordingBox *messages = nullptr;

private:
    QTemporaryDir m_config;
};
