#include "access/recorddialog.h"

#include "platform/controls.h"
#include "platform/settingsstore.h"
#include "platform/twips.h"
#include "shared/callkey.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

namespace {

constexpr quint32 Back = 0xFFE0C0;
constexpr double Points = 18;
constexpr int Width = 15270, Height = 11115, CallColumn = 1440;
constexpr int Gap = 120, LineHeight = 900; // the line above the chart, when it is one line

} // namespace

RecordDialog::RecordDialog(SettingsStore &store, QDate today, QWidget *parent,
                           const std::function<void()> &call)
    : QDialog(parent), m_store(store), m_today(today)
{
    setObjectName(QStringLiteral("frmRecord"));
    setWindowTitle(QStringLiteral("記録"));
    setAccessibleName(windowTitle());
    setBackground(this, Back);
    Twips::sizeDialog(this, parent, Width + (call ? CallColumn : 0), Height);
    if (call)
        MakeCallKey(this, {Width + CallColumn - 1260, 120, 1140, Height - 240}, call);
    m_record.load(store, today);

    lblToday = new QLabel(this);
    styleDialogControl(lblToday, "lblToday", {240, Gap, Width - 480, LineHeight}, Back, Points);
    lblToday->setWordWrap(true);
    chart = new QChartView(this);
    chart->setObjectName(QStringLiteral("chtRecord"));
    chart->setRenderHint(QPainter::Antialiasing);
    chart->setAccessibleName(QStringLiteral("この30日の記録のグラフ"));
    Twips::setRect(chart, 240, 1140, Width - 480, Height - 1140 - 1800);

    cmdClear = makeButton(this, "cmdRecordClear", QStringLiteral("記録を消す"),
                          {3000, Height - 1500, 4200, 1200}, 0xC0C0FF, 24, true);
    cmdClose = makeButton(this, "cmdRecordClose", QStringLiteral("閉じる"), {8400, Height - 1500, 4200, 1200},
                          0xFFC0C0, 24, true);
    connect(cmdClear, &QPushButton::clicked, this, &RecordDialog::clearPressed);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    fillChart();
}

QString RecordDialog::describe(const WritingRecord::Day &d)
{
    if (d.characters == 0)
        return QStringLiteral("まだ書いた記録がありません");
    QString s = QStringLiteral("1分に %1 文字").arg(d.charactersPerMinute(), 0, 'f', 1);
    if (d.steps > 0)
        s += QStringLiteral("・1文字に %1 ステップ").arg(d.stepsPerCharacter(), 0, 'f', 1);
    if (d.dwellPresses > 0)
        s += QStringLiteral("・1文字に %1 回止める").arg(d.dwellPressesPerCharacter(), 0, 'f', 1);
    s += QStringLiteral("・直し 1文字に %1 回").arg(d.correctionsPerCharacter(), 0, 'f', 2);
    return s;
}

void RecordDialog::fillChart()
{
    showToday(QStringLiteral("今日：") + describe(m_record.dayOf(m_today)));

    auto *c = new QChart;
    c->setBackgroundBrush(QColor(0xC0, 0xE0, 0xFF));
    // A measure of a way of pressing not used that day (steps for a dwell user) has no point, rather
    // than a 0 that reads as "no presses needed". The corrections, a tenth or so a character, have an
    // axis of their own, or they would lie flat along the bottom.
    using Day = WritingRecord::Day;
    const auto always = [](const Day &) { return true; };
    const struct
    {
        const char *name;
        double (Day::*value)() const;
        bool (*applies)(const Day &);
        bool ownAxis;
    } lines[] = {
        {"1分の文字数", &Day::charactersPerMinute, always, false},
        {"1文字のステップ", &Day::stepsPerCharacter, [](const Day &d) { return d.steps > 0; }, false},
        {"1文字の止める回数", &Day::dwellPressesPerCharacter, [](const Day &d) { return d.dwellPresses > 0; },
         false},
        {"1文字の直し（右の目盛り）", &Day::correctionsPerCharacter, always, true}};
    auto *x = new QValueAxis;
    x->setRange(-(WritingRecord::Days - 1), 0);
    x->setLabelFormat(QStringLiteral("%d"));
    x->setTitleText(QStringLiteral("日（0 が今日）"));
    auto *y = new QValueAxis;
    auto *yCorrections = new QValueAxis;
    c->addAxis(x, Qt::AlignBottom);
    c->addAxis(y, Qt::AlignLeft);
    c->addAxis(yCorrections, Qt::AlignRight);
    double top = 1, topCorrections = 0.1;
    for (const auto &line : lines) {
        auto *series = new QLineSeries;
        series->setName(QString::fromUtf8(line.name));
        for (int i = WritingRecord::Days - 1; i >= 0; --i) {
            const WritingRecord::Day d = m_record.dayOf(m_today.addDays(-i));
            if (d.characters > 0 && line.applies(d)) {
                const double v = (d.*line.value)();
                series->append(-i, v);
                double &highest = line.ownAxis ? topCorrections : top;
                highest = std::max(highest, v);
            }
        }
        series->setPointsVisible(true);
        c->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(line.ownAxis ? yCorrections : y);
        if (line.ownAxis)
            yCorrections->setLabelsColor(series->color()); // which line the scale is for
    }
    y->setRange(0, top * 1.1);
    yCorrections->setRange(0, topCorrections * 1.1);
    c->legend()->setAlignment(Qt::AlignBottom);
    for (QAbstractSeries *series : c->series()) // a way of pressing never used these 30 days is not listed
        for (QLegendMarker *marker : c->legend()->markers(series))
            marker->setVisible(static_cast<QLineSeries *>(series)->count() > 0);
    chart->setChart(c); // the view owns the chart, and lets the last one go
    QStringList described;
    for (int i = WritingRecord::Days - 1; i >= 0; --i)
        if (const WritingRecord::Day d = m_record.dayOf(m_today.addDays(-i)); d.characters > 0)
            described << m_today.addDays(-i).toString(QStringLiteral("M月d日：")) + describe(d);
    chart->setAccessibleDescription(described.isEmpty() ? QStringLiteral("記録はありません")
                                                        : described.join(u'\n'));
}

void RecordDialog::clearPressed()
{
    // A press by mistake forgets nothing: the button asks once more.
    if (!m_confirming) {
        m_confirming = true;
        cmdClear->setText(QStringLiteral("もう一度押すと消えます"));
        return;
    }
    m_confirming = false;
    cmdClear->setText(QStringLiteral("記録を消す"));
    QString error;
    if (!m_record.clear(m_store, m_today, &error))
        showToday(QStringLiteral("記録を消せませんでした：") + error);
    else
        fillChart();
}

void RecordDialog::showToday(const QString &text)
{
    lblToday->setText(text);
    lblToday->setAccessibleName(text);
    const int needed = int(Twips::toTwips(lblToday->heightForWidth(lblToday->width()), Twips::scaleOf(this)));
    const int height = std::max(LineHeight, needed + Gap);
    Twips::setRect(lblToday, 240, Gap, Width - 480, height);
    const int top = Gap + height + Gap;
    Twips::setRect(chart, 240, top, Width - 480, Height - top - 1800);
}
