#include "app/statuspanel.h"

StatusPanel::StatusPanel(int drawnWidth, QWidget *parent)
    : QLabel(parent), m_drawnWidth(drawnWidth)
{
    setTextFormat(Qt::PlainText);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // The width comes from the line shown, never from the text's own length.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setFixedWidth(m_drawnWidth);
}

void StatusPanel::say(const QString &line)
{
    if (line == m_line)
        return;
    m_line = line;
    if (line.isEmpty())
        setFixedWidth(m_drawnWidth);
    else
        setMaximumWidth(QWIDGETSIZE_MAX);
    setToolTip(line);
    // The full line, not the elided one; the change is announced.
    setAccessibleName(line);
    elide();
}

void StatusPanel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    elide();
}

void StatusPanel::elide()
{
    setText(fontMetrics().elidedText(m_line, Qt::ElideRight, contentsRect().width()));
}
