#pragma once

#include <QString>

enum class MessageIcon { None, Critical };

// Every message of the tool: modal, OK button only. show() returns once the
// user has closed the box; timer ticks and receptions go on meanwhile.
class MessageBox
{
public:
    virtual ~MessageBox() = default;
    virtual void show(const QString &text, const QString &title = {},
                      MessageIcon icon = MessageIcon::None) = 0;
};
