#include "platform/WebEngineLoader.h"

#include "platform/EngineModule.h"
#include "platform/UnavailableWebPage.h"
#include "platform/WebEngine.h"

#include <QCoreApplication>
#include <QOpenGLContext>

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
    const EngineModule::Loaded module =
        EngineModule::load(m_folders, moduleFileName(), LumivaneWebEngine_iid, QStringLiteral("web engine"), [] {
            return shareGlContexts() ? QString() : QStringLiteral("no OpenGL context for the web engine to share");
        });
    m_engine = static_cast<WebEngine *>(module.engine);
    if (m_engine) {
        Q_EMIT loaded();
        return;
    }
    m_problem = module.problem;
    // The user is told in the page's window; the cause is for whoever looks into it.
    qWarning("lumivane: no web engine: %s", qPrintable(m_problem));
}
