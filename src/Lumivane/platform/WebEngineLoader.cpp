#include "platform/WebEngineLoader.h"

#include "platform/UnavailableWebPage.h"
#include "platform/WebEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QOpenGLContext>
#include <QPluginLoader>

// Qt's own, exported by QtGui; its declaration is in Qt's private headers only.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace {

QtMessageHandler g_messages = nullptr;

void dropLateAttributeWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.startsWith(QLatin1String("Attribute Qt::AA_ShareOpenGLContexts")))
        g_messages(type, context, message);
}

// The engine draws through GL contexts shared with one global context, and crashes without
// it. Qt makes that context while constructing the application when asked beforehand,
// which loads the GL driver on every launch (~60 ms and ~20 MB with Mesa) though most
// never open a page: it is made here instead, just before the engine. Windows made from
// now on share with it; Qt's warning that the attribute comes late is expected.
bool shareGlContexts()
{
    if (QOpenGLContext::globalShareContext())
        return true;
    auto *context = new QOpenGLContext(QCoreApplication::instance());
    if (!context->create()) {
        delete context;
        return false;
    }
    qt_gl_set_global_share_context(context);
    g_messages = qInstallMessageHandler(dropLateAttributeWarning);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qInstallMessageHandler(g_messages);
    return true;
}

} // namespace

QString WebEngineLoader::moduleFileName()
{
    return QStringLiteral("lumivane-webengine.so");
}

WebEngineLoader::WebEngineLoader(QStringList folders, QObject *parent)
    : QObject(parent)
    , m_folders(std::move(folders))
{
}

WebEngine *WebEngineLoader::engine()
{
    if (!m_tried)
        load();
    return m_engine;
}

bool WebEngineLoader::isLoaded() const
{
    return m_engine != nullptr;
}

QString WebEngineLoader::problem() const
{
    return m_problem;
}

std::unique_ptr<WebPage> WebEngineLoader::createPage()
{
    if (WebEngine *webEngine = engine())
        return webEngine->createPage();
    return std::make_unique<UnavailableWebPage>();
}

void WebEngineLoader::load()
{
    m_tried = true;
    QStringList problems;
    for (const QString &folder : std::as_const(m_folders)) {
        const QString path = QDir(folder).filePath(moduleFileName());
        if (!QFileInfo::exists(path))
            continue;
        if (!shareGlContexts()) {
            problems.append(QStringLiteral("no OpenGL context for the web engine to share"));
            break;
        }
        // Never unloaded: pages and the profile live until the program ends.
        QPluginLoader module(path);
        QObject *instance = module.instance();
        m_engine = qobject_cast<WebEngine *>(instance);
        if (m_engine) {
            Q_EMIT loaded();
            return;
        }
        problems.append(instance ? path + QStringLiteral(" is not Lumivane's web engine")
                                 : module.errorString());
    }
    if (problems.isEmpty())
        problems.append(QStringLiteral("%1 not found in %2").arg(moduleFileName(), m_folders.join(QStringLiteral(", "))));
    m_problem = problems.join(QLatin1Char('\n'));
    // The user is told in the page's window; the cause is for whoever looks into it.
    qWarning("lumivane: no web engine: %s", qPrintable(m_problem));
}
