#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
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

    bool start();
    // http://127.0.0.1:<port>/<path>; with otherOrigin http://localhost:<port>/<path>.
    QUrl url(const QString &path, bool otherOrigin = false) const;
    // Served at path (e.g. "/page.html") before any file of the folder.
    void addPage(const QString &path, const QByteArray &body,
                 const QByteArray &contentType = "text/html; charset=utf-8");
    // Requests for path are read and never answered (the connection stays open).
    void addStalledPath(const QString &path);
    // Paths requested so far, oldest first.
    const QStringList &requests() const { return m_requests; }

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    void readRequest(QTcpSocket *socket);
    void respond(QTcpSocket *socket, const QByteArray &path, const QByteArray &rangeHeader);
    void sendFile(QTcpSocket *socket, const QString &file, const QByteArray &rangeHeader);
    static QByteArray contentTypeFor(const QString &file);

    QString m_root;
    QHash<QString, QPair<QByteArray, QByteArray>> m_pages;
    QStringList m_requests;
    QSet<QString> m_stalledPaths;
};
