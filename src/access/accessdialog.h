#pragma once

#include "access/accesssettings.h"
#include "access/timingfollower.h"

#include <QDialog>
#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QRadioButton;
class ColorButton;
class SettingsStore;

// "操作方法": how the user reaches the controls — touch and mouse, dwell, one
// switch or two — with the switch keys, the highlight, and the filters for
// shaky hands. "確定" writes the "Access" section; "キャンセル" writes nothing.
class AccessDialog final : public QDialog
{
    Q_OBJECT
public:
    // With `call`, the call being on, a call key stands in a column added on
    // the right, here and in the record's window.
    AccessDialog(SettingsStore &store, QWidget *parent, const std::function<void()> &call = {});

    // The settings as the controls show them.
    AccessSettings shown() const;
    QString saveError() const { return m_saveError; }

    // A number changed in steps by a minus and a plus button.
    struct Stepper
    {
        ColorButton *down;
        QLabel *value;
        ColorButton *up;
        int ms;
        int low;
        int high;
        int step;
        bool zeroIsOff; // below `low` comes "なし"
    };

    std::array<QRadioButton *, 4> optMethod;
    Stepper dwell;
    Stepper scan;
    QCheckBox *chkColumn;
    QCheckBox *chkBlocks;
    QCheckBox *chkPickFirst;
    Stepper longPress;
    ColorButton *cmdSelectKey;
    ColorButton *cmdMoveKey;
    QCheckBox *chkMouse;
    std::array<QRadioButton *, 3> optColor;
    QCheckBox *chkSpeak;
    Stepper ignore;
    Stepper hold;
    Stepper firstRepeat;
    Stepper callHold;
    // The timing that follows the user: on or off, the values it has reached, frozen, or back to the set
    // ones.
    QCheckBox *chkFollow;
    QLabel *lblFollowNow;
    QLabel *lblFollowGrace; // how late after the frame moved on a press still takes the item it left
    QCheckBox *chkFollowFreeze;
    ColorButton *cmdFollowReset;
    // "記録…": how fast the user writes, in a window of its own.
    ColorButton *cmdRecord;
    // How that window is shown; a test puts its own in place of exec().
    std::function<void(QDialog &)> runRecord = [](QDialog &d) { d.exec(); };
    std::array<ColorButton *, 2> cmdOK;

    // What 確定 keeps: the values kept now, with only what the user changed here put over them, so
    // timing learnt while the dialog was open is not put back to what it was when it opened.
    FollowSettings shownFollow() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Stepper stepper(const char *name, const QString &caption, int left, int top, int low, int high, int step,
                    bool zeroIsOff);
    void stepBy(Stepper &s, int direction);
    void showValue(const Stepper &s);
    void captureKey(ColorButton *button);
    void showKeys();
    void cmdOK_Click(int index);
    void addFollow(int top);
    void showFollow();

    SettingsStore &m_store;
    QButtonGroup *m_methods;
    QButtonGroup *m_colors;
    int m_selectKey;
    int m_moveKey;
    ColorButton *m_capturing = nullptr;
    QString m_saveError;
    FollowSettings m_follow;    // as it was when the dialog opened
    bool m_followReset = false; // 設定の値に戻す pressed
    int m_scanAtOpen = 0;       // the set interval and dwell time when the dialog opened
    int m_dwellAtOpen = 0;
    std::function<void()> m_call;
};
