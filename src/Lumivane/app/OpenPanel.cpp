#include "app/OpenPanel.h"

#include "KiteCore/L10n.h"
#include "KiteCore/MediaInput.h"

#include <QFileDialog>

#include <algorithm>

QStringList OpenPanel::mediaNameFilters()
{
    QStringList patterns;
    for (const QString &extension : MediaInput::localMediaExtensions())
        patterns << QStringLiteral("*.") + extension;
    std::ranges::sort(patterns);
    return {L("视频和音频", "Video and audio", "Vídeo y audio") + QStringLiteral(" (")
                + patterns.join(u' ') + u')',
            L("所有文件", "All files", "Todos los archivos") + QStringLiteral(" (*)")};
}

QList<QUrl> OpenPanel::run(const OpenPanel &panel)
{
    QFileDialog dialog(nullptr, panel.title);
    if (panel.choosesFolders) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setFileMode(panel.allowsMultipleSelection ? QFileDialog::ExistingFiles
                                                         : QFileDialog::ExistingFile);
        dialog.setNameFilters(mediaNameFilters());
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedUrls();
}
