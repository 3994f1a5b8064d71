#include "devices/devicesetup.h"

#include "platform/controls.h"
#include "platform/fonts.h"
#include "shared/callkey.h"
#include "shared/palette.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr double Points = 14;

ColorButton *button(QWidget *parent, const char *name, const QString &caption, quint32 back)
{
    auto *b = new ColorButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setBackColor(back);
    Fonts::set(b, Fonts::ProportionalGothic, Points, true);
    b->setMinimumHeight(44);
    return b;
}

QLineEdit *field(QWidget *parent, const char *name, const QString &label)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setAccessibleName(label);
    return e;
}

} // namespace

QString JoinCommandLine(const QString &program, const QStringList &arguments)
{
    QStringList words;
    for (const QString &w : QStringList{program} + arguments) {
        QString q = w;
        q.replace(QLatin1Char('"'), QStringLiteral("\"\"\""));
        // Any space splits, the full-width one and a tab too, so a word holding one is quoted.
        const bool plain = !w.isEmpty() && std::none_of(w.begin(), w.end(), [](QChar c) {
            return c.isSpace() || c == QLatin1Char('"');
        });
        words << (plain ? w : QLatin1Char('"') + q + QLatin1Char('"'));
    }
    return words.join(QLatin1Char(' '));
}

QStringList SplitCommandLine(QStringView line)
{
    // As QProcess::splitCommand reads a line (quotes group, three quotes make one), but a quoted
    // empty word stays a word: an empty argument a program was given must not vanish on 変更.
    QStringList words;
    QString word;
    bool quoted = false, inQuote = false;
    int quotes = 0;
    for (const QChar c : line) {
        if (c == QLatin1Char('"')) {
            quoted = true;
            if (++quotes == 3) {
                quotes = 0;
                word += c;
            }
            continue;
        }
        if (quotes == 1)
            inQuote = !inQuote;
        quotes = 0;
        if (!inQuote && c.isSpace()) {
            if (!word.isEmpty() || quoted)
                words << std::exchange(word, QString());
            quoted = false;
        } else {
            word += c;
        }
    }
    if (!word.isEmpty() || quoted)
        words << word;
    return words;
}

