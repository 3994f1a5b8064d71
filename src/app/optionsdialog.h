#pragma once

#include "app/settings.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class ColorButton;
class LoginStart;
class SettingsStore;

// The options dialog. Loading shows the stored options; "確定" writes all
// eight; "キャンセル" and the close box write nothing.
class OptionsDialog final : public QDialog
{
    Q_OBJECT
public:
    OptionsDialog(SettingsStore &store, QWidget *parent, LoginStart *login = nullptr);

    // The options as the controls show them.
    Settings shown() const;
    // Why the confirmed options could not be stored; empty when they were.
    QString saveError() const { return m_saveError; }

    std::array<QRadioButton *, 4> Option1;
    std::array<QRadioButton *, 2> Option2;
    std::array<QRadioButton *, 4> Option3;
    QCheckBox *chkSamp;
    QComboBox *cmbSample;
    QLabel *lblSample;
    QCheckBox *chkMaxC;
    QCheckBox *chkBeep;
    QCheckBox *chkMoji;
    QCheckBox *chkLogin; // added: start when the user logs in
    std::array<ColorButton *, 2> cmdOK;

private:
    void load();
    void cmdOK_Click(int index);

    SettingsStore &m_store;
    LoginStart *m_login;
    QButtonGroup *m_group1;
    QButtonGroup *m_group2;
    QButtonGroup *m_group3;
    QString m_saveError;
};
