#include "shared/optionsdialog.h"

#include "platform/controls.h"
#include "platform/fonts.h"
#include "platform/loginstart.h"
#include "platform/settingsstore.h"
#include "platform/twips.h"
#include "shared/callkey.h"
#include "shared/callsettings.h"
#include "shared/palette.h"
#include "shared/voiceadjust.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace {

constexpr quint32 Back = Palette::PaleBlue;
constexpr double TextPoints = 15.75;
constexpr int OptionHeight = 420;
constexpr int Height = 10485, CallColumn = 1440; // twips

template <typename W> W *styled(W *w, const char *name, QRect twips, double points = TextPoints)
{
    styleDialogControl(w, name, twips, Back, points);
    return w;
}

QGroupBox *group(QWidget *parent, const char *name, const QString &caption, QRect twips)
{
    return styled(new QGroupBox(caption, parent), name, twips);
}

// Places option buttons of one array in their screen order, indexed as stored.
template <size_t N>
QButtonGroup *options(QGroupBox *box, const char *name, std::array<QRadioButton *, N> &array,
                      const std::array<std::pair<int, const char *>, N> &screenOrder)
{
    auto *buttons = new QButtonGroup(box);
    int top = 360;
    for (const auto &[index, caption] : screenOrder) {
        auto *b = styled(new QRadioButton(QString::fromUtf8(caption), box), name,
                         QRect(240, top, 6300, OptionHeight));
        b->setProperty("index", index);
        buttons->addButton(b, index);
        array[size_t(index)] = b;
        top += OptionHeight;
    }
    return buttons;
}

} // namespace

