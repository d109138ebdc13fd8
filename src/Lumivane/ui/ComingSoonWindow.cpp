#include "ui/ComingSoonWindow.h"

#include "ui/DesignSystem.h"

#include "KiteCore/L10n.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ComingSoonWindow::ComingSoonWindow(const QString &title, const QString &text, QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(title);
    resize(480, 260);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 28, 28, 28);
    layout->setSpacing(DesignSystem::spacing * 2);

    auto *heading = new QLabel(title, this);
    QFont font = heading->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    heading->setFont(font);
    auto *body = new QLabel(text, this);
    body->setObjectName(QStringLiteral("comingSoonText"));
    body->setWordWrap(true);
    auto *close = new QPushButton(L("关闭", "Close", "Cerrar"), this);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    layout->addWidget(heading);
    layout->addWidget(body, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
}

void ComingSoonWindow::bringForward()
{
    show();
    raise();
    activateWindow();
}
