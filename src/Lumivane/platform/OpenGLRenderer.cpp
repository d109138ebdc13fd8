#include "platform/OpenGLRenderer.h"

#include <QDir>
#include <QFileInfo>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <algorithm>
#include <array>

namespace OpenGLRenderer {

bool isSoftware(QByteArrayView rendererName)
{
    // Mesa's llvmpipe, softpipe and swrast, OpenSWR, and the names other stacks give theirs.
    static constexpr std::array names{"llvmpipe", "softpipe", "Software Rasterizer", "Software Renderer", "SWR"};
    const QByteArray name = rendererName.toByteArray();
    return std::any_of(names.begin(), names.end(), [&name](const char *known) {
        return name.contains(QByteArrayView(known));
    });
}

namespace {
// Without a graphics device OpenGL can only run on the processor; not asking it then saves
// loading the driver (~20 MB).
bool hasGraphicsDevice()
{
    return !QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty()
        || QFileInfo::exists(QStringLiteral("/dev/nvidiactl"));
}

bool askDesktop()
{
    QOpenGLContext context;
    QOffscreenSurface surface;
    surface.create();
    if (!context.create() || !context.makeCurrent(&surface))
        return false;
    const auto *name = reinterpret_cast<const char *>(context.functions()->glGetString(GL_RENDERER));
    const bool hardware = name && !isSoftware(name);
    context.doneCurrent();
    return hardware;
}
} // namespace

bool desktopIsHardware()
{
    static const bool hardware = hasGraphicsDevice() && askDesktop();
    return hardware;
}

} // namespace OpenGLRenderer
