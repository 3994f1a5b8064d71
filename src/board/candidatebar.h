#pragma once

#include "board/candidatefinder.h"
#include "board/candidatestrip.h"
#include "board/writtenbefore.h"

#include <QHash>
#include <QObject>
#include <QRect>
#include <QTimer>
#include <functional>
#include <vector>

struct SharedState;
class ColorButton;
class ColorFrame;
class ColorLabel;
class Grid;
class Suggestions;
class QWidget;
class Sentence;

// The strip of candidates between the text and the board, while kanji
// candidates are on: one button per candidate, pressed like any key. With the
// option off it is hidden and the board keeps its place and size.
class CandidateBar final : public QObject
{
    Q_OBJECT
public:
    // The controls the strip owns, and those it makes room beside.
    struct Controls
    {
        ColorFrame *fraCand;
        Grid *grdBoard;
        QWidget *txtTalk; // the text box, which takes the focus back
        Sentence *sentence;
    };

    static constexpr int Height = 900;     // twips: 60 px at the window's first scale; more when it is small
    static constexpr double Points = 30.0; // the board's font, at a size that fits the strip
    static constexpr int NoticeMs = 8000;  // how long a notice stays on the strip

    CandidateBar(const Controls &c, SharedState &shared, Suggestions &suggestions);

    // Shows or hides the strip as the option says, and gives the board its place.
    void applyOption();
    bool on() const;

    // A character was entered: its candidates follow once the voice has been started.
    void afterEntry();
    // Replaces the run with candidate `index`; the voice says it.
    void take(int index);
    // Right after a take, gives the kana back; false when the last press was no take.
    bool undoTake();

    void learnSentence(const QString &sentence);
    // A stored sentence's reading (computed once, then kept).
    QString readingOf(const QString &text);

    const std::vector<ColorButton *> &buttons() const { return m_buttons; }
    // The kana likely typed next, as the strip offers them; a press enters one as the board would.
    const std::vector<ColorButton *> &nextButtons() const { return m_nextButtons; }
    void setEnterKana(std::function<void(const QString &)> enter) { m_enterKana = std::move(enter); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int stripHeight() const;
    void layOut();
    void showCandidates();
    void emptyStrip();
    void apply(const CandidateStrip::Edit &e);
    void lookUpNext();
    int nextRight() const;
    int nextRoom(int keys) const;
    void showNext(const QStringList &kana);

    Controls m_c;
    SharedState &m_shared;
    Suggestions &m_suggestions;
    WrittenBefore m_writtenBefore;
    CandidateFinder m_finder;
    CandidateStrip m_strip;
    QRect m_boardRect; // the board's place and font with the option off
    double m_boardPoints;
    int m_height = Height; // the strip's, in twips
    std::vector<ColorButton *> m_buttons;
    ColorFrame *m_nextFrame = nullptr;
    std::vector<ColorButton *> m_nextButtons;
    QStringList m_nextKana; // the likeliest first, more than the keys show
    int m_nextSet = -1;     // the board's character set the kana were offered for
    QTimer m_nextTimer;     // looks the next kana up once the change that called for it is done
    std::function<void(const QString &)> m_enterKana;
    ColorLabel *m_notice = nullptr;
    QTimer m_noticeTimer;
    bool m_editing = false; // the text is being changed by the strip itself
    QHash<QString, QString> m_readings;
};
