// Writing with candidates: how often the first (or one of the first five)
// candidates of each kana run gives the wanted sentence, how many presses and
// scan steps a character costs with candidates and without, what learning
// from the user's earlier writing saves, and how long a lookup takes; and
// the same writing by simulated users (a practised and a slow one-switch
// user, a gaze user on dwell) with the set timing and with the timing that
// follows them, in seconds and corrections per character.
//
//   bench_writing SENTENCES.tsv [--history HISTORY.tsv] [--misses]
//
// The files are tab-separated: reading, expected text, other accepted forms
// separated by "|". With a history, its sentences are written (and learnt)
// first, as the user would have written them before.
//
// The strip shows the candidates that fit beside the kana likely next
// (BENCH_NEXT_KANA=n offers n of them, 0 none); BENCH_LAYOUT=name has the
// simulated switch users scan that layout rather than the best one;
// BENCH_WRITING_BREAKDOWN=1 tells where the steps go.
#include "board/candidatefinder.h"
#include "board/candidatestrip.h"
#include "board/strippriority.h"
#include "entries/entryformat.h"
#include "platform/conversion/learningstore.h"
#include "platform/conversion/mozcengine.h"
#include "platform/conversion/wordlist.h"
#include "scancount.h"
#include "simulatedusers.h"
#include "timing.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <functional>
#include <map>

namespace {

// The strip's room in twips, as the window lays it out: a candidate is its text at 30 points
// (600 twips a character) and 240 on either side; the kana likely next take a square key of 900 each.
constexpr int StripRoom = 15345, StripGap = 60, CharTwips = 600, CandPadding = 240, KanaKey = 900;
constexpr int KanaMargin = 15345 - 15270; // the strip reaches past the window, the kana keys do not
constexpr int StripTarget = 5000;         // scan targets of the strip's candidates
constexpr int NextTarget = 6000;          // scan targets of the kana likely next
constexpr int Layouts = int(std::size(ScanCount::Layouts));
constexpr int Places = int(std::size(ScanCount::CallPlaces));

struct Sentence
{
    QString reading;
    QString expected;
    QStringList forms; // every accepted form, without spaces
};

QString noSpaces(QString s)
{
    s.remove(u' ');
    s.remove(u'\u3000');
    return s;
}

std::vector<Sentence> readSentences(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bench_writing: cannot read %s\n", qPrintable(path));
        std::exit(2);
    }
    std::vector<Sentence> out;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList c = lines[i].split(u'\t');
        if (c.size() < 2 || c[0].isEmpty())
            continue;
        Sentence s{c[0], c[1], {noSpaces(c[1])}};
        if (c.size() > 2)
            for (const QString &f : c[2].split(u'|', Qt::SkipEmptyParts))
                s.forms << noSpaces(f);
        out.push_back(s);
    }
    return out;
}

bool inRun(QChar c)
{
    return (c >= u'ぁ' && c <= u'ゖ') || c == u'ー';
}

// What one writer has learnt, and the strip they write with.
struct Writer
{
    Writer(ConversionEngine &engine, const WordList &vocabulary, const QString &store)
        : learnt(store), finder(&engine, &learnt, &vocabulary), strip(finder)
    {
        // The stored sentences a new list starts with, as every user has them.
        finder.setWrittenBefore([] { return EntryFormat::starterSentences(); });
    }
    LearningStore learnt;
    CandidateFinder finder;
    CandidateStrip strip;
};

struct Cost
{
    bool written = false; // the sentence came out as wanted
    double presses = 0;
    // By where the call stands (ScanCount::CallPlaces), then by layout.
    std::array<std::array<double, Layouts>, Places> steps{};
    Cost &operator+=(const Cost &o)
    {
        presses += o.presses;
        for (int p = 0; p < Places; ++p)
            for (int l = 0; l < Layouts; ++l)
                steps[size_t(p)][size_t(l)] += o.steps[size_t(p)][size_t(l)];
        return *this;
    }
};

