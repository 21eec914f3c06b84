// VideoEncoder: writes pictures as the frames of an MP4 (H.264) or GIF file through FFmpeg's
// libraries. Frames of another size are scaled to the video's.
//
//   VideoEncoder video;
//   QString error;
//   if (!video.open("anim.mp4", QSize(1280, 720), 25, &error)) report(error);
//   for (const QImage& frame : frames) video.addFrame(frame, &error);
//   video.finish(&error);  // without it (cancelled, failed) the partial file is removed
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

class VideoEncoder {
public:
    enum class Format { Mp4, Gif, Unsupported };
    // By the extension: mp4 or gif, in any case.
    static Format formatFor(const QString& path);
    // The size written for WANTED: H.264 keeps even sides, so odd ones lose a pixel.
    static QSize frameSize(Format format, const QSize& wanted);

    VideoEncoder();
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // FPS frames a second. False with a reason when the file or the encoder cannot be opened.
    bool open(const QString& path, const QSize& size, int fps, QString* error);
    bool addFrame(const QImage& frame, QString* error);
    // Writes what the encoder still holds and closes the file.
    bool finish(QString* error);
    // Closes without finishing and removes the file.
    void abort();
    int framesWritten() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
