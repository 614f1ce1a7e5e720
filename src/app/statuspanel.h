#pragma once

#include <QLabel>

// Panel1 of the status bar: says what the serial link is doing. Empty, it
// keeps its drawn width; with a line to show it stretches across the status
// bar from its left edge, elides what still does not fit and keeps the whole
// line as its tooltip and for screen readers.
class StatusPanel : public QLabel
{
public:
    StatusPanel(int drawnWidth, QWidget *parent);

    void say(const QString &line);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void elide();

    int m_drawnWidth;
    QString m_line;
};
