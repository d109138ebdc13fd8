#pragma once

#include <QString>
#include <QUuid>

#include <optional>

// Something the user must be told: a kind (which fixes the headline), a message and an
// optional hint. Every error built gets a fresh id, so the same text raised twice still
// shows twice.
class AppError final
{
public:
    enum class Kind { input, network, decode, web, external, storage };

    // The message and recovery are expected to be localised already.
    AppError(Kind kind, QString message, std::optional<QString> recovery = std::nullopt);

    static AppError network(QString message);
    static AppError decode(QString message);

    const QUuid &id() const { return m_id; }
    Kind kind() const { return m_kind; }
    const QString &message() const { return m_message; }
    const std::optional<QString> &recovery() const { return m_recovery; }

    // The headline of the kind in the language current when it is read.
    QString title() const;

    bool operator==(const AppError &other) const = default;

private:
    QUuid m_id;
    Kind m_kind;
    QString m_message;
    std::optional<QString> m_recovery;
};