// How many kana likely next the strip offers (0: none, as before it offered any).
int nextShown()
{
    return qEnvironmentVariableIsSet("BENCH_NEXT_KANA") ? qEnvironmentVariableIntValue("BENCH_NEXT_KANA")
                                                        : CandidateStrip::NextKanaShown;
}

// `n` leaves, targets from `first` on, as one group of the scan.
std::vector<ScanNode> leaves(const QString &label, int first, int n)
{
    std::vector<ScanNode> top, members;
    for (int i = 0; i < n; ++i)
        members.push_back(ScanNode::leaf(QString::number(i), first + i));
    ScanLayouts::appendGroup(top, label, std::move(members));
    return top;
}

std::vector<ScanNode> nextGroup(int n)
{
    return leaves(QStringLiteral("next"), NextTarget, n);
}

std::vector<ScanNode> stripGroup(int n)
{
    return leaves(QStringLiteral("candidates"), StripTarget, n);
}

// The strip's score, or 1 (always first) to compare with the strip always before the board.
double placed(double likely)
{
    return qEnvironmentVariableIsSet("BENCH_STRIP_ALWAYS_FIRST") ? 1 : likely;
}

int stepsToTarget(const ScanCount::Layout &layout, int target, int stripSize, double likely,
                  ScanCount::CallPlace place, int next)
{
    Scanner s(Scanner::Method::Step);
    s.setTree(ScanCount::boardTree(layout, stripGroup(stripSize), placed(likely), place, nextGroup(next)), 0);
    return ScanCount::stepsTo(s, target);
}

// One character typed on the board, the strip holding `stripSize` candidates.
// The space has its button; a character of another set costs two presses of
// the set button (there and back) besides its own two.
Cost typing(QChar ch, int stripSize, double likely, int next = 0, int nextIndex = -1)
{
    Cost c;
    const bool space = ch == u' ' || ch == u'\u3000';
    const bool onBoard = ScanCount::route(QString(ch)).has_value();
    c.presses = nextIndex >= 0 ? 1 : space ? 1 : onBoard ? 2 : 4;
    const double first = placed(likely);
    for (int p = 0; p < Places; ++p)
        for (int l = 0; l < Layouts; ++l) {
            const auto &layout = ScanCount::Layouts[l];
            const auto place = ScanCount::CallPlaces[p];
            if (nextIndex >= 0) {
                c.steps[size_t(p)][size_t(l)] =
                    stepsToTarget(layout, NextTarget + nextIndex, stripSize, likely, place, next);
                continue;
            }
            const int button = stepsToTarget(layout, ScanCount::FirstButton, stripSize, likely, place, next);
            c.steps[size_t(p)][size_t(l)] =
                space     ? button
                : onBoard ? ScanCount::stepsForCharacter(layout, QString(ch), stripGroup(stripSize), first,
                                                         place, nextGroup(next))
                          : 2 * button + ScanCount::stepsForCharacter(layout, QStringLiteral("な"),
                                                                      stripGroup(stripSize), first, place,
                                                                      nextGroup(next));
        }
    return c;
}

Cost taking(int index, int stripSize, double likely, int next = 0)
{
    Cost c;
    c.presses = 1;
    for (int p = 0; p < Places; ++p)
        for (int l = 0; l < Layouts; ++l)
            c.steps[size_t(p)][size_t(l)] = stepsToTarget(ScanCount::Layouts[l], StripTarget + index,
                                                          stripSize, likely, ScanCount::CallPlaces[p], next);
    return c;
}

bool prefixOfAny(const QString &text, const QStringList &forms)
{
    const QString t = noSpaces(text);
    for (const QString &f : forms)
        if (f.startsWith(t))
            return true;
    return false;
}

