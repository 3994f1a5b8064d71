#pragma once

#include <QObject>

class Grid;
class QWidget;

// Marks a grid as covered while another control that lies over it shows, so
// assistive tools do not report the hidden grid as showing.
class CoverWatch final : public QObject
{
    Q_OBJECT
public:
    CoverWatch(QWidget *cover, Grid *covered);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Grid *m_covered;
};
