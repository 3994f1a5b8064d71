#pragma once

#include "access/writingrecord.h"

#include <QDialog>
#include <functional>

class ColorButton;
class QLabel;
class SettingsStore;
class QChartView;

// "記録": how fast the user writes, per day for the last 30 days, as a chart
// and today's figures in words: characters per minute, scan steps or dwell
// presses per character, and corrections per character. Counts only. "記録を
// 消す" asks once more, then forgets every day.
class RecordDialog final : public QDialog
{
    Q_OBJECT
public:
    // With `call`, the call being on, a call key stands in a column added on the right.
    RecordDialog(SettingsStore &store, QDate today, QWidget *parent, const std::function<void()> &call = {});

    QLabel *lblToday;
    QChartView *chart;
    ColorButton *cmdClear;
    ColorButton *cmdClose;

    // The figures of one day in words, as the dialog shows them.
    static QString describe(const WritingRecord::Day &d);

private:
    void fillChart();
    // The line above the chart, given the room its words need (a reason can run to four lines).
    void showToday(const QString &text);
    void clearPressed();

    SettingsStore &m_store;
    QDate m_today;
    WritingRecord m_record;
    bool m_confirming = false;
};