DeviceSetupDialog::DeviceSetupDialog(const DeviceList &list, DeviceActions &actions, Save save,
                                     const QString &problem, QWidget *parent,
                                     const std::function<void()> &call)
    : QDialog(parent), m_list(list), m_actions(actions), m_save(std::move(save)),
      m_refused(!problem.isEmpty())
{
    setObjectName(QStringLiteral("frmDeviceSetup"));
    setWindowTitle(QStringLiteral("機器の設定"));
    setAccessibleName(QStringLiteral("機器の設定"));
    setBackground(this, Palette::PaleBlue);
    Fonts::set(this, Fonts::ProportionalGothic, Points);

    lstKeys = new QListWidget(this);
    lstKeys->setObjectName(QStringLiteral("lstDeviceKeys"));
    lstKeys->setAccessibleName(QStringLiteral("機器のキー"));
    txtCaption = field(this, "txtCaption", QStringLiteral("キーの名前"));
    txtSay = field(this, "txtSay", QStringLiteral("押したときに言うこと"));
    cmbKind = new QComboBox(this);
    cmbKind->setObjectName(QStringLiteral("cmbKind"));
    cmbKind->setAccessibleName(QStringLiteral("すること"));
    cmbKind->addItems({QStringLiteral("プログラムを実行"), QStringLiteral("Home Assistant")});
    txtCommand = field(this, "txtCommand", QStringLiteral("プログラムと引数"));
    txtCommand->setPlaceholderText(QStringLiteral("irsend SEND_ONCE tv KEY_POWER"));
    txtService = field(this, "txtService", QStringLiteral("サービス"));
    txtService->setPlaceholderText(QStringLiteral("light.turn_on"));
    txtEntity = field(this, "txtEntity", QStringLiteral("機器（エンティティ）"));
    txtEntity->setPlaceholderText(QStringLiteral("light.bedroom"));
    txtServer = field(this, "txtServer", QStringLiteral("Home Assistant のアドレス"));
    txtServer->setText(m_list.server.toString());
    txtServer->setPlaceholderText(QStringLiteral("http://homeassistant.local:8123"));
    txtToken = field(this, "txtToken", QStringLiteral("トークン"));
    txtToken->setEchoMode(QLineEdit::Password);
    txtToken->setPlaceholderText(m_list.token.isEmpty()
                                     ? tr("長期アクセストークンを貼る")
                                     : MaskedToken(m_list.token) + tr("（変えるときだけ貼る）"));
    lblResult = new QLabel(problem, this);
    lblResult->setObjectName(QStringLiteral("lblResult"));
    lblResult->setWordWrap(true);

    cmdAdd = button(this, "cmdAdd", QStringLiteral("追加"), Palette::PaleGreen);
    cmdChange = button(this, "cmdChange", QStringLiteral("変更"), Colors::White);
    cmdUp = button(this, "cmdKeyUp", QStringLiteral("上へ"), Colors::White);
    cmdDown = button(this, "cmdKeyDown", QStringLiteral("下へ"), Colors::White);
    cmdRemove = button(this, "cmdRemove", QStringLiteral("削除"), Palette::PaleRed);
    cmdTry = button(this, "cmdTry", QStringLiteral("試す"), Palette::PaleGreen);
    cmdCancel = button(this, "cmdCancel", QStringLiteral("キャンセル"), Palette::PaleRed);
    cmdSave = button(this, "cmdSave", QStringLiteral("保存"), Colors::White);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("キーの名前"), txtCaption);
    form->addRow(QStringLiteral("押したときに言うこと"), txtSay);
    form->addRow(QStringLiteral("すること"), cmbKind);
    form->addRow(QStringLiteral("プログラムと引数"), txtCommand);
    form->addRow(QStringLiteral("サービス"), txtService);
    form->addRow(QStringLiteral("機器（エンティティ）"), txtEntity);
    form->addRow(QStringLiteral("Home Assistant のアドレス"), txtServer);
    form->addRow(QStringLiteral("トークン"), txtToken);
    auto *keys = new QGridLayout;
    keys->addWidget(cmdAdd, 0, 0);
    keys->addWidget(cmdChange, 0, 1);
    keys->addWidget(cmdUp, 0, 2);
    keys->addWidget(cmdDown, 0, 3);
    keys->addWidget(cmdRemove, 0, 4);
    keys->addWidget(cmdTry, 0, 5);
    auto *end = new QHBoxLayout;
    end->addWidget(cmdCancel);
    end->addWidget(cmdSave);
    auto *all = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    if (call) {
        ColorButton *callKey = MakeCallKey(this, {0, 0, 915, 1650}, call);
        callKey->setFixedSize(61, 110);
        top->addWidget(callKey, 0, Qt::AlignTop);
    }
    top->addWidget(lstKeys, 1);
    all->addLayout(top, 1);
    all->addLayout(form);
    all->addLayout(keys);
    all->addWidget(lblResult);
    all->addLayout(end);
    resize(760, 720);

    connect(lstKeys, &QListWidget::currentRowChanged, this, &DeviceSetupDialog::showKey);
    connect(cmdAdd, &QPushButton::clicked, this, [this] { change(true); });
    connect(cmdChange, &QPushButton::clicked, this, [this] { change(false); });
    connect(cmdUp, &QPushButton::clicked, this, [this] { moveKey(-1); });
    connect(cmdDown, &QPushButton::clicked, this, [this] { moveKey(1); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] {
        const int row = lstKeys->currentRow();
        if (row < 0 || row >= m_list.keys.size())
            return;
        m_list.keys.removeAt(row);
        fillList(std::min(row, int(m_list.keys.size()) - 1));
        if (m_list.keys.isEmpty()) // the fields showed the key just removed: not a key being written
            for (QLineEdit *field : {txtCaption, txtSay, txtCommand, txtService, txtEntity})
                field->clear();
    });
    connect(cmdTry, &QPushButton::clicked, this, &DeviceSetupDialog::tryKey);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdSave, &QPushButton::clicked, this, &DeviceSetupDialog::saveList);
    fillList(m_list.keys.isEmpty() ? -1 : 0);
}

DeviceList DeviceSetupDialog::edited() const
{
    DeviceList list = m_list;
    list.server = QUrl(txtServer->text().trimmed());
    if (!txtToken->text().trimmed().isEmpty())
        list.token = txtToken->text().trimmed();
    return list;
}

DeviceKey DeviceSetupDialog::keyInFields() const
{
    DeviceKey key;
    key.caption = txtCaption->text().trimmed();
    key.say = txtSay->text().trimmed();
    if (cmbKind->currentIndex() == 0) {
        QStringList words = SplitCommandLine(txtCommand->text());
        if (!words.isEmpty())
            key.program = words.takeFirst();
        key.arguments = words;
    } else {
        key.kind = DeviceKey::Kind::HomeAssistant;
        key.service = txtService->text().trimmed();
        key.entity = txtEntity->text().trimmed();
    }
    return key;
}