OptionsDialog::OptionsDialog(SettingsStore &store, QWidget *parent, LoginStart *login,
                             WaysOfPressing waysOfPressing, SettingsStore *callStore, OwnVoice ownVoice,
                             const std::function<void()> &call)
    : QDialog(parent), m_store(store), m_callStore(callStore), m_login(login),
      m_waysOfPressing(std::move(waysOfPressing)), m_ownVoice(std::move(ownVoice))
{
    setObjectName(QStringLiteral("frmOPT"));
    setWindowTitle(QStringLiteral("オプション"));
    setBackground(this, Back);
    // The own voice and the call take a column each, so nothing of the dialog moves.
    const bool withOwnVoice = bool(m_ownVoice.recordings);
    const int width = withOwnVoice ? 10290 : 6990;
    Twips::sizeDialog(this, parent, width + (call ? CallColumn : 0), Height);
    if (call)
        MakeCallKey(this, {width + CallColumn - 1260, 120, 1140, Height - 240}, call);
    if (withOwnVoice) {
        auto *frmOwnVoice = group(this, "frmOwnVoice", QStringLiteral("自分の声"), {6990, 60, 3180, 4500});
        cmdVoice = makeButton(frmOwnVoice, "cmdVoice", QStringLiteral("声の録音…"), {120, 420, 2940, 1200},
                              Colors::White, 18, true);
        connect(cmdVoice, &QPushButton::clicked, this, [this] { m_ownVoice.recordings(this); });
        auto choices = [&](const char *name, const QString &caption, int top, const QList<double> &values,
                           double now, bool sign) {
            styled(new QLabel(caption, frmOwnVoice), name, {120, top, 1320, 480});
            auto *box = styled(new QComboBox(frmOwnVoice), name, {1500, top, 1560, 480});
            box->setObjectName(QStringLiteral("cmb") + QString::fromLatin1(name).mid(3));
            box->setAccessibleName(caption);
            for (const double v : values)
                box->addItem((sign && v > 0 ? QStringLiteral("+") : QString()) + QString::number(v), v);
            const auto at = std::min_element(values.begin(), values.end(), [now](double a, double b) {
                return std::abs(a - now) < std::abs(b - now);
            });
            box->setCurrentIndex(int(at - values.begin()));
            return box;
        };
        cmbPitch = choices("lblPitch", QStringLiteral("声の高さ"), 1800, VoiceAdjust::pitchChoices(),
                           m_ownVoice.pitch, true);
        cmbSpeed = choices("lblSpeed", QStringLiteral("話す速さ"), 2460, VoiceAdjust::speedChoices(),
                           m_ownVoice.speed, false);
        cmdPreview = makeButton(frmOwnVoice, "cmdPreview", QStringLiteral("試し聞き"),
                                {120, 3120, 2940, 1200}, Colors::White, 18, true);
        connect(cmdPreview, &QPushButton::clicked, this, [this] {
            if (m_ownVoice.preview)
                m_ownVoice.preview(chosenVoice().first, chosenVoice().second);
        });
    }
    auto *frmOPT1 = group(this, "frmOPT1", QStringLiteral("１画面目の設定"), {120, 60, 6750, 2100});
    m_group1 = options<4>(frmOPT1, "Option1", Option1,
                          {{{2, "１回クリックで文字入力"},
                            {3, "２回クリックで文字入力"},
                            {0, "１回クリックで文字選択画面へ"},
                            {1, "２回クリックで文字選択画面へ"}}});
    auto *frmOPT2 =
        group(this, "frmOPT2", QStringLiteral("文字選択画面の設定（拡大画面）"), {120, 2220, 6750, 1260});
    m_group2 = options<2>(frmOPT2, "Option2", Option2,
                          {{{0, "１回クリックで文字入力"}, {1, "２回クリックで文字入力"}}});
    auto *frmVoice = group(this, "frmVoice", QStringLiteral("声の設定"), {120, 3540, 6750, 2100});
    m_group3 = options<4>(frmVoice, "Option3", Option3,
                          {{{0, "毎回声を出す"},
                            {1, "文字選択での時に声を出す　（毎回）"},
                            {2, "文字入力の時に声を出す　　（最後）"},
                            {3, "声を出さない"}}});
    auto *frmSample = group(this, "frmSample", QStringLiteral("例文の設定"), {120, 5700, 6750, 1380});
    chkSamp = styled(new QCheckBox(QStringLiteral("例文を自動で表示する。"), frmSample), "chkSamp",
                     {240, 360, 6300, OptionHeight});
    cmbSample = styled(new QComboBox(frmSample), "cmbSample", {240, 840, 1080, 420});
    cmbSample->setAccessibleName(QStringLiteral("例文を表示する文字数"));
    cmbSample->addItems({QStringLiteral("１"), QStringLiteral("２"), QStringLiteral("３"),
                         QStringLiteral("４"), QStringLiteral("５")});
    lblSample = styled(new QLabel(QStringLiteral("文字で例文を表示する。"), frmSample), "lblSample",
                       {1440, 840, 5100, 420});

    chkMaxC = styled(new QCheckBox(QStringLiteral("濁点表示文字"), this), "chkMaxC",
                     {240, 7200, 3300, OptionHeight});
    chkKanji = styled(new QCheckBox(QStringLiteral("漢字の候補を出す"), this), "chkKanji",
                      {3630, 7200, 3120, OptionHeight});
    chkBeep = styled(new QCheckBox(QStringLiteral("キー確認音を出す。"), this), "chkBeep",
                     {240, 7680, 6500, OptionHeight});
    chkMoji = styled(new QCheckBox(QStringLiteral("文字を拡大する。"), this), "chkMoji",
                     {240, 8160, m_callStore ? 3300 : 6500, OptionHeight});
    chkCall = styled(new QCheckBox(QStringLiteral("呼び出しを使う"), this), "chkCall",
                     {3630, 8160, 3120, OptionHeight});
    chkCall->setVisible(m_callStore != nullptr);
    chkLogin = styled(new QCheckBox(QStringLiteral("ログイン時に起動"), this), "chkLogin",
                      {240, 8640, 3300, OptionHeight});
    cmdAccess = makeButton(this, "cmdAccess", QStringLiteral("操作方法…"), {3630, 8580, 3120, 600},
                           Colors::White, TextPoints, true);
    cmdAccess->setVisible(bool(m_waysOfPressing));
    connect(cmdAccess, &QPushButton::clicked, this, &OptionsDialog::cmdAccess_Click);
    chkLogin->setVisible(m_login != nullptr);

    const std::pair<const char *, quint32> buttons[] = {{"キャンセル", Palette::PaleRed},
                                                        {"確定", Palette::PaleBlue}};
    for (int i = 0; i < 2; ++i) {
        auto *b = makeButton(this, "cmdOK", QString::fromUtf8(buttons[i].first),
                             {i == 0 ? 240 : 3630, 9360, 3120, 960}, buttons[i].second, 18, true, i);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdOK_Click(i); });
        cmdOK[size_t(i)] = b;
    }
    load();
}

