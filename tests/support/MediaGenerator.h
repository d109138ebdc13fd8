#pragma once

#include <QColor>
#include <QSize>
#include <QString>

// Makes small media files with ffmpeg for tests. Files are cached by their parameters in
// one temporary folder per test process. Every function returns the absolute path, or an
// empty string when generation failed (lastError() says why).
namespace MediaGenerator {
// The folder the files are written to.
QString folder();
QString lastError();

// A solid-colour clip with a sine tone.
QString colourClip(const QColor &colour, double seconds = 2.0, QSize size = {320, 180}, bool withAudio = true);
// ffmpeg's test pattern with a sine tone.
QString testPattern(double seconds = 3.0, QSize size = {320, 180});
// A silent 320x180 clip at fps whose frame n starts at n / fps and has a colour of its own.
QString numberedFrames(int frames = 40, int fps = 10);
// The first share of testPattern(seconds), its index moved to the front first: a download
// cut short that still opens and plays up to the cut.
QString cutShort(double seconds, double share);
// The frame of numberedFrames() whose colour is nearest to the given one, or -1 when none is close.
int frameNumberOf(const QColor &colour, int frames = 40);

// 3 s of Matroska: two audio tracks (eng "Main", spa "Comentario") and an English subtitle
// inside; beside it a subtitle file of the same base name, which players load by themselves.
QString multiTrackClip();

QString corruptFile();
QString emptyFile();
QString htmlFile();
} // namespace MediaGenerator
