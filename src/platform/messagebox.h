#pragma once

#include <QString>

class QWidget;

enum class MessageIcon { None, Critical };

// Every message of the tool: modal, OK button only. show() returns once the
// user has closed the box; timer ticks and receptions go on meanwhile.
class MessageBox
{
public:
    virtual ~MessageBox() = default;
    virtual void show(const QString &text, const QString &title = {},
                      MessageIcon icon = MessageIcon::None) = 0;
    // The window the boxes belong to, once it exists: they open centred
    // over it, on its screen.
    virtual void setParentWindow(QWidget *) {}
};
