#pragma once

#include "app/artwork.h"
#include "app/form1.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <memory>
#include <optional>

// The window as a user meets it: its controls by name, the five values and
// the lamp as shown, a list picked as a click picks it.
class WindowProbe
{
protected:
    template <typename T = QWidget> T *child(const char *name) const
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

    void pick(const char *list, int index) const
    {
        child<QComboBox>(list)->setCurrentIndex(index);
        emit child<QComboBox>(list)->activated(index);
    }

    // The lamp as drawn, or none before start-up has shown one.
    std::optional<Lamp> lamp() const
    {
        const QImage shown = child<QLabel>("Image1")->pixmap().toImage();
        for (Lamp l : {Lamp::Green, Lamp::Yellow, Lamp::Red}) {
            if (!shown.isNull() && shown == lampPixmap(l).toImage())
                return l;
        }
        return std::nullopt;
    }

    std::unique_ptr<Form1> form;
};
