#pragma once

#include <QDialog>

class QIcon;
class QPushButton;

// The About window: product title, emblem, the maker's lines and an OK
// button. It lives only while it is shown.
class Form2 : public QDialog
{
    Q_OBJECT

public:
    explicit Form2(const QIcon &emblem, QWidget *parent = nullptr);

    void Command3_Click();

private:
    QPushButton *Command3 = nullptr;
};

// What the main window's about button does: shows a new Form2 modally for
// the whole application and returns once the user has closed it.
void showAboutWindow(const QIcon &emblem);
