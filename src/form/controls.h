#pragma once

#include <QString>

enum class Lamp { Green = 1, Yellow = 2, Red = 3 };
enum class ListControl { Combo1, Combo2, Combo3, Combo4 };
enum class TextControl { Text1, Text2, Text3, Text4, Text5, Text6, Text7 };

// The main window's controls as the handlers read and set them.
class Controls
{
public:
    virtual ~Controls() = default;
    virtual int listIndex(ListControl list) const = 0;
    // Setting a new index raises the list's click handler, as a pick does.
    virtual void setListIndex(ListControl list, int index) = 0;
    virtual QString listText(ListControl list) const = 0;
    virtual QString text(TextControl box) const = 0;
    virtual void setText(TextControl box, const QString &text) = 0;
    // Command1, Command2 and Command3 always change together.
    virtual void setRequestButtonsEnabled(bool enabled) = 0;
    virtual void setLamp(Lamp lamp) = 0;
};
