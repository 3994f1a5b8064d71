#include "shared/okdialog.h"

#include "platform/controls.h"
#include "platform/fonts.h"
#include "platform/modalrunner.h"
#include "platform/services.h"
#include "platform/twips.h"
#include "shared/callkey.h"
#include "shared/palette.h"
#include "shared/sharedstate.h"

#include <QFontMetrics>
#include <cmath>

namespace {

constexpr int Width = 11775, Height = 4545;                        // twips
constexpr int LabelLeft = 240, LabelTop = 120, LabelWidth = 11385; // twips
constexpr int LabelHeight = 1965, ButtonsBelowLabel = 195;         // twips
constexpr int LongestLabel = 7200;                                 // twips
constexpr double LargestPoints = 48, SmallestPoints = 18;
constexpr int CallColumn = 1200, CallKeyWidth = 915; // twips

// A path may break after each separator, so a long folder wraps instead of running out.
QString breakablePaths(QString text)
{
    text.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
    return text;
}

} // namespace

OkDialog::OkDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOK"));
    setWindowTitle(QStringLiteral("問い合わせ？"));
    setBackground(this, Palette::Window);
    Twips::sizeDialog(this, parent, Width, Height);

    lblOK = new ColorLabel(QStringLiteral("Label1"), this);
    lblOK->setObjectName(QStringLiteral("lblOK"));
    lblOK->setBackColor(Palette::Window);
    lblOK->setWordWrap(true);
    Fonts::set(lblOK, Fonts::ProportionalGothic, LargestPoints, true);
    Twips::setRect(lblOK, LabelLeft, LabelTop, LabelWidth, LabelHeight);

    const struct
    {
        const char *caption;
        int left;
        quint32 back;
    } standing[] = {{"OK", 300, Palette::PaleBlue}, {"キャンセル", 6720, Palette::PaleRed}};
    for (int i = 0; i < 2; ++i) {
        auto *b = makeButton(this, "cmdOK", QString::fromUtf8(standing[i].caption),
                             {standing[i].left, 2280, 4845, 2175}, standing[i].back, 48, true, i);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdOK_Click(i); });
        cmdOK[size_t(i)] = b;
    }
}

void OkDialog::addCallKey(const std::function<void()> &call)
{
    m_callColumn = CallColumn;
    MakeCallKey(this, {Width + CallColumn - CallKeyWidth - 195, LabelTop, CallKeyWidth, LabelHeight}, call);
    fitPrompt();
}

void OkDialog::configure(const QString &prompt, int kind, const QString &title)
{
    m_answer = false;
    switch (kind) {
    case Notice:
        cmdOK[1]->hide();
        Twips::setLeft(cmdOK[0], 3500);
        break;
    case YesNo:
        cmdOK[1]->setText(QStringLiteral("ＮＯ"));
        cmdOK[1]->show();
        cmdOK[0]->setText(QStringLiteral("ＹＥＳ"));
        Twips::setLeft(cmdOK[0], 300);
        break;
    case OkCancel:
        cmdOK[1]->setText(QStringLiteral("キャンセル"));
        cmdOK[1]->show();
        cmdOK[0]->setText(QStringLiteral("ＯＫ"));
        Twips::setLeft(cmdOK[0], 300);
        break;
    default:
        break;
    }
    setWindowTitle(title);
    lblOK->setText(breakablePaths(prompt));
    fitPrompt();
}

void OkDialog::fitPrompt()
{
    // A long prompt is shown whole: in smaller type down to a floor, and in a taller dialog.
    const double scale = Twips::scaleOf(this);
    const int width = Twips::toPixels(LabelWidth, scale);
    int needed = 0;
    for (double points = LargestPoints; points >= SmallestPoints; points -= 3) {
        Fonts::set(lblOK, Fonts::ProportionalGothic, points, true);
        const QRect bounds = QFontMetrics(lblOK->font())
                                 .boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, lblOK->text());
        needed = int(std::ceil(Twips::toTwips(bounds.height(), scale))) + 60;
        if (needed <= LongestLabel)
            break;
    }
    const int label = std::max(LabelHeight, needed);
    Twips::setRect(lblOK, LabelLeft, LabelTop, LabelWidth, label);
    const int buttonsTop = LabelTop + label + ButtonsBelowLabel;
    for (ColorButton *b : cmdOK)
        Twips::setRect(b, Twips::rect(b).left(), buttonsTop, Twips::rect(b).width(), Twips::rect(b).height());
    Twips::sizeDialog(this, parentWidget(), Width + m_callColumn, Height + (label - LabelHeight));
}

void OkDialog::cmdOK_Click(int index)
{
    m_answer = index == 0;
    accept();
}

bool ShowOKDialog(SharedState &shared, const QString &prompt, int kind, const QString &title)
{
    ScreenPointer::setDefault();
    shared.state.setOkAnswer(false);
    // A fresh dialog every time, so no setting of an earlier call carries over.
    OkDialog dialog(shared.dialogParent);
    if (shared.callForHelp)
        dialog.addCallKey(shared.callForHelp);
    dialog.configure(prompt, kind, title);
    shared.sv.modal->run(dialog);
    shared.state.setOkAnswer(dialog.answer());
    return shared.state.okAnswer();
}
