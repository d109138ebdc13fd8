#include "ModelHarness.h"

#include "TestFiles.h"

#include "KiteCore/L10n.h"

#include <QFileInfo>
#include <QTest>
#include <QWidget>

#include <algorithm>

namespace {
// A source in summaries: its file name without extension.
QString nameOf(const QUrl &url)
{
    return QFileInfo(url.path()).completeBaseName();
}

QString mark(bool on, char16_t sign)
{
    return on ? QString(QChar(sign)) : QString();
}
} // namespace

void ModelHarness::addRows(const QList<Operation> &operations)
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < operations.size(); ++i)
        QTest::newRow(operations.at(i).name) << i;
}

void ModelHarness::checkRow(const QList<Operation> &operations)
{
    QFETCH(int, row);
    ModelHarness harness;
    operations.at(row).act(harness);
    if (!QTest::currentTestFailed())
        QCOMPARE(harness.summary(), operations.at(row).expected);
}

ModelHarness::ModelHarness()
    : m_settings(m_home.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat)
    , m_preferences(m_settings)
    , m_now(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC)
{
    restart();
}

void ModelHarness::restart()
{
    L10n::setLanguage(AppLanguage::en);
    m_model.reset();
    const auto players = [] { return std::unique_ptr<NativePlayer>(std::make_unique<FakeNativePlayer>()); };
    const auto openPanel = [this](const OpenPanel &panel) {
        panels.append(panel);
        return panelAnswer;
    };
    const auto now = [this] { return m_now; };
    m_model = std::make_unique<AppModel>(AppModel::Dependencies{
        m_preferences, m_settings, m_workspace, historyFile(), playlistFile(), players, {}, {}, now, openPanel});
    QObject::connect(m_model.get(), &AppModel::showHomeRequested, [this] { ++showHomeCalls; });
    QObject::connect(m_model.get(), &AppModel::menuUpdateRequested, [this] { ++menuUpdates; });
}

FakeNativePlayer *ModelHarness::player(const PlaybackSession &session)
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
    const auto found = std::ranges::find(m_model->sessions(), clipURL(n),
                                         [](const PlaybackSession *session) { return session->source().urlString(); });
    return found == m_model->sessions().end() ? nullptr : *found;
}

QString ModelHarness::touch(const QString &relativePath) const
{
    const QString path = m_home.filePath(relativePath);
    TestFiles::writeContent(path, "x");
    return path;
}

QString ModelHarness::summary() const
{
    const AppModel &model = *m_model;
    QStringList windows, open, playlist, titles, saved, history, historyNames, remembered, desktop, launched;
    for (const PlaybackSession *session : model.sessions()) {
        const QWidget *window = model.controller(*session)->window();
        const bool hidden = session->isHidden();
        open << nameOf(session->source().url());
        windows << open.last() + mark(hidden, u'-') + mark(hidden == (window && window->isVisible()), u'!')
                + mark(session->clickThrough(), u'^');
    }
    for (const PlaylistItem &item : model.playlist()) {
        titles << item.title;
        playlist << item.title + mark(model.currentPlaylistItemID() == item.id, u'*');
    }
    const PlaylistStore store(playlistFile());
    for (const PlaylistItem &item : store.items())
        saved << item.title;
    for (const HistoryItem &item : model.history()) {
        historyNames << nameOf(QUrl(item.urlString));
        history << historyNames.last() + mark(item.isFavorite, u'*');
    }
    for (const QString &url : m_settings.value(AppModel::lastWindowURLsKey).toStringList())
        remembered << nameOf(QUrl(url));
    for (const QUrl &url : m_workspace.openedUrls())
        desktop << nameOf(url);
    for (const FakeWorkspace::Launch &launch : m_workspace.launches())
        launched << QFileInfo(launch.executable).fileName() + u':' + nameOf(launch.url);

    QStringList lines{(u"windows "_qs + windows.join(u' ')).trimmed()};
    const auto add = [&lines](bool shown, const QString &label, const QString &text) {
        if (shown)
            lines << (label + u' ' + text).trimmed();
    };
    add(!model.input().isEmpty(), u"input"_qs, QString(model.input()).replace(m_home.path(), u"~"_qs));
    add(model.inputError().has_value(), u"error"_qs, model.inputError() ? model.inputError()->message() : QString());
    add(showHomeCalls > 0, u"home"_qs, QString::number(showHomeCalls));
    add(model.section() != HomeSection::open, u"section"_qs, toRaw(model.section()));
    add(!playlist.isEmpty(), u"playlist"_qs, playlist.join(u' '));
    add(saved != titles, u"saved"_qs, saved.join(u' '));
    add(QSet(historyNames.begin(), historyNames.end()) != QSet(open.begin(), open.end()) || history != historyNames,
        u"history"_qs, history.join(u' '));
    add(remembered != open, u"remembered"_qs, remembered.join(u' '));
    add(!desktop.isEmpty(), u"desktop"_qs, desktop.join(u' '));
    add(!launched.isEmpty(), u"launched"_qs, launched.join(u' '));
    return lines.join(u" | "_qs);
}
