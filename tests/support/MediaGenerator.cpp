#include "MediaGenerator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

QString &errorText()
{
    static QString text;
    return text;
}

QTemporaryDir &cacheDir()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lumivane-media-XXXXXX"));
    return dir;
}

QString pathFor(const QString &name)
{
    return cacheDir().filePath(name);
}

// Runs ffmpeg without a shell; true when it produced a non-empty file.
bool runFfmpeg(const QStringList &arguments, const QString &output)
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"} + arguments
                     + QStringList{output});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit
        || ffmpeg.exitCode() != 0) {
        errorText() = QStringLiteral("ffmpeg failed: %1 %2")
                          .arg(ffmpeg.errorString(), QString::fromLocal8Bit(ffmpeg.readAll()));
        QFile::remove(output);
        return false;
    }
    if (QFileInfo(output).size() <= 0) {
        errorText() = QStringLiteral("ffmpeg wrote nothing to %1").arg(output);
        return false;
    }
    return true;
}

QString cached(const QString &name, const QStringList &arguments)
{
    if (!cacheDir().isValid()) {
        errorText() = QStringLiteral("no temporary folder");
        return {};
    }
    const QString path = pathFor(name);
    if (QFileInfo::exists(path) || runFfmpeg(arguments, path))
        return path;
    return {};
}

QString writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = pathFor(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        errorText() = file.errorString();
        return {};
    }
    return path;
}

QString sizeText(QSize size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QString seconds(double value)
{
    return QString::number(value, 'f', 3);
}

QStringList sineInput(double duration)
{
    return {"-f", "lavfi", "-i", QStringLiteral("sine=frequency=440:duration=%1").arg(seconds(duration))};
}

// Lossless H.264 keeps solid colours within a few steps of the source.
const QStringList videoCodec{"-c:v", "libx264", "-qp", "0", "-pix_fmt", "yuv420p"};

constexpr int colourStep = 30;
constexpr int colourBase = 20;

} // namespace

namespace MediaGenerator {

QString folder()
{
    return cacheDir().path();
}

QString lastError()
{
    return errorText();
}

QString colourClip(const QColor &colour, double duration, QSize size, bool withAudio)
{
    const QString name = QStringLiteral("colour-%1-%2-%3%4.mp4")
                             .arg(colour.name().mid(1), seconds(duration), sizeText(size),
                                  withAudio ? QStringLiteral("-a") : QString());
    QStringList args{"-f", "lavfi", "-i",
                     QStringLiteral("color=c=%1:s=%2:r=25:d=%3")
                         .arg(colour.name(), sizeText(size), seconds(duration))};
    if (withAudio)
        args += sineInput(duration) + QStringList{"-c:a", "aac", "-shortest"};
    return cached(name, args + videoCodec);
}

QString testPattern(double duration, QSize size)
{
    const QString name = QStringLiteral("pattern-%1-%2.mp4").arg(seconds(duration), sizeText(size));
    const QStringList args = QStringList{"-f", "lavfi", "-i",
                                         QStringLiteral("testsrc=s=%1:r=25:d=%2")
                                             .arg(sizeText(size), seconds(duration))}
        + sineInput(duration) + QStringList{"-c:a", "aac", "-shortest"} + videoCodec;
    return cached(name, args);
}

QString toneClip(double duration)
{
    const QString name = QStringLiteral("tone-%1.m4a").arg(seconds(duration));
    return cached(name, sineInput(duration) + QStringList{"-c:a", "aac"});
}

QString numberedFrames(int frames, int fps)
{
    const QString name = QStringLiteral("numbered-%1-%2.mp4").arg(frames).arg(fps);
    // Red and green carry the frame number in base 8; blue is constant.
    const QString filter =
        QStringLiteral("color=c=black:s=320x180:r=%1:d=%2,format=rgb24,"
                       "geq=r='%3+%4*mod(N,8)':g='%3+%4*floor(N/8)':b='128'")
            .arg(fps)
            .arg(seconds(static_cast<double>(frames) / fps))
            .arg(colourBase)
            .arg(colourStep);
    return cached(name, QStringList{"-f", "lavfi", "-i", filter} + videoCodec);
}

QColor frameColour(int frame)
{
    return QColor(colourBase + colourStep * (frame % 8), colourBase + colourStep * (frame / 8), 128);
}

int frameNumberOf(const QColor &colour, int frames)
{
    for (int frame = 0; frame < frames; ++frame) {
        const QColor expected = frameColour(frame);
        if (std::abs(expected.red() - colour.red()) < colourStep / 2
            && std::abs(expected.green() - colour.green()) < colourStep / 2)
            return frame;
    }
    return -1;
}

QString corruptFile()
{
    const QString path = pathFor(QStringLiteral("corrupt.mp4"));
    if (QFileInfo::exists(path))
        return path;
    QByteArray bytes(64 * 1024, '\0');
    QRandomGenerator random(1234);
    for (char &byte : bytes)
        byte = static_cast<char>(random.bounded(256));
    return writeFile(QStringLiteral("corrupt.mp4"), bytes);
}

QString emptyFile()
{
    return writeFile(QStringLiteral("empty.mp4"), QByteArray());
}

QString htmlFile()
{
    return writeFile(QStringLiteral("page.mp4.html"),
                     "<!DOCTYPE html>\n<html><head><title>Not media</title></head>"
                     "<body><p>This is a web page.</p></body></html>\n");
}

} // namespace MediaGenerator