// Whether `text` can be written from the kana `reading`: its kana (katakana
// as hiragana) and marks stand for themselves, each run of other characters
// for one kana or more.
bool readsAs(QStringView text, QStringView reading)
{
    if (text.isEmpty())
        return reading.isEmpty();
    QChar t = text[0];
    if (t >= u'ァ' && t <= u'ヶ')
        t = QChar(t.unicode() - 0x60);
    if (inRun(t) || !t.isLetterOrNumber())
        return !reading.isEmpty() && reading[0] == t && readsAs(text.mid(1), reading.mid(1));
    qsizetype run = 1;
    while (run < text.size() && text[run].isLetterOrNumber() && !inRun(text[run]) &&
           !(text[run] >= u'ァ' && text[run] <= u'ヶ'))
        ++run;
    for (qsizetype k = 1; k <= reading.size() && inRun(reading[k - 1]); ++k)
        if (readsAs(text.mid(run), reading.mid(k)))
            return true;
    return false;
}

// Whether a user wanting one of `forms` would take `text` for the reading up
// to `readTo`: it begins a form whose rest can still be written from the rest of the reading.
// Part of a written word is not the word a user is after (美 of 美容院).
bool leadsTo(const QString &text, const Sentence &s, qsizetype readTo)
{
    const QString t = noSpaces(text);
    const auto written = [](QChar c) {
        return c.isLetterOrNumber() && !inRun(c) && !(c >= u'ァ' && c <= u'ヶ');
    };
    for (const QString &f : s.forms)
        if (f.startsWith(t) && readsAs(QStringView(f).mid(t.size()), noSpaces(s.reading.mid(readTo))) &&
            !(!t.isEmpty() && t.size() < f.size() && written(t.back()) && written(f[t.size()])))
            return true;
    return false;
}

// What the user did to write a sentence: a character typed or a candidate taken,
// with as many candidates on the strip as it showed then.
struct Action
{
    bool take = false;
    QChar ch;
    int index = 0;
    int shown = 0;
    double likely = 0;  // the strip's score then
    int next = 0;       // kana likely next on offer then
    int nextIndex = -1; // where the typed one stood among them
};

