#pragma once

#include "devices/devicelist.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class ColorButton;

// The carer's setup of the device keys: add, change, order and remove them,
// try one, and the home server's address and token. The token is never shown,
// only its last characters; a new one replaces it, an empty field keeps it.
class DeviceSetupDialog final : public QDialog
{
    Q_OBJECT
public:
    // Keeps the list; false, saying why, when it could not.
    using Save = std::function<bool(const DeviceList &, QString *error)>;

    // `problem`: the devices file is not one; it is shown, and nothing is saved over it.
    // `call`: the call for help, whose key the dialog shows first; none: no key.
    DeviceSetupDialog(const DeviceList &list, DeviceActions &actions, Save save, const QString &problem,
                      QWidget *parent, const std::function<void()> &call = {});

    // The list as the dialog holds it now.
    DeviceList edited() const;

    QListWidget *lstKeys;
    QLineEdit *txtCaption, *txtSay, *txtCommand, *txtService, *txtEntity, *txtServer, *txtToken;
    QComboBox *cmbKind;
    QLabel *lblResult;
    ColorButton *cmdAdd, *cmdChange, *cmdUp, *cmdDown, *cmdRemove, *cmdTry, *cmdSave, *cmdCancel;

private:
    // What the fields show of a key, as showKey writes them.
    struct Fields
    {
        QString caption, say;
        int kind = 0; // the kind box's index
        QString command, service, entity;
        bool operator==(const Fields &) const = default;
    };
    static Fields fieldsOf(const DeviceKey &key);
    Fields fieldsNow() const;
    // Whether the fields still show the key chosen in the list (or nothing, with none chosen).
    bool fieldsAsListed() const;
    DeviceKey keyInFields() const;
    void showKey(int row);
    void fillList(int current);
    void change(bool add);
    void moveKey(int by);
    void tryKey();
    void saveList();

    DeviceList m_list;
    DeviceActions &m_actions;
    Save m_save;
    bool m_refused;
};

// A command line for the field, and back: quoted where a word holds a space.
QString JoinCommandLine(const QString &program, const QStringList &arguments);
QStringList SplitCommandLine(QStringView line);
