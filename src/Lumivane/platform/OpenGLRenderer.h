#pragma once

#include <QByteArrayView>

// What draws OpenGL on this desktop.
namespace OpenGLRenderer {

// Whether a GL_RENDERER string names a rasteriser that runs on the processor.
bool isSoftware(QByteArrayView rendererName);

// Whether the desktop's OpenGL runs on a graphics processor; false without OpenGL. Asked
// once per process (it creates a context).
bool desktopIsHardware();

} // namespace OpenGLRenderer
