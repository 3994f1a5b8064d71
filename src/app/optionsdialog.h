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
class ModalRunner;
class SettingsStore;

// The options dialog. Loading shows the stored options; "確定" writes all
// eight; "キャンセル" and the close box write nothing.
class OptionsDialog final : public QDialog
{
    Q_OBJECT
public:
    // With an access store, "操作方法…" opens the dialog of ways to press, through `modal`.
    OptionsDialog(SettingsStore &store, QWidget *parent, LoginStart *login = nullptr,
                  SettingsStore *accessStore = nullptr, ModalRunner *modal = nullptr);

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
    QCheckBox *chkLogin;    // added: start when the user logs in
    ColorButton *cmdAccess; // added: how the user presses
    std::array<ColorButton *, 2> cmdOK;

private:
    void load();
    void cmdOK_Click(int index);
    void cmdAccess_Click();

    SettingsStore &m_store;
    LoginStart *m_login;
    SettingsStore *m_accessStore;
    ModalRunner *m_modal;
    QButtonGroup *m_group1;
    QButtonGroup *m_group2;
    QButtonGroup *m_group3;
    QString m_saveError;
    QString m_accessSaveError;
};
