#pragma once

#include "shared/settings.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class ColorButton;
class LoginStart;
class SettingsStore;

// The user's own voice, in a column on the right of the options: the
// recordings, and the synthetic voice's pitch and speed with a preview.
struct OwnVoiceOptions
{
    std::function<void(QWidget *parent)> recordings;
    std::function<void(double speed, double pitch)> preview; // says a sample so
    double speed = 1.0;                                      // as the voice speaks now
    double pitch = 0.0;
};

// The options dialog. Loading shows the stored options; "確定" writes all
// options; "キャンセル" and the close box write nothing.
class OptionsDialog final : public QDialog
{
    Q_OBJECT
public:
    // Runs the dialog of ways to press over the options: why what it confirmed
    // could not be stored (empty when it was), or nothing when it was cancelled.
    using WaysOfPressing = std::function<std::optional<QString>(QWidget *parent)>;

    // With ways of pressing, "操作方法…" opens their dialog; with the call's
    // store, "呼び出しを使う" turns the call on and off. With `call`, the call
    // being on, a call key stands in a column added on the right.
    using OwnVoice = OwnVoiceOptions;
    OptionsDialog(SettingsStore &store, QWidget *parent, LoginStart *login = nullptr,
                  WaysOfPressing waysOfPressing = {}, SettingsStore *callStore = nullptr,
                  OwnVoice ownVoice = {}, const std::function<void()> &call = {});
    // The speed and pitch the controls show.
    std::pair<double, double> chosenVoice() const;

    // The options as the controls show them.
    Settings shown() const;
    // Why the confirmed options could not be stored; empty when they were.
    QString saveError() const { return m_saveError; }
    // Why the ways of pressing confirmed in "操作方法" could not be stored; empty when they were.
    QString accessSaveError() const { return m_accessSaveError; }

    std::array<QRadioButton *, 4> Option1;
    std::array<QRadioButton *, 2> Option2;
    std::array<QRadioButton *, 4> Option3;
    QCheckBox *chkSamp;
    QComboBox *cmbSample;
    QLabel *lblSample;
    QCheckBox *chkMaxC;
    QCheckBox *chkBeep;
    QCheckBox *chkMoji;
    QCheckBox *chkKanji;             // added: kanji candidates while typing
    QCheckBox *chkLogin;             // added: start when the user logs in
    ColorButton *cmdAccess;          // added: how the user presses
    ColorButton *cmdVoice = nullptr; // added: the user's recorded voice
    QComboBox *cmbPitch = nullptr;   // added: the synthetic voice's pitch
    QComboBox *cmbSpeed = nullptr;   // added: and its speed
    ColorButton *cmdPreview = nullptr;
    QCheckBox *chkCall; // added: the call for help
    std::array<ColorButton *, 2> cmdOK;

private:
    void load();
    void cmdOK_Click(int index);
    void cmdAccess_Click();

    SettingsStore &m_store;
    SettingsStore *m_callStore;
    LoginStart *m_login;
    WaysOfPressing m_waysOfPressing;
    OwnVoice m_ownVoice;
    QButtonGroup *m_group1;
    QButtonGroup *m_group2;
    QButtonGroup *m_group3;
    QString m_saveError;
    QString m_accessSaveError;
};