// Writes the sentence as the user would: types the reading kana by kana and
// takes a right candidate as soon as the strip shows one.
Cost write(Writer &w, const Sentence &s, bool withCandidates, Timings *lookups,
           std::vector<Action> *actions = nullptr)
{
    Cost cost;
    QString text = QStringLiteral("_");
    int highlight = 0;
    qsizetype rp = 0; // how much of the reading is written
    w.strip.clear();
    for (int guard = 0; guard < 4 * s.reading.size() + 8; ++guard) {
        const QString written = text.chopped(1);
        if (rp == s.reading.size() && s.forms.contains(noSpaces(written))) {
            cost.written = true;
            break;
        }
        const auto &all = w.strip.candidates();
        QStringList next;
        if (withCandidates && nextShown() > 0)
            next =
                w.finder.nextKana(written, w.strip.run(), all, nextShown() + CandidateFinder::MaxCandidates);
        // What the strip shows: the candidates that fit beside the kana keys.
        std::vector<Candidate> cands;
        if (withCandidates) {
            std::vector<int> widths;
            for (const Candidate &c : all)
                widths.push_back(int(c.text.size()) * CharTwips + 2 * CandPadding);
            const int count = std::min(int(next.size()), nextShown());
            const int keys = count == 0 ? 0 : KanaMargin + count * (KanaKey + StripGap);
            for (const int i : CandidateStrip::fitting(widths, StripRoom - keys, StripGap))
                cands.push_back(all[size_t(i)]);
            // A kana a word shown is by itself gives its key to the next likeliest, as in the window.
            QStringList words;
            for (const Candidate &c : cands)
                words << c.text;
            next = NextKana::besides(next, words, nextShown());
        }
        const int shown = int(cands.size());
        const double likely = shown > 0 ? StripPriority::likelihood(w.strip.run(), all) : 0;
        const qsizetype runRead = rp - w.strip.run().size();
        int pick = -1;
        for (int i = 0; i < shown; ++i) {
            const Candidate &c = cands[size_t(i)];
            if (!QStringView(s.reading).mid(runRead).startsWith(c.reading) ||
                !leadsTo(written.left(w.strip.runStart()) + c.text, s, runRead + c.reading.size()))
                continue;
            if (pick < 0 || c.reading.size() > cands[size_t(pick)].reading.size())
                pick = i;
        }
        if (qEnvironmentVariableIsSet("BENCH_WRITING_TRACE") && withCandidates) {
            QStringList shownTexts;
            for (int i = 0; i < shown; ++i)
                shownTexts << cands[size_t(i)].text + u'/' + cands[size_t(i)].reading;
            std::fprintf(stderr, "  [%s] %s -> %s\n", qPrintable(w.strip.run()), qPrintable(written),
                         qPrintable(shownTexts.join(u' ')));
        }
        if (pick >= 0) {
            cost += taking(pick, shown, likely, int(next.size()));
            if (actions)
                actions->push_back({true, QChar(), pick, shown, likely, int(next.size())});
            const qsizetype covered = cands[size_t(pick)].reading.size();
            const auto edit = w.strip.take(
                int(std::find(all.begin(), all.end(), cands[size_t(pick)]) - all.begin()), text, highlight);
            if (!edit)
                break;
            w.strip.lookUpRest();
            text = edit->text;
            highlight = edit->caret;
            rp = std::max(rp, runRead + covered); // the run's first words leave the rest typed
            continue;
        }
        if (rp == s.reading.size())
            break; // nothing on offer gives the wanted text
        const QChar ch = s.reading[rp++];
        const int nextIndex = int(next.indexOf(QString(ch)));
        if (qEnvironmentVariableIsSet("BENCH_NEXT_TRACE") && withCandidates)
            std::fprintf(stderr, "  next %s|%s [%s] want %s at %d\n", qPrintable(written),
                         qPrintable(w.strip.run()), qPrintable(next.join(QString())), qPrintable(QString(ch)),
                         nextIndex);
        cost += typing(ch, shown, likely, int(next.size()), nextIndex);
        if (actions)
            actions->push_back({false, ch, 0, shown, likely, int(next.size()), nextIndex});
        text.insert(highlight++, ch);
        if (withCandidates) {
            const auto start = std::chrono::steady_clock::now();
            w.strip.afterEntry(text, highlight);
            if (lookups && !w.strip.run().isEmpty())
                lookups->add(std::chrono::steady_clock::now() - start);
        }
    }
    return cost;
}

// Whether taking, for every kana run, one of its first `n` candidates (or
// leaving the kana where they are wanted) gives an accepted form.
bool reachable(Writer &w, const Sentence &s, int n, bool tell = false)
{
    // The runs as the strip sees them at their last kana, and what stands between them.
    struct Piece
    {
        QString text;
        QStringList choices;
    };
    std::vector<Piece> pieces;
    QString text = QStringLiteral("_");
    w.strip.clear();
    for (qsizetype i = 0; i < s.reading.size(); ++i) {
        const QChar ch = s.reading[i];
        text.insert(text.size() - 1, ch);
        if (!inRun(ch)) {
            pieces.push_back({QString(ch), {QString(ch)}});
            continue;
        }
        if (i + 1 < s.reading.size() && inRun(s.reading[i + 1]))
            continue;
        w.strip.afterEntry(text, int(text.size()) - 1);
        Piece p{w.strip.run(), {w.strip.run()}};
        for (int k = 0; k < n && k < int(w.strip.candidates().size()); ++k)
            if (const Candidate &c = w.strip.candidates()[size_t(k)]; c.reading.startsWith(p.text))
                p.choices << c.text;
        pieces.push_back(p);
    }
    if (tell)
        for (const Piece &p : pieces)
            if (p.choices.size() > 1)
                std::fprintf(stderr, "    %s: %s\n", qPrintable(p.text),
                             qPrintable(p.choices.mid(1).join(u' ')));
    const std::function<bool(size_t, const QString &)> match = [&](size_t i, const QString &sofar) {
        if (!prefixOfAny(sofar, s.forms))
            return false;
        if (i == pieces.size())
            return s.forms.contains(noSpaces(sofar));
        for (const QString &c : pieces[i].choices)
            if (match(i + 1, sofar + c))
                return true;
        return false;
    };
    return match(0, QString());
}