void OptionsDialog::load()
{
    const Settings s = ReadSettings(m_store);
    Option1[size_t(s.OPT1.toInt())]->setChecked(true);
    Option2[size_t(s.OPT2.toInt())]->setChecked(true);
    Option3[size_t(s.OPT3.toInt())]->setChecked(true);
    chkBeep->setChecked(s.Beep.toInt() != 0);
    chkMoji->setChecked(s.Moji.toInt() != 0);
    chkSamp->setChecked(s.Samp.toInt() != 0);
    chkMaxC->setChecked(s.gMaxC != 9);
    chkKanji->setChecked(s.candidatesOn());
    cmbSample->setCurrentIndex(s.Sample - 1);
    chkLogin->setChecked(m_login && m_login->enabled());
    chkCall->setChecked(!m_callStore || ReadCallSettings(*m_callStore).enabled);
}

Settings OptionsDialog::shown() const
{
    auto state = [](const QCheckBox *c) { return QString::number(c->isChecked() ? 1 : 0); };
    Settings s;
    s.OPT1 = QString::number(m_group1->checkedId());
    s.OPT2 = QString::number(m_group2->checkedId());
    s.OPT3 = QString::number(m_group3->checkedId());
    s.Samp = state(chkSamp);
    s.Sample = qint16(cmbSample->currentIndex() + 1);
    s.Beep = state(chkBeep);
    s.Moji = state(chkMoji);
    s.gMaxC = chkMaxC->isChecked() ? 14 : 9;
    s.Kanji = state(chkKanji);
    return s;
}

std::pair<double, double> OptionsDialog::chosenVoice() const
{
    if (!cmbPitch)
        return {m_ownVoice.speed, m_ownVoice.pitch};
    return {cmbSpeed->currentData().toDouble(), cmbPitch->currentData().toDouble()};
}

void OptionsDialog::cmdAccess_Click()
{
    if (const std::optional<QString> error = m_waysOfPressing(this))
        m_accessSaveError = *error;
}

void OptionsDialog::cmdOK_Click(int index)
{
    if (index == 1) {
        WriteSettings(m_store, shown(), &m_saveError);
        const auto tell = [this](const QString &error) {
            m_saveError += (m_saveError.isEmpty() ? QString() : QStringLiteral("\n")) + error;
        };
        if (QString voiceError;
            cmbPitch && !WriteVoiceAdjust(m_store, {chosenVoice().second, chosenVoice().first}, &voiceError))
            tell(voiceError);
        QString loginError;
        if (m_login && chkLogin->isChecked() != m_login->enabled() &&
            !m_login->setEnabled(chkLogin->isChecked(), &loginError))
            tell(loginError);
        if (CallSettings call = m_callStore ? ReadCallSettings(*m_callStore) : CallSettings();
            m_callStore && call.enabled != chkCall->isChecked()) {
            call.enabled = chkCall->isChecked();
            QString callError;
            if (!WriteCallSettings(*m_callStore, call, &callError))
                tell(callError);
        }
        accept();
    } else {
        reject();
    }
}
