#include "ui/HomeErrorCard.h"

#include "ui/DesignSystem.h"
#include "ui/HomeLook.h"

#include "KiteCore/L10n.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int symbolSize = 22;

QString kindIcon(AppError::Kind kind)
{
    switch (kind) {
    case AppError::Kind::input: return QStringLiteral("kind-input");
    case AppError::Kind::network: return QStringLiteral("kind-network");
    case AppError::Kind::decode: return QStringLiteral("kind-decode");
    case AppError::Kind::web: return QStringLiteral("kind-web");
    case AppError::Kind::external: return QStringLiteral("kind-external");
    case AppError::Kind::storage: return QStringLiteral("kind-storage");
    }
    return QStringLiteral("kind-input");
}
} // namespace

HomeErrorCard::HomeErrorCard(QWidget *parent)
    : QFrame(parent)
    , m_symbol(new QLabel(this))
    , m_title(HomeLook::label(QString(), QStringLiteral("cardTitle"), this))
    , m_message(HomeLook::label(QString(), QString(), this))
    , m_recovery(HomeLook::label(QString(), QStringLiteral("note"), this))
    , m_retry(new QPushButton(L("重试", "Retry", "Reintentar"), this))
    , m_external(new QPushButton(this))
    , m_dismiss(new QPushButton(L("关闭", "Dismiss", "Descartar"), this))
{
    setObjectName(QStringLiteral("errorCard"));
    setProperty("shellRole", QStringLiteral("errorCard"));
    m_symbol->setFixedSize(symbolSize, symbolSize);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_retry->setProperty("shellRole", QStringLiteral("primary"));
    for (QPushButton *button : {m_retry, m_external, m_dismiss})
        button->setCursor(Qt::PointingHandCursor);

    auto *buttons = new QHBoxLayout();
    buttons->setSpacing(8);
    buttons->addWidget(m_retry);
    buttons->addWidget(m_external);
    buttons->addStretch(1);
    buttons->addWidget(m_dismiss);
    auto *texts = new QVBoxLayout();
    texts->setSpacing(4);
    texts->addWidget(m_title);
    texts->addWidget(m_message);
    texts->addWidget(m_recovery);
    texts->addSpacing(8);
    texts->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(HomeLook::cardPadding, 16, HomeLook::cardPadding, 14);
    layout->setSpacing(14);
    layout->addWidget(m_symbol, 0, Qt::AlignTop);
    layout->addLayout(texts, 1);

    connect(m_retry, &QPushButton::clicked, this, &HomeErrorCard::retryRequested);
    connect(m_external, &QPushButton::clicked, this, &HomeErrorCard::externalRequested);
    connect(m_dismiss, &QPushButton::clicked, this, &HomeErrorCard::dismissRequested);
}

void HomeErrorCard::setError(const AppError &error, bool canOpenExternal)
{
    m_symbol->setPixmap(ShellLook::tintedIcon(kindIcon(error.kind()), DesignSystem::danger(), symbolSize)
                            .pixmap(symbolSize, symbolSize));
    m_title->setText(error.title());
    m_message->setText(error.message());
    m_recovery->setText(error.recovery().value_or(QString()));
    m_recovery->setVisible(error.recovery().has_value());
    // A player could not take it: another player may. Anything else may still work in a browser.
    const bool player = error.kind() == AppError::Kind::external || error.kind() == AppError::Kind::decode;
    m_external->setText(player ? L("用外部播放器打开", "Open externally", "Abrir externamente")
                               : L("在浏览器中打开", "Open in browser", "Abrir en el navegador"));
    m_external->setVisible(canOpenExternal);
}