// One switch user replaying what the writer did, through the scan of the
// layout given, correcting what lands wrong.
class ScanReplay
{
public:
    ScanReplay(SimulatedUsers::SwitchUser &user, const ScanCount::Layout &layout)
        : m_user(user), m_layout(layout)
    {}

    void run(const Action &a)
    {
        m_shown = a.shown;
        m_likely = a.likely;
        m_next = a.next;
        if (a.take) {
            press(StripTarget + a.index);
            return;
        }
        // A kana on offer: pressed again after a wrong press is put right, as the board's would be.
        for (int guard = 0; a.nextIndex >= 0 && guard < 3; ++guard)
            if (press(NextTarget + a.nextIndex))
                return;
        if (a.nextIndex >= 0)
            m_next = 0;
        const bool space = a.ch == u' ' || a.ch == u'\u3000';
        if (space) {
            press(ScanCount::FirstButton);
            return;
        }
        if (!ScanCount::route(QString(a.ch))) {
            press(ScanCount::FirstButton); // to the other set and back
            press(ScanCount::FirstButton);
            type(QStringLiteral("な"));
            return;
        }
        type(QString(a.ch));
    }

private:
    SimulatedUsers::Screen first() const
    {
        return {ScanCount::boardTree(m_layout, stripGroup(m_shown), placed(m_likely),
                                     ScanCount::CallPlace::Program, nextGroup(m_next)),
                0};
    }

    static ScanNode selectionTree(const ScanLayouts::Table &table, bool pickFirst = true)
    {
        std::vector<ScanNode> top = ScanLayouts::selectionScreen(table, pickFirst);
        top.push_back(ScanNode::group(QStringLiteral("buttons"),
                                      {ScanNode::leaf("space", 90), ScanNode::leaf("back", 91)}));
        return ScanNode::group(QString(), std::move(top));
    }

    // A character on the board, through its cell and the selection screen.
    void type(const QString &ch)
    {
        const auto [cell, column] = *ScanCount::route(ch);
        const int target = cell.first * 100 + cell.second;
        for (int guard = 0; guard < 20; ++guard) {
            if (!press(target))
                continue;
            const SimulatedUsers::Screen sel{selectionTree(tableOf(target), m_layout.pickFirst), 0};
            for (int inner = 0; inner < 20; ++inner) {
                const std::optional<int> wrong = m_user.attempt(sel, 3 + column);
                if (!wrong)
                    return;
                m_user.countCorrection();
                if (*wrong < 0)
                    continue; // a group waited out: still on the selection screen
                if (*wrong != SimulatedUsers::SelectionBack)
                    backspace(); // a wrong character typed
                break;           // back on the board: the cell again
            }
        }
    }

    static ScanLayouts::Table tableOf(int cell)
    {
        const SelectionTable cells = SelectionCells(ScanCount::boardCell, cell % 100, cell / 100);
        ScanLayouts::Table table;
        for (int i = 0; i < 3; ++i) {
            auto &row = table.emplace_back();
            for (int j = 0; j < 3; ++j)
                row.push_back({cells[size_t(i)][size_t(j)], i * 3 + j});
        }
        return table;
    }

    // A target of the first screen; false when a wrong press had to be put right first.
    bool press(int target, int depth = 0)
    {
        for (int guard = 0; guard < 20; ++guard) {
            const std::optional<int> wrong = m_user.attempt(first(), target);
            if (!wrong)
                return true;
            m_user.countCorrection();
            if (*wrong >= 0)
                putRight(*wrong, depth);
            if (target < ScanCount::FirstButton || target >= StripTarget)
                return false;
        }
        return false;
    }