DeviceSetupDialog::Fields DeviceSetupDialog::fieldsOf(const DeviceKey &key)
{
    const bool program = key.kind == DeviceKey::Kind::Program;
    return {key.caption,     key.say,
            program ? 0 : 1, program ? JoinCommandLine(key.program, key.arguments) : QString(),
            key.service,     key.entity};
}

DeviceSetupDialog::Fields DeviceSetupDialog::fieldsNow() const
{
    return {txtCaption->text(), txtSay->text(),     cmbKind->currentIndex(),
            txtCommand->text(), txtService->text(), txtEntity->text()};
}

void DeviceSetupDialog::showKey(int row)
{
    if (row < 0 || row >= m_list.keys.size())
        return;
    const Fields f = fieldsOf(m_list.keys[row]);
    txtCaption->setText(f.caption);
    txtSay->setText(f.say);
    cmbKind->setCurrentIndex(f.kind);
    txtCommand->setText(f.command);
    txtService->setText(f.service);
    txtEntity->setText(f.entity);
}

bool DeviceSetupDialog::fieldsAsListed() const
{
    const int row = lstKeys->currentRow();
    if (row >= 0 && row < m_list.keys.size())
        return fieldsNow() == fieldsOf(m_list.keys[row]);
    for (const QLineEdit *field : {txtCaption, txtSay, txtCommand, txtService, txtEntity})
        if (!field->text().trimmed().isEmpty())
            return false;
    return true;
}

void DeviceSetupDialog::fillList(int current)
{
    lstKeys->clear();
    for (const DeviceKey &key : std::as_const(m_list.keys))
        lstKeys->addItem(key.caption);
    lstKeys->setCurrentRow(current);
}

void DeviceSetupDialog::change(bool add)
{
    const DeviceKey key = keyInFields();
    const int row = lstKeys->currentRow();
    if (!add && (row < 0 || row >= m_list.keys.size())) {
        lblResult->setText(tr("変えるキーを、上の一覧から選んでください。"));
        return;
    }
    if (const QString why = CheckDeviceKey(key, edited()); !why.isEmpty()) {
        lblResult->setText(why);
        return;
    }
    if (add && m_list.keys.size() >= DeviceList::MaxKeys) {
        lblResult->setText(tr("キーは %1 個までです。").arg(DeviceList::MaxKeys));
        return;
    }
    if (add)
        m_list.keys << key;
    else
        m_list.keys[row] = key;
    lblResult->clear();
    fillList(add ? int(m_list.keys.size()) - 1 : row);
}

void DeviceSetupDialog::moveKey(int by)
{
    const int row = lstKeys->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= m_list.keys.size())
        return;
    m_list.keys.swapItemsAt(row, to);
    fillList(to);
}

void DeviceSetupDialog::tryKey()
{
    const DeviceKey key = keyInFields();
    const DeviceList list = edited();
    if (const QString why = CheckDeviceKey(key, list); !why.isEmpty()) {
        lblResult->setText(why);
        return;
    }
    lblResult->setText(tr("試しています…"));
    QPointer<QLabel> result(lblResult);
    m_actions.run(ActionRequest(key, list), [result](const DeviceReply &reply) {
        if (result)
            result->setText(reply.ok ? tr("できました。") : tr("できません：") + reply.reason);
    });
}

void DeviceSetupDialog::saveList()
{
    if (m_refused) {
        // The file is kept as the carer left it, to be mended by hand.
        lblResult->setText(tr("機器のファイルが正しくないので、上書きしません。ファイルを直すか消してから、も"
                              "う一度設定してください。"));
        return;
    }
    if (!fieldsAsListed()) {
        lblResult->setText(tr("書きかけのキーがあります。「変更」か「追加」を押してから保存してください。"));
        return;
    }
    const DeviceList list = edited();
    for (int i = 0; i < list.keys.size(); ++i)
        if (const QString why = CheckDeviceKey(list.keys[i], list); !why.isEmpty()) {
            lblResult->setText(tr("%1 番目のキー：").arg(i + 1) + why);
            return;
        }
    QString error;
    if (m_save && !m_save(list, &error)) {
        lblResult->setText(error);
        return;
    }
    m_list = list;
    accept();
}
