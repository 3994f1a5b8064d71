#pragma once

#include <QObject>

class QWidget;

// Whether a control is covered: another control shown in front of it, in its
// window, lies over its middle (the selection screen or the widened text area
// over the board, a list in the board's place), or it lies beyond the edge of
// the frame that holds it (the copy keys below the normal text area). A control that lets presses
// through, such as the highlight frame, covers nothing. The one answer that
// scanning and assistive tools both go by.
bool IsCovered(const QWidget *widget);

// Watches a window's controls and tells each grid in it when it has just been
// covered or shown again, so that assistive tools hear of it.
class CoverWatch final : public QObject
{
    Q_OBJECT
public:
    explicit CoverWatch(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void check();

    QWidget *m_window;
};
