#pragma once

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A loopback HTTP/1.1 server for web tests: serves the files of one folder (with byte
// ranges, so media can seek) and pages registered in memory. 127.0.0.1 and localhost
// reach the same server but are different origins, which gives cross-origin frames.
class LocalHttpServer final : public QTcpServer
{
    Q_OBJECT

public:
    explicit LocalHttpServer(const QString &root = {}, QObject *parent = nullptr);

    bool start() { return listen(QHostAddress::LocalHost); }
    // http://127.0.0.1:<port>/<path>; with otherOrigin http://localhost:<port>/<path>.
    QUrl url(const QString &path, bool otherOrigin = false) const;
    // Served at path (e.g. "/page.html") before any file of the folder.
    void addPage(const QString &path, const QByteArray &body,
                 const QByteArray &contentType = "text/html; charset=utf-8")
    {
        m_pages.insert(path, {contentType, body});
    }
    // Requests for path are read and never answered (the connection stays open).
    void addStalledPath(const QString &path) { m_stalledPaths.insert(path); }
    // Responses for path stop sending after bytes of their body, though their header
    // promises it all, and keep the connection open. A negative count serves it whole again.
    void stallAfter(const QString &path, qint64 bytes) { m_stallAfter.insert(path, bytes); }
    // Paths requested so far, oldest first.
    const QStringList &requests() const { return m_requests; }

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    void respond(QTcpSocket *socket, const QByteArray &head);
    QByteArray fileResponse(const QString &path, const QByteArray &head) const;

    QString m_root;
    QHash<QString, QPair<QByteArray, QByteArray>> m_pages;
    QStringList m_requests;
    QSet<QString> m_stalledPaths;
    QHash<QString, qint64> m_stallAfter;
};
