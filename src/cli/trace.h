#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

// The raw trace for support (--trace): every byte on the line, on standard
// error, one line per write or reception:
//   "  0.128 9600,E,8,1 -> F0 CC 0D"   sent
//   "  0.131 9600,E,8,1 <- F0 AA …"    received ("?" stands for 3F, a
//                                      byte the line damaged)
//   "  0.100 9600,E,8,1 open <device>" | "… close"
// Seconds since the program started.
class Trace
{
public:
    explicit Trace(bool on);

    void sent(const QString &settings, const QByteArray &bytes) { line(settings, QStringLiteral("->"), bytes.toHex(' ').toUpper()); }
    void received(const QString &settings, const QByteArray &bytes) { line(settings, QStringLiteral("<-"), bytes.toHex(' ').toUpper()); }
    void note(const QString &settings, const QString &text) { line(settings, text, {}); }

private:
    void line(const QString &settings, const QString &what, const QString &bytes);

    bool m_on;
    QElapsedTimer m_clock;
};
