#include "board/candidatebar.h"

#include "board/nextkana.h"
#include "board/speech.h"
#include "board/strippriority.h"
#include "board/suggestions.h"
#include "platform/character.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/conversion/kanareading.h"
#include "platform/fonts.h"
#include "platform/grid.h"
#include "platform/twips.h"
#include "shared/canvas.h"
#include "shared/palette.h"
#include "shared/sentence.h"
#include "shared/sharedstate.h"
#include "shared/talkstate.h"
#include "text/highlight.h"

#include <QEvent>
#include <QFontMetrics>
#include <QTimer>
#include <cmath>

namespace {

constexpr int Gap = 60;                    // twips between two candidates
constexpr int Padding = 240;               // twips on either side of a candidate's text
constexpr quint32 NextKanaBack = 0xD0FFFF; // pale yellow: kana, told apart from the words beside them

} // namespace

CandidateBar::CandidateBar(const Controls &c, SharedState &shared, Suggestions &suggestions)
    : m_c(c), m_shared(shared), m_suggestions(suggestions), m_writtenBefore(shared),
      m_finder(shared.sv.conversion, shared.sv.learnt, shared.sv.vocabulary), m_strip(m_finder),
      m_boardRect(Twips::rect(c.grdBoard)), m_boardPoints(Twips::fontPoints(c.grdBoard))
{
    m_finder.setWrittenBefore([this] { return m_writtenBefore(CandidateFinder::MaxWrittenBefore); });
    m_notice = new ColorLabel(QString(), m_c.fraCand);
    m_notice->setObjectName(QStringLiteral("lblCandNotice"));
    m_notice->setBackColor(Palette::Window);
    Fonts::set(m_notice, Fonts::ProportionalGothic, 18, true);
    Twips::setRect(m_notice, Padding, 0, Canvas::Width - 2 * Padding, Height);
    m_notice->hide();
    m_notice->setWordWrap(true);
    m_nextFrame = new ColorFrame(m_c.fraCand);
    m_nextFrame->setObjectName(QStringLiteral("fraNext"));
    m_nextFrame->setAccessibleName(QStringLiteral("次の文字"));
    m_nextFrame->setBackColor(Palette::Window);
    m_nextFrame->hide();
    m_nextTimer.setSingleShot(true);
    m_nextTimer.setInterval(0);
    connect(&m_nextTimer, &QTimer::timeout, this, [this] {
        lookUpNext();
        showCandidates();
    });
    m_noticeTimer.setSingleShot(true);
    m_noticeTimer.setInterval(NoticeMs);
    connect(&m_noticeTimer, &QTimer::timeout, this, [this] {
        m_notice->hide();
        showCandidates();
    });
    // Any other change of the text or of the highlight leaves the candidates behind.
    auto stale = [this] {
        if (m_editing)
            return;
        emptyStrip();
        if (on())
            m_nextTimer.start();
    };
    connect(m_c.sentence, &Sentence::textChanged, this, stale);
    connect(m_c.sentence, &Sentence::cursorMoved, this, stale);
    // Another character set on the board offers its own kana.
    connect(&m_shared.state, &TalkState::changed, this, [this] {
        if (on() && int(m_shared.state.charSet()) != m_nextSet)
            m_nextTimer.start();
        // Over a list or an opened entry a take would write under it, and leaving would offer to
        // save that over the entry last opened: the strip presses nothing there, and says so greyed.
        const TalkState &state = m_shared.state;
        m_c.fraCand->setEnabled(state.screen() == Screen::Board ||
                                (state.screen() == Screen::List && state.listMode() == ListId::None));
    });
    // The window's scale changes the strip's size in pixels.
    m_c.fraCand->installEventFilter(this);
}

bool CandidateBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_c.fraCand && event->type() == QEvent::Resize && on() && stripHeight() != m_height) {
        layOut();
        showCandidates();
    }
    return QObject::eventFilter(watched, event);
}

int CandidateBar::stripHeight() const
{
    // At least 44 pixels however small the window, taking from the board; half of it at most.
    const int least = int(std::ceil(Twips::toTwips(44, Twips::scaleOf(m_c.fraCand))));
    return std::min(std::max(Height, least), m_boardRect.height() / 2);
}

bool CandidateBar::on() const
{
    return m_shared.settings.candidatesOn();
}

