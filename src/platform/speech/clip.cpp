#include "platform/speech/clip.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <sndfile.h>
#include <soxr.h>

namespace {

// libsndfile reads from and writes to memory through these.
struct Memory
{
    QByteArray bytes;
    sf_count_t pos = 0;
};

sf_count_t memLength(void *user)
{
    return static_cast<Memory *>(user)->bytes.size();
}

sf_count_t memSeek(sf_count_t offset, int whence, void *user)
{
    auto *m = static_cast<Memory *>(user);
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m->pos : m->bytes.size();
    m->pos = std::max<sf_count_t>(0, base + offset);
    return m->pos;
}

sf_count_t memRead(void *out, sf_count_t count, void *user)
{
    auto *m = static_cast<Memory *>(user);
    const sf_count_t n = std::clamp<sf_count_t>(m->bytes.size() - m->pos, 0, count);
    if (n > 0)
        std::memcpy(out, m->bytes.constData() + m->pos, size_t(n));
    m->pos += n;
    return n;
}

sf_count_t memWrite(const void *in, sf_count_t count, void *user)
{
    auto *m = static_cast<Memory *>(user);
    if (m->pos + count > m->bytes.size())
        m->bytes.resize(qsizetype(m->pos + count));
    std::memcpy(m->bytes.data() + m->pos, in, size_t(count));
    m->pos += count;
    return count;
}

sf_count_t memTell(void *user)
{
    return static_cast<Memory *>(user)->pos;
}

SF_VIRTUAL_IO memoryIo{memLength, memSeek, memRead, memWrite, memTell};

QString tr(const char *text)
{
    return QCoreApplication::translate("ClipOps", text);
}

} // namespace

namespace ClipOps {

std::optional<Clip> decode(const QByteArray &bytes, QString *why, int maxSeconds)
{
    auto fail = [why](const QString &reason) -> std::optional<Clip> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (bytes.isEmpty())
        return fail(tr("空のファイルです"));
    Memory memory{bytes, 0};
    SF_INFO info{};
    SNDFILE *file = sf_open_virtual(&memoryIo, SFM_READ, &info, &memory);
    if (!file)
        return fail(tr("音声ファイルとして読めません（形式が分かりません）"));
    struct Closer
    {
        SNDFILE *f;
        ~Closer() { sf_close(f); }
    } closer{file};
    if (info.channels < 1 || info.channels > MaxChannels)
        return fail(tr("%1 チャンネルの音です（1 か 2 チャンネルだけ使えます）").arg(info.channels));
    if (info.samplerate < 4000 || info.samplerate > 384000)
        return fail(tr("サンプリング周波数 %1 Hz は使えません").arg(info.samplerate));
    // Float files are clipped at full scale rather than wrapped.
    sf_command(file, SFC_SET_SCALE_FLOAT_INT_READ, nullptr, SF_TRUE);
    const auto tooLong = [&] {
        return fail(tr("%1 秒より長い音です（録音は 1 つ %1 秒まで）").arg(maxSeconds));
    };
    const qint64 most = maxSeconds > 0 ? qint64(maxSeconds) * info.samplerate : -1;
    if (most >= 0 && info.frames > most && info.frames != SF_COUNT_MAX)
        return tooLong();
    std::vector<qint16> frames;
    qint16 buffer[4096 * MaxChannels];
    sf_count_t got;
    while ((got = sf_readf_short(file, buffer, 4096)) > 0) {
        if (most >= 0 && qint64(frames.size()) + got > most)
            return tooLong(); // a length the file did not tell

        for (sf_count_t i = 0; i < got; ++i) {
            int sum = 0;
            for (int c = 0; c < info.channels; ++c)
                sum += buffer[i * info.channels + c];
            frames.push_back(qint16(sum / info.channels));
        }
    }
    if (sf_error(file) != SF_ERR_NO_ERROR && frames.empty())
        return fail(tr("音声を読み出せません（%1）").arg(QString::fromUtf8(sf_strerror(file))));
    if (frames.empty())
        return fail(tr("音が入っていません"));
    Clip clip;
    clip.sampleRate = info.samplerate;
    clip.samples = std::move(frames);
    return clip;
}

QByteArray toFlac(const Clip &clip)
{
    Memory memory;
    SF_INFO info{};
    info.samplerate = clip.sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    SNDFILE *file = sf_open_virtual(&memoryIo, SFM_WRITE, &info, &memory);
    if (!file)
        return {};
    const sf_count_t n = sf_count_t(clip.samples.size());
    const bool written = sf_writef_short(file, clip.samples.data(), n) == n;
    sf_close(file); // the FLAC stream is finished here
    return written ? memory.bytes : QByteArray();
}

void trimSilence(Clip &clip, int threshold)
{
    auto loud = [threshold](qint16 s) { return std::abs(int(s)) >= threshold; };
    const auto first = std::find_if(clip.samples.begin(), clip.samples.end(), loud);
    if (first == clip.samples.end()) {
        clip.samples.clear();
        return;
    }
    const auto last = std::find_if(clip.samples.rbegin(), clip.samples.rend(), loud).base();
    const qsizetype margin = clip.sampleRate / 200; // 5 ms, so the voice does not start with a click
    const qsizetype begin = std::max<qsizetype>(0, (first - clip.samples.begin()) - margin);
    const qsizetype end =
        std::min<qsizetype>(qsizetype(clip.samples.size()), (last - clip.samples.begin()) + margin);
    clip.samples = std::vector<qint16>(clip.samples.begin() + begin, clip.samples.begin() + end);
}

Clip resampled(const Clip &clip, int rate)
{
    if (clip.sampleRate == rate || clip.sampleRate <= 0 || rate <= 0 || clip.samples.empty())
        return clip;
    Clip out;
    out.sampleRate = rate;
    const double ratio = double(rate) / clip.sampleRate;
    out.samples.resize(size_t(std::ceil(clip.samples.size() * ratio)) + 16);
    const soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    size_t done = 0;
    const soxr_error_t error =
        soxr_oneshot(clip.sampleRate, rate, 1, clip.samples.data(), clip.samples.size(), nullptr,
                     out.samples.data(), out.samples.size(), &done, &io, &quality, nullptr);
    if (error) {
        out.samples.clear();
        return out;
    }
    out.samples.resize(done);
    return out;
}

void scaleVolume(Clip &clip, double volume)
{
    if (volume >= 0.999)
        return;
    for (qint16 &s : clip.samples)
        s = qint16(std::lround(s * std::clamp(volume, 0.0, 1.0)));
}

QByteArray toBytes(const Clip &clip)
{
    return QByteArray(reinterpret_cast<const char *>(clip.samples.data()),
                      qsizetype(clip.samples.size() * 2));
}

Clip fromBytes(const QByteArray &bytes, int sampleRate)
{
    Clip clip;
    clip.sampleRate = sampleRate;
    clip.samples.resize(size_t(bytes.size() / 2));
    if (!clip.samples.empty())
        std::memcpy(clip.samples.data(), bytes.constData(), clip.samples.size() * 2);
    return clip;
}

} // namespace ClipOps
