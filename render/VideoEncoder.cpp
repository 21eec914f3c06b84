#include "VideoEncoder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace {

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

// FFmpeg opens files by UTF-8 names on Windows and by the system's encoding elsewhere.
QByteArray ffmpegFileName(const QString& path)
{
#ifdef Q_OS_WIN
    return path.toUtf8();
#else
    return QFile::encodeName(path);
#endif
}

QString averror(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

// The frame in 256 colours of its own: the most common of 4096 colour boxes, each the mean of the
// pixels in it, every pixel then taking the nearest. Flat backgrounds and line colours come out
// exact; a fixed colour cube with dithering would sprinkle dots over them.
QImage indexedFrame(const QImage& rgb)
{
    struct Box {
        qint64 count = 0, r = 0, g = 0, b = 0;
    };
    std::vector<Box> boxes(4096);
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* p = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x, p += 3) {
            Box& box = boxes[(p[0] >> 4) << 8 | (p[1] >> 4) << 4 | p[2] >> 4];
            ++box.count;
            box.r += p[0];
            box.g += p[1];
            box.b += p[2];
        }
    }
    std::vector<int> order(boxes.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    const size_t kept = std::min<size_t>(256, boxes.size());
    std::partial_sort(order.begin(), order.begin() + kept, order.end(),
                      [&boxes](int a, int b) { return boxes[a].count > boxes[b].count; });
    QVector<QRgb> palette;
    for (size_t i = 0; i < kept && boxes[order[i]].count > 0; ++i) {
        const Box& box = boxes[order[i]];
        palette.append(qRgb(int(box.r / box.count), int(box.g / box.count), int(box.b / box.count)));
    }
    return rgb.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
}

}  // namespace

struct VideoEncoder::Private {
    QString path;
    Format format = Format::Unsupported;
    QSize size;
    AVFormatContext* container = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* toYuv = nullptr;
    int frames = 0;
    bool headerWritten = false;

    // Hands FRAME (null: the end) to the encoder and writes every packet it gives back.
    bool encode(AVFrame* input, QString* error)
    {
        int code = avcodec_send_frame(codec, input);
        if (code < 0)
            return fail(error, QStringLiteral("Cannot encode a frame: %1").arg(averror(code)));
        while ((code = avcodec_receive_packet(codec, packet)) == 0) {
            if (packet->duration == 0)
                packet->duration = 1;
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            code = av_interleaved_write_frame(container, packet);
            if (code < 0)
                return fail(
                    error,
                    QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), averror(code)));
        }
        return code == AVERROR(EAGAIN) || code == AVERROR_EOF
                   ? true
                   : fail(error, QStringLiteral("Cannot encode a frame: %1").arg(averror(code)));
    }

    void close()
    {
        sws_freeContext(toYuv);
        toYuv = nullptr;
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&codec);
        if (container) {
            if (container->pb)
                avio_closep(&container->pb);
            avformat_free_context(container);
            container = nullptr;
        }
    }
};

VideoEncoder::Format VideoEncoder::formatFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("mp4")   ? Format::Mp4
           : suffix == QLatin1String("gif") ? Format::Gif
                                            : Format::Unsupported;
}

QSize VideoEncoder::frameSize(Format format, const QSize& wanted)
{
    if (format != Format::Mp4)
        return wanted;
    return QSize(qMax(2, wanted.width() & ~1), qMax(2, wanted.height() & ~1));
}

VideoEncoder::VideoEncoder() : d(std::make_unique<Private>())
{
    // The encoders report their settings on standard error; only failures are of interest.
    av_log_set_level(AV_LOG_ERROR);
}

VideoEncoder::~VideoEncoder()
{
    abort();
}

int VideoEncoder::framesWritten() const
{
    return d->frames;
}

