#include "KiteCore/AppError.h"

#include "KiteCore/L10n.h"

AppError::AppError(Kind kind, QString message, std::optional<QString> recovery)
    : m_id(QUuid::createUuid())
    , m_kind(kind)
    , m_message(std::move(message))
    , m_recovery(std::move(recovery))
{
}

AppError AppError::network(QString message)
{
    return AppError(Kind::network, std::move(message),
                    L("请检查网络连接后重试，或在浏览器中打开。",
                      "Check your connection and retry, or open it in a browser.",
                      "Comprueba tu conexión y vuelve a intentarlo, o ábrelo en un navegador."));
}

AppError AppError::decode(QString message)
{
    return AppError(Kind::decode, std::move(message),
                    L("这是解码器（mpv）报告的问题。请换一个文件，或用 VLC 打开。",
                      "This comes from the decoder (mpv). Try another file, or open it in VLC.",
                      "Esto lo indica el decodificador (mpv). Prueba con otro archivo o ábrelo en VLC."));
}

QString AppError::title() const
{
    switch (m_kind) {
    case Kind::input: return L("无法打开", "Couldn't open that", "No se pudo abrir");
    case Kind::network: return L("网络问题", "Network problem", "Problema de red");
    case Kind::decode:
        return L("无法解码此文件", "Can't decode this file", "No se puede decodificar este archivo");
    case Kind::web: return L("网页未能加载", "Page didn't load", "La página no se cargó");
    case Kind::external:
        return L("外部播放器出错", "External player failed", "Falló el reproductor externo");
    case Kind::storage:
        return L("无法保存历史记录", "Couldn't save history", "No se pudo guardar el historial");
    }
    return L("无法打开", "Couldn't open that", "No se pudo abrir");
}
