#include "ModelHarness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

ModelHarness::ModelHarness()
    : m_settings(m_folder.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat)
    , m_preferences(m_settings)
    , m_now(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC)
{
    build();
}

ModelHarness::~ModelHarness()
{
    m_model.reset();
}

void ModelHarness::restart()
{
    m_model.reset();
    build();
}

void ModelHarness::build()
{
    AppModel::Dependencies dependencies{
        m_preferences,
        m_settings,
        m_workspace,
        historyFile(),
        playlistFile(),
        [] { return std::unique_ptr<NativePlayer>(std::make_unique<FakeNativePlayer>()); },
        {},
        {},
        [this] { return m_now; },
        [this](const OpenPanel &panel) {
            panels.append(panel);
            return panelAnswer;
        },
    };
    m_model = std::make_unique<AppModel>(dependencies);
    QObject::connect(m_model.get(), &AppModel::showHomeRequested, [this] { ++showHomeCalls; });
    QObject::connect(m_model.get(), &AppModel::menuUpdateRequested, [this] { ++menuUpdates; });
}

QString ModelHarness::historyFile() const
{
    return m_folder.filePath(QStringLiteral("data/history.json"));
}

QString ModelHarness::playlistFile() const
{
    return m_folder.filePath(QStringLiteral("data/playlist.json"));
}

FakeNativePlayer *ModelHarness::player(const PlaybackSession &session) const
{
    return qobject_cast<FakeNativePlayer *>(session.player());
}

QString ModelHarness::clipURL(int n)
{
    return QStringLiteral("https://media.example/clip%1.mp4").arg(n);
}

PlaybackSession *ModelHarness::openClip(int n)
{
    m_model->open(clipURL(n));
    for (PlaybackSession *session : m_model->sessions()) {
        if (session->source().urlString() == clipURL(n))
            return session;
    }
    return nullptr;
}

QString ModelHarness::touch(const QString &relativePath) const
{
    const QString path = m_folder.filePath(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("x");
    return path;
}

void ModelHarness::advanceClock(double seconds)
{
    m_now = m_now.addMSecs(qint64(seconds * 1000.0));
}
