#include "KiteCore/MediaInputError.h"

MediaInputError::MediaInputError(Case kind, QString payload)
    : m_case(kind)
    , m_payload(std::move(payload))
{
}

MediaInputError MediaInputError::unreadableFile(QString path)
{
    return MediaInputError(Case::unreadableFile, std::move(path));
}

MediaInputError MediaInputError::unsupportedScheme(QString scheme)
{
    return MediaInputError(Case::unsupportedScheme, std::move(scheme));
}

MediaInputError MediaInputError::empty()
{
    return MediaInputError(Case::empty, {});
}

MediaInputError MediaInputError::malformed()
{
    return MediaInputError(Case::malformed, {});
}

QString MediaInputError::errorDescription() const
{
    switch (m_case) {
    case Case::unreadableFile: return QStringLiteral("文件不可读取：") + m_payload;
    case Case::unsupportedScheme: return QStringLiteral("不支持的链接协议：") + m_payload;
    case Case::empty: return QStringLiteral("请输入链接或文件路径");
    case Case::malformed: return QStringLiteral("无法识别的链接或文件路径");
    }
    return QStringLiteral("无法识别的链接或文件路径");
}
