#pragma once

#include <QString>

// Data for scripts goes to standard output, everything said to the user to
// standard error, both as UTF-8 and flushed at once.
void printData(const QString &text);
void printMessage(const QString &text);

// Where detection stands: on a terminal one line rewritten in place, to a
// file or pipe a line per step.
class Progress
{
public:
    explicit Progress(bool inPlace) : m_inPlace(inPlace) {}
    ~Progress() { clear(); }

    void show(const QString &text);
    // Takes a line rewritten in place off the screen.
    void clear();

private:
    bool m_inPlace;
    bool m_showing = false;
};