void CandidateBar::layOut()
{
    const bool show = on();
    m_height = stripHeight();
    QRect board = m_boardRect;
    double points = m_boardPoints;
    if (show) {
        board.setTop(board.top() + m_height + Gap);
        // Rows are as high as their font (points * 20 + 48 twips): a smaller one fits them in.
        points = std::min(points, (double(board.height()) / m_c.grdBoard->rows() - 48) / 20);
    }
    Twips::setRect(m_c.grdBoard, board);
    Twips::setFontPoints(m_c.grdBoard, points);
    Twips::setRect(m_c.fraCand, m_boardRect.left(), m_boardRect.top(), m_boardRect.width(), m_height);
    Twips::setRect(m_notice, Padding, 0, Canvas::Width - 2 * Padding, m_height);
}

void CandidateBar::applyOption()
{
    layOut();
    const bool show = on();
    m_c.fraCand->setVisible(show);
    m_shared.readingOf =
        show
            ? std::function<QString(const QString &)>([this](const QString &text) { return readingOf(text); })
            : nullptr;
    m_shared.learnSentence =
        show ? std::function<void(const QString &)>([this](const QString &text) { learnSentence(text); })
             : nullptr;
    m_nextKana.clear();
    emptyStrip();
    if (show)
        m_nextTimer.start();
    if (show && m_shared.sv.conversion) {
        // The engine starts now, not on the first character.
        QTimer::singleShot(0, this, [this] {
            if (on())
                m_shared.sv.conversion->convert(QStringLiteral("あ"));
        });
    }
}

void CandidateBar::afterEntry()
{
    if (!on())
        return;
    m_nextTimer.stop(); // looked up below, with the new run's candidates
    // A zero-delay timer: the character's voice is never kept waiting by the lookup.
    QTimer::singleShot(0, this, [this] {
        if (!on())
            return;
        const int highlight = m_c.sentence->selStart();
        m_strip.afterEntry(m_c.sentence->shown(), highlight);
        lookUpNext();
        showCandidates();
    });
}

void CandidateBar::emptyStrip()
{
    m_strip.clear();
    showCandidates();
}

void CandidateBar::showCandidates()
{
    for (ColorButton *b : m_buttons) {
        b->hide();
        b->deleteLater();
    }
    m_buttons.clear();
    if (const auto notice = m_finder.newProblem()) {
        // Its first line on the strip, all of it for assistive tools; for a while, beside the candidates.
        m_notice->setText(notice->section(u'\n', 0, 0));
        m_notice->setAccessibleName(*notice);
        m_notice->show();
        m_noticeTimer.start();
    }
    const std::vector<Candidate> &cs = m_strip.candidates();
    // Where a scan offers the strip follows from how likely it holds the word wanted.
    m_c.fraCand->setProperty("likely", StripPriority::likelihood(m_strip.run(), cs));
    QFont font = m_c.fraCand->font();
    font.setFamilies(Fonts::familiesFor(Fonts::Gothic));
    font.setPixelSize(int(Twips::pointsToPixels(Points, 1.0)));
    const QFontMetrics metrics(font);
    // Room for the kana keys as many as will show; a kana a word shown here already is gives its
    // key to the next likeliest.
    const int right =
        m_boardRect.width() - nextRoom(std::min(int(m_nextKana.size()), CandidateStrip::NextKanaShown));
    int left = 0;
    if (m_notice->isVisibleTo(m_c.fraCand)) {
        const int width =
            std::min(int(Twips::toTwips(QFontMetrics(m_notice->font()).horizontalAdvance(m_notice->text()),
                                        Twips::scaleOf(m_c.fraCand))) +
                         Padding,
                     cs.empty() ? Canvas::Width - 2 * Padding : m_boardRect.width() / 2);
        Twips::setRect(m_notice, cs.empty() ? Padding : 0, 0, width, m_height);
        left = cs.empty() ? 0 : width + Gap;
    }
    std::vector<int> widths;
    for (const Candidate &c : cs)
        widths.push_back(int(Twips::toTwips(metrics.horizontalAdvance(c.text), 1.0)) + 2 * Padding);
    QStringList shown;
    for (const int i : CandidateStrip::fitting(widths, right - left, Gap)) {
        const int width = widths[size_t(i)];
        shown << cs[size_t(i)].text;
        ColorButton *b = makeButton(m_c.fraCand, "cmdCand", cs[size_t(i)].text, {left, 0, width, m_height},
                                    Colors::White, Points, false, i);
        Fonts::set(b, Fonts::Gothic, Points);
        connect(b, &QPushButton::clicked, this, [this, i] { take(i); });
        b->show();
        m_buttons.push_back(b);
        left += width + Gap;
    }
    showNext(NextKana::besides(m_nextKana, shown, CandidateStrip::NextKanaShown));
}

