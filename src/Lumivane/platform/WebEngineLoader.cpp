#include "platform/WebEngineLoader.h"

#include "platform/UnavailableWebPage.h"
#include "platform/WebEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

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
    return std::make_unique<UnavailableWebPage>(m_problem);
}

void WebEngineLoader::load()
{
    m_tried = true;
    // The engine draws through GL contexts shared with Qt's; without them it crashes.
    if (!QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts)) {
        m_problem = QStringLiteral("Qt::AA_ShareOpenGLContexts was not set before the application object");
        return;
    }
    QStringList problems;
    for (const QString &folder : std::as_const(m_folders)) {
        const QString path = QDir(folder).filePath(moduleFileName());
        if (!QFileInfo::exists(path))
            continue;
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
}
