#include "LocalHttpServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTcpSocket>

namespace {
QByteArray header(int status, const QByteArray &reason, const QByteArray &type, qint64 length,
                  const QByteArray &extra = {})
{
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\nContent-Type: " + type
        + "\r\nContent-Length: " + QByteArray::number(length)
        + "\r\nAccept-Ranges: bytes\r\nCache-Control: no-store\r\nConnection: close\r\n" + extra
        + "\r\n";
}
} // namespace

LocalHttpServer::LocalHttpServer(const QString &root, QObject *parent)
    : QTcpServer(parent)
    , m_root(root)
{
}

bool LocalHttpServer::start()
{
    return listen(QHostAddress::LocalHost);
}

QUrl LocalHttpServer::url(const QString &path, bool otherOrigin) const
{
    const QString host = otherOrigin ? QStringLiteral("localhost") : QStringLiteral("127.0.0.1");
    const QString clean = path.startsWith(u'/') ? path : u'/' + path;
    return QUrl(QStringLiteral("http://%1:%2%3").arg(host).arg(serverPort()).arg(clean));
}

void LocalHttpServer::addPage(const QString &path, const QByteArray &body, const QByteArray &contentType)
{
    m_pages.insert(path, {contentType, body});
}

void LocalHttpServer::addStalledPath(const QString &path)
{
    m_stalledPaths.insert(path);
}

void LocalHttpServer::incomingConnection(qintptr socketDescriptor)
{
    auto *socket = new QTcpSocket(this);
    socket->setSocketDescriptor(socketDescriptor);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
}

void LocalHttpServer::readRequest(QTcpSocket *socket)
{
    // Only GET without a body is served; wait for the whole header.
    QByteArray pending = socket->property("pending").toByteArray() + socket->readAll();
    if (!pending.contains("\r\n\r\n")) {
        socket->setProperty("pending", pending);
        return;
    }
    socket->setProperty("pending", QByteArray());
    const QList<QByteArray> lines = pending.left(pending.indexOf("\r\n\r\n")).split('\n');
    const QList<QByteArray> request = lines.value(0).trimmed().split(' ');
    QByteArray range;
    for (const QByteArray &line : lines) {
        if (line.toLower().startsWith("range:"))
            range = line.mid(6).trimmed();
    }
    respond(socket, request.value(1), range);
}

void LocalHttpServer::respond(QTcpSocket *socket, const QByteArray &target, const QByteArray &range)
{
    const QString path = QUrl::fromPercentEncoding(target.left(target.indexOf('?') < 0
                                                                   ? target.size()
                                                                   : target.indexOf('?')));
    m_requests.append(path);
    if (m_stalledPaths.contains(path))
        return;
    if (const auto page = m_pages.constFind(path); page != m_pages.constEnd()) {
        socket->write(header(200, "OK", page->first, page->second.size()) + page->second);
    } else {
        const QString file = QDir(m_root).filePath(path.mid(1));
        const bool inside = !m_root.isEmpty() && !path.contains(u"..") && QFileInfo(file).isFile();
        if (inside) {
            sendFile(socket, file, range);
        } else {
            socket->write(header(404, "Not Found", "text/plain", 9) + "not found");
        }
    }
    socket->disconnectFromHost();
}

void LocalHttpServer::sendFile(QTcpSocket *socket, const QString &file, const QByteArray &range)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        socket->write(header(500, "Error", "text/plain", 5) + "error");
        return;
    }
    const qint64 size = input.size();
    const QByteArray type = contentTypeFor(file);
    static const QRegularExpression bytes(QStringLiteral("^bytes=(\\d*)-(\\d*)$"));
    const QRegularExpressionMatch match = bytes.match(QString::fromLatin1(range));
    if (!match.hasMatch() || size == 0) {
        socket->write(header(200, "OK", type, size) + input.readAll());
        return;
    }
    qint64 first = match.captured(1).isEmpty() ? 0 : match.captured(1).toLongLong();
    qint64 last = match.captured(2).isEmpty() ? size - 1 : std::min(match.captured(2).toLongLong(), size - 1);
    if (match.captured(1).isEmpty() && !match.captured(2).isEmpty()) {
        first = std::max<qint64>(0, size - match.captured(2).toLongLong());
        last = size - 1;
    }
    if (first > last || first >= size) {
        socket->write(header(416, "Range Not Satisfiable", type, 0,
                             "Content-Range: bytes */" + QByteArray::number(size) + "\r\n"));
        return;
    }
    input.seek(first);
    const QByteArray body = input.read(last - first + 1);
    socket->write(header(206, "Partial Content", type, body.size(),
                         "Content-Range: bytes " + QByteArray::number(first) + '-'
                             + QByteArray::number(last) + '/' + QByteArray::number(size) + "\r\n")
                  + body);
}

QByteArray LocalHttpServer::contentTypeFor(const QString &file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == u"html" || suffix == u"htm")
        return "text/html; charset=utf-8";
    if (suffix == u"js")
        return "text/javascript";
    if (suffix == u"mp4" || suffix == u"m4v")
        return "video/mp4";
    if (suffix == u"webm")
        return "video/webm";
    if (suffix == u"mp3")
        return "audio/mpeg";
    if (suffix == u"ogg" || suffix == u"opus")
        return "audio/ogg";
    if (suffix == u"png")
        return "image/png";
    if (suffix == u"jpg" || suffix == u"jpeg")
        return "image/jpeg";
    return "application/octet-stream";
}