void CandidateBar::lookUpNext()
{
    // The kana come as the board has them: katakana on the katakana board, none on the letters'.
    const CharSet set = m_shared.state.charSet();
    m_nextSet = int(set);
    m_nextKana.clear();
    if (!on() || set == CharSet::Alphanumeric)
        return;
    const int highlight = m_c.sentence->selStart();
    // Enough to fill the keys after those the strip's words already are.
    m_nextKana = m_finder.nextKana(m_c.sentence->shown().left(highlight), m_strip.run(), m_strip.candidates(),
                                   CandidateStrip::NextKanaShown + CandidateFinder::MaxCandidates);
    if (set == CharSet::Katakana)
        for (QString &k : m_nextKana)
            k = NextKana::katakana(k);
}

// Where the kana keys end: the board reaches a little past the window's canvas, the keys end inside it,
// whole.
int CandidateBar::nextRight() const
{
    return std::min(m_boardRect.width(), Canvas::Width - m_boardRect.left());
}

// The room `keys` kana keys take at the strip's right end.
int CandidateBar::nextRoom(int keys) const
{
    return keys <= 0 ? 0 : m_boardRect.width() - nextRight() + keys * (m_height + Gap);
}

// The kana likely next at the strip's right end, most likely first.
void CandidateBar::showNext(const QStringList &kana)
{
    for (ColorButton *b : m_nextButtons) {
        b->hide();
        b->deleteLater();
    }
    m_nextButtons.clear();
    m_nextFrame->setVisible(!kana.isEmpty());
    if (kana.isEmpty())
        return;
    const int side = m_height; // square keys, as high as the strip
    const int width = int(kana.size()) * (side + Gap) - Gap;
    Twips::setRect(m_nextFrame, nextRight() - width, 0, width, m_height);
    for (int i = 0; i < int(kana.size()); ++i) {
        const QString k = kana[i];
        ColorButton *b = makeButton(m_nextFrame, "cmdNext", k, {i * (side + Gap), 0, side, m_height},
                                    NextKanaBack, Points, false, i);
        Fonts::set(b, Fonts::Gothic, Points);
        connect(b, &QPushButton::clicked, this, [this, k] {
            m_shared.keyBeep();
            if (m_enterKana)
                m_enterKana(k);
        });
        b->show();
        m_nextButtons.push_back(b);
    }
}

void CandidateBar::apply(const CandidateStrip::Edit &e)
{
    m_editing = true;
    m_c.sentence->replace(e.text, e.caret);
    FocusAndHighlight(m_c.txtTalk, *m_c.sentence);
    m_editing = false;
    Speech::speakIfVoiced(m_shared, e.spoken, Speech::Entered);
    showCandidates();
    // The stored sentences follow the new ending as they follow a typed character: a list
    // left keyed on the replaced kana would put them back on Decide.
    m_suggestions.SuggestFromTail(m_c.sentence->shown());
}

void CandidateBar::take(int index)
{
    m_shared.keyBeep();
    if (const auto e = m_strip.take(index, m_c.sentence->shown(), m_c.sentence->selStart())) {
        apply(*e);
        // The kana left after the run's first words get their candidates once the take is said.
        QTimer::singleShot(0, this, [this] {
            m_strip.lookUpRest();
            lookUpNext();
            showCandidates();
        });
    }
}

bool CandidateBar::undoTake()
{
    if (!on())
        return false;
    const auto e = m_strip.undoTake(m_c.sentence->shown(), m_c.sentence->selStart());
    if (e)
        apply(*e);
    return e.has_value();
}

void CandidateBar::learnSentence(const QString &sentence)
{
    QString text = sentence;
    text.remove(Sentence::Marker);
    if (!text.trimmed().isEmpty())
        m_finder.learnSentence(text);
}

QString CandidateBar::readingOf(const QString &text)
{
    auto it = m_readings.constFind(text);
    if (it == m_readings.cend())
        it = m_readings.insert(text, KanaReading::of(text));
    return *it;
}
