#pragma once

#include <QString>

#include <functional>

// Data for scripts goes to standard output, everything said to the user to
// standard error, both flushed at once (see writeText for the encoding).
void printData(const QString &text);
void printMessage(const QString &text);

// Where detection stands: on a terminal one line rewritten in place, to a
// file or pipe a line per step.
class Progress
{
public:
    // How a line rewritten in place loses the rest of a longer old one.
    enum class Erase { Escape, Spaces };
    using Writer = std::function<void(const QString &)>;

    // On standard error, erasing as that terminal can.
    explicit Progress(bool inPlace);
    Progress(bool inPlace, Erase erase, Writer write);
    ~Progress() { clear(); }

    void show(const QString &text);
    // Takes a line rewritten in place off the screen.
    void clear();

private:
    bool m_inPlace;
    Erase m_erase;
    Writer m_write;
    bool m_showing = false;
    int m_columns = 0;
};
