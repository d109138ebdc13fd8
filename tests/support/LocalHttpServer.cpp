#include "LocalHttpServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTcpSocket>

namespace {
QByteArray response(int status, const QByteArray &type, const QByteArray &body, const QByteArray &extra = {})
{
    // Clients read the status code; the reason phrase is not looked at.
    return "HTTP/1.1 " + QByteArray::number(status) + " -\r\nContent-Type: " + type
        + "\r\nContent-Length: " + QByteArray::number(body.size())
        + "\r\nAccept-Ranges: bytes\r\nCache-Control: no-store\r\nConnection: close\r\n" + extra + "\r\n" + body;
}

// Tests serve pages and MP4 clips.
QByteArray contentType(const QString &file)
{
    if (file.endsWith(u".html"))
        return "text/html; charset=utf-8";
    return file.endsWith(u".mp4") ? "video/mp4" : "application/octet-stream";
}
} // namespace

LocalHttpServer::LocalHttpServer(const QString &root, QObject *parent)
    : QTcpServer(parent)
    , m_root(root)
{
}

QUrl LocalHttpServer::url(const QString &path, bool otherOrigin) const
{
    return QUrl(QStringLiteral("http://%1:%2/").arg(otherOrigin ? "localhost" : "127.0.0.1").arg(serverPort())
                + (path.startsWith(u'/') ? path.mid(1) : path));
}

void LocalHttpServer::incomingConnection(qintptr socketDescriptor)
{
    auto *socket = new QTcpSocket(this);
    socket->setSocketDescriptor(socketDescriptor);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        // Only GET without a body is served: wait for the whole header.
        const QByteArray head = socket->property("head").toByteArray() + socket->readAll();
        socket->setProperty("head", head.contains("\r\n\r\n") ? QByteArray() : head);
        if (head.contains("\r\n\r\n"))
            respond(socket, head);
    });
}

void LocalHttpServer::respond(QTcpSocket *socket, const QByteArray &head)
{
    const QString path = QUrl::fromPercentEncoding(head.split(' ').value(1).split('?').first());
    m_requests.append(path);
    if (m_stalledPaths.contains(path))
        return;
    const auto page = m_pages.constFind(path);
    const QByteArray whole = page != m_pages.constEnd() ? response(200, page->first, page->second) : fileResponse(path, head);
    const qint64 stallAfter = m_stallAfter.value(path, -1);
    if (stallAfter >= 0) {
        socket->write(whole.left(whole.indexOf("\r\n\r\n") + 4 + stallAfter));
        return;
    }
    socket->write(whole);
    socket->disconnectFromHost();
}

QByteArray LocalHttpServer::fileResponse(const QString &path, const QByteArray &head) const
{
    QFile file(QDir(m_root).filePath(path.mid(1)));
    if (m_root.isEmpty() || path.contains(u"..") || !QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return response(404, "text/plain", "not found");
    static const QRegularExpression ranged(QStringLiteral("\r\nrange: *bytes=(\\d+)-(\\d*)\r\n"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch range = ranged.match(QString::fromLatin1(head));
    const qint64 size = file.size();
    const qint64 first = range.captured(1).toLongLong();
    const qint64 last = range.captured(2).isEmpty() ? size - 1 : std::min(range.captured(2).toLongLong(), size - 1);
    if (range.hasMatch() && size > 0 && first >= size)
        return response(416, contentType(path), {}, "Content-Range: bytes */" + QByteArray::number(size) + "\r\n");
    if (!range.hasMatch() || last < first)
        return response(200, contentType(path), file.readAll());
    file.seek(first);
    const QByteArray span = QByteArray::number(first) + '-' + QByteArray::number(last);
    return response(206, contentType(path), file.read(last - first + 1),
                    "Content-Range: bytes " + span + '/' + QByteArray::number(size) + "\r\n");
}
