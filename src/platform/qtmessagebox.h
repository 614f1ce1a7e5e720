#pragma once

#include "platform/messagebox.h"

#include <QIcon>
#include <QPointer>

class QStyle;

// Shows every message of the tool with QMessageBox: modal, "确定" only.
class QtMessageBox : public MessageBox
{
public:
    explicit QtMessageBox(QWidget *parent = nullptr) : m_parent(parent) {}

    void show(const QString &text, const QString &title, MessageIcon icon) override;
    void setParentWindow(QWidget *window) override { m_parent = window; }

private:
    const QIcon &okIcon(const QWidget &box);

    QWidget *m_parent;
    QIcon m_okIcon;
    QPointer<QStyle> m_okIconStyle;
};
