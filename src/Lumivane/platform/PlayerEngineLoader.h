#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class NativePlayer;
class PlayerEngine;

// Finds and loads the player engine module the first time a player is needed. A missing or
// broken module is not fatal: items then fail with the reason, everything else works.
class PlayerEngineLoader final
{
public:
    // The module's file name, looked for in each folder in turn.
    static QString moduleFileName();

    explicit PlayerEngineLoader(QStringList folders);

    // A player of the engine, or one whose items all fail because there is none.
    std::unique_ptr<NativePlayer> createPlayer();
    // Why the module could not be loaded; empty until a load failed.
    QString problem() const { return m_problem; }

private:
    void load();

    QStringList m_folders;
    PlayerEngine *m_engine = nullptr;
    bool m_tried = false;
    QString m_problem;
};