bool VideoEncoder::open(const QString& path, const QSize& wanted, int fps, QString* error)
{
    abort();
    d->path = path;
    d->format = formatFor(path);
    if (d->format == Format::Unsupported)
        return fail(error, QStringLiteral("Cannot save \"%1\": the animation type must be .mp4 or .gif.")
                               .arg(QFileInfo(path).fileName()));
    if (fps < 1 || wanted.width() < 1 || wanted.height() < 1)
        return fail(error, QStringLiteral("An animation needs a frame rate and a size above 0."));
    const bool mp4 = d->format == Format::Mp4;
    d->size = frameSize(d->format, wanted);
    const QByteArray name = ffmpegFileName(path);
    if (avformat_alloc_output_context2(&d->container, nullptr, mp4 ? "mp4" : "gif", name.constData()) < 0)
        return fail(error, QStringLiteral("FFmpeg cannot write %1 files.").arg(mp4 ? "MP4" : "GIF"));

    const AVCodec* codec =
        mp4 ? avcodec_find_encoder(AV_CODEC_ID_H264) : avcodec_find_encoder(AV_CODEC_ID_GIF);
    if (!codec) {
        d->close();
        return fail(error, QStringLiteral("This FFmpeg has no %1 encoder.").arg(mp4 ? "H.264" : "GIF"));
    }
    d->stream = avformat_new_stream(d->container, nullptr);
    d->codec = avcodec_alloc_context3(codec);
    d->codec->width = d->size.width();
    d->codec->height = d->size.height();
    d->codec->time_base = AVRational{1, fps};
    d->codec->framerate = AVRational{fps, 1};
    d->codec->pix_fmt = mp4 ? AV_PIX_FMT_YUV420P : AV_PIX_FMT_PAL8;
    if (mp4) {
        d->codec->gop_size = fps;
        // Lines and flat colours: a quality setting rather than a bit rate keeps them sharp.
        av_opt_set(d->codec->priv_data, "preset", "veryfast", 0);
        av_opt_set(d->codec->priv_data, "crf", "20", 0);
    }
    if (d->container->oformat->flags & AVFMT_GLOBALHEADER)
        d->codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int code = avcodec_open2(d->codec, codec, nullptr);
    if (code >= 0)
        code = avcodec_parameters_from_context(d->stream->codecpar, d->codec);
    if (code < 0) {
        d->close();
        return fail(
            error,
            QStringLiteral("Cannot start the %1 encoder: %2").arg(mp4 ? "H.264" : "GIF", averror(code)));
    }
    d->stream->time_base = d->codec->time_base;
    code = avio_open(&d->container->pb, name.constData(), AVIO_FLAG_WRITE);
    if (code >= 0) {
        code = avformat_write_header(d->container, nullptr);
        d->headerWritten = code >= 0;
    }
    if (code < 0) {
        abort();
        return fail(error,
                    QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), averror(code)));
    }

    d->frame = av_frame_alloc();
    d->frame->format = d->codec->pix_fmt;
    d->frame->width = d->size.width();
    d->frame->height = d->size.height();
    d->packet = av_packet_alloc();
    if (av_frame_get_buffer(d->frame, 0) < 0) {
        abort();
        return fail(error, QStringLiteral("Out of memory for a frame."));
    }
    if (mp4)
        d->toYuv =
            sws_getContext(d->size.width(), d->size.height(), AV_PIX_FMT_RGB24, d->size.width(),
                           d->size.height(), AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
    return true;
}

bool VideoEncoder::addFrame(const QImage& picture, QString* error)
{
    if (!d->frame)
        return fail(error, QStringLiteral("The animation file is not open."));
    QImage image = picture.size() == d->size
                       ? picture
                       : picture.scaled(d->size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image = image.convertToFormat(QImage::Format_RGB888);
    if (av_frame_make_writable(d->frame) < 0)
        return fail(error, QStringLiteral("Out of memory for a frame."));
    if (d->format == Format::Mp4) {
        const uint8_t* rows[1] = {image.constBits()};
        const int strides[1] = {int(image.bytesPerLine())};
        sws_scale(d->toYuv, rows, strides, 0, image.height(), d->frame->data, d->frame->linesize);
    } else {
        // GIF holds up to 256 colours a frame; FFmpeg writes them as the frame's table.
        const QImage indexed = indexedFrame(image);
        for (int y = 0; y < indexed.height(); ++y)
            std::memcpy(d->frame->data[0] + y * d->frame->linesize[0], indexed.constScanLine(y),
                        indexed.width());
        auto* palette = reinterpret_cast<uint32_t*>(d->frame->data[1]);
        const QVector<QRgb> colors = indexed.colorTable();
        for (int i = 0; i < 256; ++i)
            palette[i] = i < colors.size() ? (colors[i] | 0xff000000u) : 0xff000000u;
    }
    d->frame->pts = d->frames;
    if (!d->encode(d->frame, error))
        return false;
    ++d->frames;
    return true;
}

bool VideoEncoder::finish(QString* error)
{
    if (!d->frame)
        return fail(error, QStringLiteral("The animation file is not open."));
    if (!d->encode(nullptr, error))
        return false;
    const int code = av_write_trailer(d->container);
    d->headerWritten = false;
    d->close();
    if (code < 0)
        return fail(
            error,
            QStringLiteral("Cannot finish %1: %2").arg(QDir::toNativeSeparators(d->path), averror(code)));
    d->path.clear();
    return true;
}

void VideoEncoder::abort()
{
    const bool opened = d->container && d->container->pb;
    // Some muxers (GIF's) free the packet they hold back only in their trailer; the file goes anyway.
    if (d->headerWritten)
        av_write_trailer(d->container);
    d->close();
    d->headerWritten = false;
    if (opened)
        QFile::remove(d->path);
    d->frames = 0;
}