    void backspace(int depth = 0)
    {
        if (depth < 4)
            press(SimulatedUsers::Backspace, depth + 1);
    }

    // Undoes a wrong leaf pressed on the first screen.
    void putRight(int wrong, int depth)
    {
        if (depth >= 4)
            return;
        if (wrong < ScanCount::FirstButton) {
            // A wrong cell opened its selection screen: 戻る there.
            SimulatedUsers::Screen sel{selectionTree(tableOf(wrong), m_layout.pickFirst), 0};
            for (int guard = 0; guard < 20; ++guard) {
                const std::optional<int> w = m_user.attempt(sel, SimulatedUsers::SelectionBack);
                if (!w)
                    return;
                m_user.countCorrection();
                if (*w >= 0) {
                    backspace(depth + 1); // a character typed instead
                    return;
                }
            }
            return;
        }
        if (wrong == SimulatedUsers::Backspace) {
            type(QStringLiteral("な")); // a character deleted: typed again
            return;
        }
        backspace(depth + 1); // a wrong candidate or key: ＢＳ takes it back
    }

    SimulatedUsers::SwitchUser &m_user;
    const ScanCount::Layout &m_layout;
    int m_shown = 0;
    double m_likely = 0;
    int m_next = 0;
};

// A gaze user replaying what the writer did: a character is its cell and its
// selection screen, a candidate one look per candidate before it.
void gazeRun(SimulatedUsers::GazeUser &user, const Action &a)
{
    if (a.take) {
        user.select(a.index + 1);
        return;
    }
    if (a.nextIndex >= 0) {
        user.select(a.nextIndex + 1); // the kana on offer, looked along
        return;
    }
    const int glance = (a.shown > 0 ? 1 : 0) + (a.next > 0 ? 1 : 0); // a look at the strip first
    user.select(2 + glance);
    if (a.ch != u' ' && a.ch != u'\u3000')
        user.select(1);
}

int characters(const std::vector<Sentence> &sentences)
{
    int n = 0;
    for (const Sentence &s : sentences)
        n += int(s.expected.size());
    return n;
}

void learnFrom(Writer &w, const std::vector<Sentence> &sentences, std::vector<Action> *actions = nullptr)
{
    for (const Sentence &s : sentences) {
        write(w, s, true, nullptr, actions);
        w.finder.learnSentence(s.expected);
    }
}

