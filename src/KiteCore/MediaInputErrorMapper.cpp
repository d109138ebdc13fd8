#include "KiteCore/MediaInputErrorMapper.h"

#include "KiteCore/L10n.h"

namespace {

const QString exampleAddress = QStringLiteral("https://www.youtube.com/watch?v=dQw4w9WgXcQ…");

AppError unreadableFile(const QString &path)
{
    return AppError(AppError::Kind::input,
                    L("找不到文件：", "File not found: ", "No se encontró el archivo: ") + path,
                    L("请确认文件仍然存在，或重新拖入。",
                      "Check that the file still exists, or drag it in again.",
                      "Comprueba que el archivo todavía existe o vuelve a arrastrarlo."));
}

AppError unsupportedScheme(const QString &scheme)
{
    return AppError(AppError::Kind::input,
                    L(QStringLiteral("不支持 %1: 链接。"), QStringLiteral("%1: links aren't supported."),
                      QStringLiteral("Los enlaces %1: no son compatibles."))
                        .arg(scheme),
                    L("请使用 http/https 链接，或选择本地文件。",
                      "Use an http/https link, or pick a local file.",
                      "Usa un enlace http/https o elige un archivo local."));
}

AppError empty()
{
    return AppError(AppError::Kind::input,
                    L("请先粘贴链接或选择文件。", "Paste a link or pick a file first.",
                      "Primero pega un enlace o elige un archivo."),
                    L("支持网页、媒体直链和本地文件。",
                      "Web pages, direct media links and local files are supported.",
                      "Se admiten páginas web, enlaces directos a medios y archivos locales."));
}

AppError malformed()
{
    return AppError(AppError::Kind::input,
                    L("这个链接似乎不完整。", "That link looks incomplete.",
                      "Ese enlace parece incompleto."),
                    L("请确认链接包含完整域名，例如 ", "Make sure it includes a full domain, e.g. ",
                      "Asegúrate de que incluya un dominio completo, p. ej. ")
                        + exampleAddress);
}

} // namespace

namespace MediaInputErrorMapper {

AppError appError(const MediaInputError &error)
{
    switch (error.kind()) {
    case MediaInputError::Case::unreadableFile: return unreadableFile(error.payload());
    case MediaInputError::Case::unsupportedScheme: return unsupportedScheme(error.payload());
    case MediaInputError::Case::empty: return empty();
    case MediaInputError::Case::malformed: return malformed();
    }
    return malformed();
}

} // namespace MediaInputErrorMapper
