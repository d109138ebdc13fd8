#include "ui/StatusPanel.h"

#include "ui/DesignSystem.h"
#include "KiteCore/L10n.h"
#include "ui/OverlayRules.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace {
constexpr int iconBox = 34;

QLabel *centredLabel(const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}
} // namespace

StatusPanel::StatusPanel(QWidget *parent)
    : QWidget(parent), m_pages(new QStackedLayout(this))
{
    setObjectName(QStringLiteral("statusPanel"));
    setFixedWidth(preferredWidth);
    m_loadingPage = buildLoadingPage();
    m_failurePage = buildFailurePage();
    m_pages->addWidget(m_loadingPage);
    m_pages->addWidget(m_failurePage);
    showLoading();
}

QPushButton *StatusPanel::addButton(QWidget *page, const QString &name, const QString &text,
                                    bool primary, void (StatusPanel::*signal)())
{
    auto *button = DesignSystem::pillButton(text, primary, page);
    button->setObjectName(name);
    connect(button, &QPushButton::clicked, this, signal);
    return button;
}

QWidget *StatusPanel::buildLoadingPage()
{
    auto *page = new QWidget(this);
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(18, 16, 18, 16);
    column->setSpacing(DesignSystem::spacing);
    m_loadingTitle = centredLabel(QStringLiteral("overlayHeadline"), page);
    m_loadingHint = centredLabel(QStringLiteral("overlayCaption"), page);
    column->addWidget(m_loadingTitle);
    column->addWidget(m_loadingHint);
    auto *external = addButton(page, QStringLiteral("loadingExternalButton"),
                               L("用外部播放器打开", "Open in external player",
                                 "Abrir en reproductor externo"),
                               false, &StatusPanel::externalPlayerRequested);
    column->addWidget(external, 0, Qt::AlignHCenter);
    return page;
}

QWidget *StatusPanel::buildFailurePage()
{
    auto *page = new QWidget(this);
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(18, 16, 18, 16);
    column->setSpacing(DesignSystem::spacing);
    m_icon = new QLabel(page);
    m_icon->setFixedSize(iconBox, iconBox);
    m_icon->setAlignment(Qt::AlignCenter);
    m_icon->setStyleSheet(QStringLiteral("background: rgba(255,95,87,%1); border-radius: %2px;")
                              .arg(qRound(DesignSystem::failureTintOpacity * 255))
                              .arg(iconBox / 2));
    column->addWidget(m_icon, 0, Qt::AlignHCenter);
    m_headline = centredLabel(QStringLiteral("overlayHeadline"), page);
    m_message = centredLabel(QStringLiteral("failureMessage"), page);
    m_recovery = centredLabel(QStringLiteral("overlayCaption"), page);
    column->addWidget(m_headline);
    column->addWidget(m_message);
    column->addWidget(m_recovery);

    auto *firstRow = new QHBoxLayout;
    firstRow->setSpacing(DesignSystem::smallSpacing);
    firstRow->addStretch();
    firstRow->addWidget(addButton(page, QStringLiteral("retryButton"), L("重试", "Retry", "Reintentar"),
                                  true, &StatusPanel::retryRequested));
    firstRow->addWidget(addButton(page, QStringLiteral("externalButton"),
                                  L("外部播放器", "External player", "Reproductor externo"), false,
                                  &StatusPanel::externalPlayerRequested));
    firstRow->addStretch();
    auto *secondRow = new QHBoxLayout;
    secondRow->setSpacing(DesignSystem::smallSpacing);
    secondRow->addStretch();
    secondRow->addWidget(addButton(page, QStringLiteral("browserButton"),
                                   L("在浏览器中打开", "Open in browser", "Abrir en el navegador"),
                                   false, &StatusPanel::openInBrowserRequested));
    secondRow->addWidget(addButton(page, QStringLiteral("copyLinkButton"),
                                   L("复制链接", "Copy link", "Copiar enlace"), false,
                                   &StatusPanel::copyLinkRequested));
    secondRow->addStretch();
    column->addLayout(firstRow);
    column->addLayout(secondRow);
    return page;
}

void StatusPanel::showPage(QWidget *page)
{
    // Only the page on show counts for the panel's size.
    for (QWidget *each : {m_loadingPage, m_failurePage}) {
        each->setSizePolicy(each == page ? QSizePolicy::Preferred : QSizePolicy::Ignored,
                            each == page ? QSizePolicy::Preferred : QSizePolicy::Ignored);
    }
    m_pages->setCurrentWidget(page);
    adjustSize();
}

void StatusPanel::setCompact(bool compact)
{
    m_icon->setVisible(!compact);
    const int vertical = compact ? 8 : 16;
    for (QWidget *page : {m_loadingPage, m_failurePage}) {
        page->layout()->setContentsMargins(18, vertical, 18, vertical);
        page->layout()->setSpacing(compact ? DesignSystem::smallSpacing : DesignSystem::spacing);
    }
    adjustSize();
}

void StatusPanel::showLoading()
{
    m_loadingTitle->setText(L("正在打开", "Opening", "Abriendo"));
    m_loadingHint->setText(L("太慢？试试外部播放器。", "Slow? Try an external player.",
                             "¿Va lento? Prueba un reproductor externo."));
    showPage(m_loadingPage);
}

void StatusPanel::showBuffering()
{
    m_loadingTitle->setText(L("正在缓冲", "Buffering", "Cargando búfer"));
    m_loadingHint->setText(L("正在等待视频流的数据。", "Waiting for the stream's data.",
                             "Esperando los datos de la transmisión."));
    showPage(m_loadingPage);
}

void StatusPanel::showFailure(const AppError &error)
{
    m_iconName = OverlayRules::failureIconName(error.kind());
    m_icon->setPixmap(DesignSystem::icon(m_iconName).pixmap(DesignSystem::failureIconSize,
                                                             DesignSystem::failureIconSize));
    m_headline->setText(error.title());
    m_message->setText(error.message());
    m_recovery->setText(error.recovery().value_or(QString()));
    m_recovery->setVisible(error.recovery().has_value());
    showPage(m_failurePage);
}

bool StatusPanel::showingFailure() const
{
    return m_pages->currentWidget() == m_failurePage;
}

QString StatusPanel::headline() const
{
    return m_headline->text();
}

QString StatusPanel::message() const
{
    return m_message->text();
}

QString StatusPanel::recovery() const
{
    return m_recovery->isVisibleTo(m_failurePage) ? m_recovery->text() : QString();
}

QPushButton *StatusPanel::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

void StatusPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    DesignSystem::paintPanel(painter, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

void StatusPanel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}