double pressesWriting(Writer &w, const std::vector<Sentence> &sentences)
{
    double presses = 0;
    for (const Sentence &s : sentences)
        presses += write(w, s, true, nullptr).presses;
    return presses;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString sentencesPath, historyPath;
    bool misses = false;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == u"--misses")
            misses = true;
        else if (a == u"--history" && i + 1 < argc)
            historyPath = QString::fromLocal8Bit(argv[++i]);
        else
            sentencesPath = a;
    }
    if (sentencesPath.isEmpty()) {
        std::fprintf(stderr, "usage: bench_writing SENTENCES.tsv [--history HISTORY.tsv]\n");
        return 2;
    }
    const std::vector<Sentence> sentences = readSentences(sentencesPath);
    const std::vector<Sentence> history = historyPath.isEmpty() ? sentences : readSentences(historyPath);

    QTemporaryDir tmp;
    MozcEngine::Options options;
    options.profile = tmp.filePath(QStringLiteral("mozc"));
    MozcEngine engine(options);
    if (!engine.start())
        std::fprintf(stderr, "bench_writing: no conversion engine: %s\n", qPrintable(engine.problem()));
    WordList vocabulary;
    QString error;
    if (!vocabulary.load(QStringLiteral(PIROKAN_DATA_DIR "/carewords.tsv"), &error))
        std::fprintf(stderr, "bench_writing: no care vocabulary: %s\n", qPrintable(error));

    Writer user(engine, vocabulary, tmp.filePath(QStringLiteral("user.tsv")));
    std::vector<Action> before; // what the users did before, which the timing follows too
    if (!historyPath.isEmpty())
        learnFrom(user, history, &before);

    int top1 = 0, top5 = 0;
    for (const Sentence &s : sentences) {
        const bool first = reachable(user, s, 1);
        top1 += first;
        const bool five = reachable(user, s, 5);
        top5 += five;
        if (!first && misses) {
            std::fprintf(stderr, "top-%d miss: %s\n", five ? 1 : 5, qPrintable(s.expected));
            reachable(user, s, 5, true);
        }
    }
    const double n = double(sentences.size());
    std::printf("writing_top1 value=%.3f\n", top1 / n);
    std::printf("writing_top5 value=%.3f\n", top5 / n);

    Timings lookups;
    Cost with, without;
    std::vector<Action> actions;
    for (const Sentence &s : sentences) {
        const Cost one = write(user, s, true, &lookups, &actions), none = write(user, s, false, nullptr);
        // Once said, a sentence is learnt, as the program learns what the user reads aloud or keeps.
        if (!qEnvironmentVariableIsSet("BENCH_NO_ONLINE_LEARNING"))
            user.finder.learnSentence(s.expected);
        if (misses)
            std::fprintf(stderr, "presses %.0f of %.0f%s: %s\n", one.presses, none.presses,
                         one.written ? "" : " (not written)", qPrintable(s.expected));
        with += one;
        without += none;
    }
    // The best layout is the one that costs least without candidates, the call where the program puts it.
    constexpr size_t program = size_t(Places) - 1;
    int best = 0;
    for (int l = 1; l < Layouts; ++l)
        if (without.steps[program][size_t(l)] < without.steps[program][size_t(best)])
            best = l;
    const double chars = characters(sentences);
    if (qEnvironmentVariableIsSet("BENCH_WRITING_BREAKDOWN")) {
        // Where the scan steps go: kana typed on the board, candidates taken from the strip.
        std::array<double, 2> steps{};
        std::array<int, 2> count{};
        int offered = 0;
        double offeredSteps = 0;
        std::map<QChar, std::pair<double, int>> byChar;
        for (const Action &a : actions) {
            offered += a.nextIndex >= 0;
            if (a.nextIndex >= 0)
                offeredSteps +=
                    typing(a.ch, a.shown, a.likely, a.next, a.nextIndex).steps[program][size_t(best)];
            const Cost c = a.take ? taking(a.index, a.shown, a.likely, a.next)
                                  : typing(a.ch, a.shown, a.likely, a.next, a.nextIndex);
            steps[a.take] += c.steps[program][size_t(best)];
            ++count[a.take];
            if (!a.take && a.nextIndex < 0) {
                byChar[a.ch].first += c.steps[program][size_t(best)];
                ++byChar[a.ch].second;
            }
        }
        for (int take = 0; take < 2; ++take)
            std::fprintf(stderr, "bench_writing: %s %d, %.2f steps each, %.2f per character\n",
                         take ? "candidates taken" : "kana typed", count[size_t(take)],
                         steps[size_t(take)] / std::max(1, count[size_t(take)]), steps[size_t(take)] / chars);
        for (const auto &[ch, sc] : byChar)
            std::fprintf(stderr, "bench_writing: board %s %d %.1f each, %.0f in all\n",
                         qPrintable(QString(ch)), sc.second, sc.first / sc.second, sc.first);
        std::fprintf(stderr, "bench_writing: kana typed from those on offer %d of %d, %.2f steps each\n",
                     offered, count[0], offeredSteps / std::max(1, offered));
    }
    std::printf("writing_presses_per_char with=%.2f without=%.2f\n", with.presses / chars,
                without.presses / chars);
    // Also with no call (as before there was one) and with the call first (as it first came).
    for (size_t p = 0; p < size_t(Places); ++p)
        std::printf("writing_scan_steps_per_char call=%s with=%.2f without=%.2f\n",
                    ScanCount::nameOf(ScanCount::CallPlaces[p]), with.steps[p][size_t(best)] / chars,
                    without.steps[p][size_t(best)] / chars);

    // The simulated switch users scan the best layout, or the one named (to compare with another).
    int replayed = best;
    for (int l = 0; l < Layouts; ++l)
        if (qEnvironmentVariable("BENCH_LAYOUT") == QLatin1String(ScanCount::Layouts[l].name))
            replayed = l;
    // Another seed shows how much of a figure is the draw's luck.
    const unsigned seed = qEnvironmentVariableIsSet("BENCH_SEED")
                              ? unsigned(qEnvironmentVariableIntValue("BENCH_SEED"))
                              : 20261209u;
    // Simulated users: the same writing by one switch and by gaze, with the set timing and the timing
    // that follows them; what they wrote before is their practice, not counted.
    for (const SimulatedUsers::Reactions *r : {&SimulatedUsers::Practised, &SimulatedUsers::Slow}) {
        std::array<double, 2> secs{}, errs{};
        std::array<int, 2> reached{};
        for (int follow = 0; follow < 2; ++follow) {
            SimulatedUsers::SwitchUser u(*r, follow == 1, seed);
            ScanReplay replay(u, ScanCount::Layouts[replayed]);
            for (const Action &a : before)
                replay.run(a);
            const double s0 = u.seconds();
            const int e0 = u.corrections();
            for (const Action &a : actions)
                replay.run(a);
            secs[size_t(follow)] = (u.seconds() - s0) / chars;
            errs[size_t(follow)] = (u.corrections() - e0) / chars;
            reached[size_t(follow)] = u.intervalMs();
        }
        std::printf("%s fixed_s=%.2f adaptive_s=%.2f fixed_errors=%.3f adaptive_errors=%.3f\n", r->name,
                    secs[0], secs[1], errs[0], errs[1]);
        std::fprintf(stderr, "bench_writing: %s interval reached %d ms\n", r->name, reached[1]);
    }
    {
        std::array<double, 2> secs{}, errs{};
        int reached = 0;
        for (int follow = 0; follow < 2; ++follow) {
            SimulatedUsers::GazeUser u(follow == 1, seed);
            for (const Action &a : before)
                gazeRun(u, a);
            const double s0 = u.seconds();
            const int e0 = u.corrections();
            for (const Action &a : actions)
                gazeRun(u, a);
            secs[size_t(follow)] = (u.seconds() - s0) / chars;
            errs[size_t(follow)] = (u.corrections() - e0) / chars;
            reached = u.dwellMs();
        }
        std::printf("dwell_seconds_per_char fixed=%.2f adaptive=%.2f\n", secs[0], secs[1]);
        std::fprintf(stderr, "bench_writing: dwell time reached %d ms\n", reached);
        std::fprintf(stderr, "bench_writing: dwell corrections per character fixed=%.3f adaptive=%.3f\n",
                     errs[0], errs[1]);
    }

    // Learning: the history's second half written after its first half, and by a writer who learnt nothing.
    const size_t half = history.size() / 2;
    const std::vector<Sentence> first(history.begin(), history.begin() + qsizetype(half));
    const std::vector<Sentence> second(history.begin() + qsizetype(half), history.end());
    Writer learner(engine, vocabulary, tmp.filePath(QStringLiteral("learner.tsv")));
    Writer fresh(engine, vocabulary, tmp.filePath(QStringLiteral("fresh.tsv")));
    learnFrom(learner, first);
    const double learnt = pressesWriting(learner, second), unlearnt = pressesWriting(fresh, second);
    std::printf("writing_learning_gain value=%.3f\n", unlearnt > 0 ? 1 - learnt / unlearnt : 0.0);
    lookups.print("candidate_lookup");
    std::fprintf(stderr, "bench_writing: best scan layout %s; %s\n", ScanCount::Layouts[best].name,
                 engine.working() ? "engine working" : qPrintable(engine.problem()));
    return 0;
}
