#include "MediaGenerator.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

// Red and green carry the frame number of numberedFrames() in base 8; blue is constant.
constexpr int colourStep = 30;
constexpr int colourBase = 20;

QString errorText;

QTemporaryDir &cache()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lumivane-media-XXXXXX"));
    return dir;
}

// The file ffmpeg makes from the arguments, made once per process and named after them.
QString generated(const QStringList &arguments, const QString &suffix)
{
    const QByteArray key = QCryptographicHash::hash(arguments.join(u' ').toUtf8(), QCryptographicHash::Md5);
    const QString path = cache().filePath(QString::fromLatin1(key.toHex()) + suffix);
    if (QFileInfo::exists(path))
        return path;
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"} + arguments + QStringList{path});
    if (ffmpeg.waitForFinished(120000) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0
        && QFileInfo(path).size() > 0)
        return path;
    errorText = u"ffmpeg failed: "_qs + ffmpeg.errorString() + u' ' + QString::fromLocal8Bit(ffmpeg.readAll());
    QFile::remove(path);
    return {};
}

QStringList tone(double seconds)
{
    return {"-f", "lavfi", "-i", QStringLiteral("sine=frequency=440:duration=%1").arg(seconds)};
}

// A clip of the lavfi picture source, with a tone unless toneSeconds is 0. Lossless H.264
// keeps solid colours within a few steps of the source.
QString video(const QString &picture, double toneSeconds)
{
    QStringList arguments{"-f", "lavfi", "-i", picture};
    if (toneSeconds > 0)
        arguments += tone(toneSeconds) + QStringList{"-c:a", "aac", "-shortest"};
    arguments += QStringList{"-c:v", "libx264", "-qp", "0", "-pix_fmt", "yuv420p"};
    return generated(arguments, QStringLiteral(".mp4"));
}

QString written(const QString &name, const QByteArray &bytes)
{
    QFile file(cache().filePath(name));
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        return file.fileName();
    errorText = file.errorString();
    return {};
}

} // namespace

namespace MediaGenerator {

QString folder()
{
    return cache().path();
}

QString lastError()
{
    return errorText;
}

QString colourClip(const QColor &colour, double seconds, QSize size, bool withAudio)
{
    const QString picture = QStringLiteral("color=c=%1:s=%2x%3:r=25:d=%4");
    return video(picture.arg(colour.name()).arg(size.width()).arg(size.height()).arg(seconds), withAudio ? seconds : 0);
}

QString testPattern(double seconds, QSize size)
{
    const QString picture = QStringLiteral("testsrc=s=%1x%2:r=25:d=%3");
    return video(picture.arg(size.width()).arg(size.height()).arg(seconds), seconds);
}

QString cutShort(double seconds, double share)
{
    const QString source = testPattern(seconds);
    const QString whole = source.isEmpty() ? QString() : generated({"-i", source, "-c", "copy", "-movflags", "+faststart"}, QStringLiteral(".mp4"));
    QFile file(whole);
    if (whole.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return written(QFileInfo(whole).baseName() + QStringLiteral("-cut.mp4"), file.read(qint64(double(file.size()) * share)));
}

QString numberedFrames(int frames, int fps)
{
    const QString picture = QStringLiteral("color=c=black:s=320x180:r=%1:d=%2,format=rgb24,"
                                           "geq=r='%3+%4*mod(N,8)':g='%3+%4*floor(N/8)':b='128'");
    return video(picture.arg(fps).arg(double(frames) / fps).arg(colourBase).arg(colourStep), 0);
}

int frameNumberOf(const QColor &colour, int frames)
{
    const int low = qRound(double(colour.red() - colourBase) / colourStep);
    const int high = qRound(double(colour.green() - colourBase) / colourStep);
    return low >= 0 && low < 8 && high >= 0 && low + 8 * high < frames ? low + 8 * high : -1;
}

QString multiTrackClip()
{
    const QString subtitle = written(u"inside.srt"_qs, "1\n00:00:00,000 --> 00:00:03,000\nInside\n");
    const QString clip = generated({"-f", "lavfi", "-i", "testsrc=size=320x180:duration=3", "-f", "lavfi", "-i",
                                    "sine=frequency=440:duration=3", "-f", "lavfi", "-i", "sine=frequency=660:duration=3",
                                    "-i", subtitle, "-map", "0", "-map", "1", "-map", "2", "-map", "3", "-c:v", "libx264",
                                    "-c:a", "aac", "-c:s", "srt", "-metadata:s:a:0", "language=eng", "-metadata:s:a:0",
                                    "title=Main", "-metadata:s:a:1", "language=spa", "-metadata:s:a:1",
                                    "title=Comentario", "-metadata:s:s:0", "language=eng"},
                                   QStringLiteral(".mkv"));
    if (clip.isEmpty() || written(QFileInfo(clip).completeBaseName() + u".srt"_qs, "1\n00:00:00,000 --> 00:00:03,000\nBeside\n").isEmpty())
        return {};
    return clip;
}

QString corruptFile()
{
    QByteArray bytes(64 * 1024, '\0');
    QRandomGenerator random(1234);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return written(QStringLiteral("corrupt.mp4"), bytes);
}

QString emptyFile()
{
    return written(QStringLiteral("empty.mp4"), {});
}

QString htmlFile()
{
    return written(QStringLiteral("page.mp4.html"), "<!DOCTYPE html>\n<html><head><title>Not media</title></head>"
                                                    "<body><p>This is a web page.</p></body></html>\n");
}

} // namespace MediaGenerator
