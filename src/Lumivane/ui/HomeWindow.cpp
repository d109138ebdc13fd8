#include "ui/HomeWindow.h"

#include "ui/DesignSystem.h"
#include "KiteCore/AppError.h"
#include "app/AppModel.h"
#include "app/DropPayload.h"

#include "KiteCore/L10n.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int urlRole = Qt::UserRole;
constexpr int contentMargin = 32;
constexpr int cardPadding = 14;

QLabel *wrappingLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}
} // namespace

HomeWindow::HomeWindow(AppModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    applyTitle();
    setWindowIcon(QIcon::fromTheme(QStringLiteral("lumivane")));
    setAcceptDrops(true);
    resize(980, 664);
    setMinimumSize(900, 600);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(contentMargin, contentMargin, contentMargin, contentMargin);
    layout->setSpacing(DesignSystem::spacing * 2);

    auto *heading = new QLabel(QStringLiteral("Lumivane"), this);
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 2.0);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    auto *intro = new QLabel(L("粘贴链接，或打开、拖入文件和文件夹；它会在置顶的小浮窗里播放。",
                               "Paste a link, or open or drop a file or folder: it plays in a "
                               "small floating window that stays on top.",
                               "Pega un enlace, o abre o arrastra un archivo o una carpeta: se "
                               "reproduce en una pequeña ventana flotante siempre visible."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(heading);
    layout->addWidget(intro);
    layout->addWidget(buildInputRow());
    layout->addWidget(buildErrorCard());

    m_storageWarning = wrappingLabel(this);
    m_storageWarning->setObjectName(QStringLiteral("storageWarning"));
    m_storageWarning->setStyleSheet(
        QStringLiteral("color: %1;").arg(DesignSystem::danger().name()));
    layout->addWidget(m_storageWarning);

    auto *recentHeading = new QLabel(L("最近", "Recent", "Recientes"), this);
    QFont sectionFont = recentHeading->font();
    sectionFont.setBold(true);
    recentHeading->setFont(sectionFont);
    m_recent = new QListWidget(this);
    m_recent->setObjectName(QStringLiteral("recentList"));
    m_recentEmpty = new QLabel(L("打开过的内容会出现在这里。", "What you open shows up here.",
                                 "Lo que abras aparecerá aquí."),
                               this);
    m_recentEmpty->setEnabled(false);
    layout->addWidget(recentHeading);
    layout->addWidget(m_recentEmpty);
    layout->addWidget(m_recent, 1);
    // Takes the free space only while the recent list is hidden.
    layout->addStretch(0);

    connectModel();
    showError(m_model.inputError());
    showStorageWarning(m_model.storageWarning());
    refreshRecent();
    refreshOpenButton();
}

QWidget *HomeWindow::buildInputRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(DesignSystem::spacing);

    m_input = new QLineEdit(row);
    m_input->setObjectName(QStringLiteral("input"));
    m_input->setPlaceholderText(L("粘贴链接或文件路径", "Paste a link or a file path",
                                  "Pega un enlace o la ruta de un archivo"));
    m_input->setClearButtonEnabled(true);
    m_input->setMinimumHeight(34);
    m_input->setText(m_model.input());

    m_open = new QPushButton(L("打开", "Open", "Abrir"), row);
    m_open->setObjectName(QStringLiteral("open"));
    m_open->setDefault(true);
    auto *paste = new QPushButton(L("粘贴并打开", "Paste and Open", "Pegar y abrir"), row);
    paste->setObjectName(QStringLiteral("pasteAndOpen"));
    auto *openFile = new QPushButton(L("打开文件…", "Open File…", "Abrir archivo…"), row);
    openFile->setObjectName(QStringLiteral("openFile"));

    layout->addWidget(m_input, 1);
    layout->addWidget(m_open);
    layout->addWidget(paste);
    layout->addWidget(openFile);

    connect(m_input, &QLineEdit::textEdited, &m_model, &AppModel::setInput);
    connect(m_input, &QLineEdit::returnPressed, this, &HomeWindow::openInput);
    connect(m_open, &QPushButton::clicked, this, &HomeWindow::openInput);
    connect(paste, &QPushButton::clicked, &m_model, &AppModel::pasteAndOpen);
    connect(openFile, &QPushButton::clicked, &m_model, &AppModel::openFile);
    return row;
}

QFrame *HomeWindow::buildErrorCard()
{
    m_errorCard = new QFrame(this);
    m_errorCard->setObjectName(QStringLiteral("errorCard"));
    m_errorCard->setStyleSheet(
        QStringLiteral("#errorCard { border: 1px solid %1; border-left-width: 4px; "
                       "border-radius: %2px; }")
            .arg(DesignSystem::danger().name())
            .arg(DesignSystem::barRadius));
    auto *layout = new QHBoxLayout(m_errorCard);
    layout->setContentsMargins(cardPadding, cardPadding, cardPadding, cardPadding);
    layout->setSpacing(DesignSystem::spacing * 2);
    auto *texts = new QVBoxLayout();
    texts->setSpacing(DesignSystem::smallSpacing);
    m_errorTitle = wrappingLabel(m_errorCard);
    m_errorTitle->setObjectName(QStringLiteral("errorTitle"));
    QFont titleFont = m_errorTitle->font();
    titleFont.setBold(true);
    m_errorTitle->setFont(titleFont);
    m_errorMessage = wrappingLabel(m_errorCard);
    m_errorMessage->setObjectName(QStringLiteral("errorMessage"));
    m_errorRecovery = wrappingLabel(m_errorCard);
    m_errorRecovery->setObjectName(QStringLiteral("errorRecovery"));
    m_errorRecovery->setEnabled(false);
    texts->addWidget(m_errorTitle);
    texts->addWidget(m_errorMessage);
    texts->addWidget(m_errorRecovery);
    layout->addLayout(texts, 1);
    return m_errorCard;
}

void HomeWindow::connectModel()
{
    connect(&m_model, &AppModel::inputChanged, this, [this](const QString &input) {
        // Leave the cursor alone while the user types.
        if (m_input->text() != input)
            m_input->setText(input);
        refreshOpenButton();
    });
    connect(&m_model, &AppModel::inputErrorChanged, this, &HomeWindow::showError);
    connect(&m_model, &AppModel::storageWarningChanged, this, &HomeWindow::showStorageWarning);
    connect(&m_model, &AppModel::historyChanged, this, &HomeWindow::refreshRecent);
    connect(m_recent, &QListWidget::itemActivated, this, &HomeWindow::openRecent);
}

void HomeWindow::bringForward()
{
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void HomeWindow::setMenuBar(QMenuBar *menuBar)
{
    layout()->setMenuBar(menuBar);
}

void HomeWindow::applyTitle()
{
    setWindowTitle(L("澜萤 Lumivane", "Lumivane", "Lumivane"));
}

void HomeWindow::showError(const std::optional<AppError> &error)
{
    m_errorCard->setVisible(error.has_value());
    if (!error)
        return;
    m_errorTitle->setText(error->title());
    m_errorMessage->setText(error->message());
    m_errorRecovery->setText(error->recovery().value_or(QString()));
    m_errorRecovery->setVisible(error->recovery().has_value());
}

void HomeWindow::showStorageWarning(const std::optional<QString> &warning)
{
    m_storageWarning->setText(warning.value_or(QString()));
    m_storageWarning->setVisible(warning.has_value());
}

void HomeWindow::refreshRecent()
{
    m_recent->clear();
    for (const HistoryItem &item : m_model.history()) {
        auto *row = new QListWidgetItem(item.title + QStringLiteral("\n") + item.subtitle, m_recent);
        row->setData(urlRole, item.urlString);
        row->setToolTip(item.urlString);
    }
    m_recent->setVisible(m_recent->count() > 0);
    m_recentEmpty->setVisible(m_recent->count() == 0);
}

void HomeWindow::refreshOpenButton()
{
    m_open->setEnabled(m_model.canOpenInput());
}

void HomeWindow::openInput()
{
    if (m_model.canOpenInput())
        m_model.open(m_model.input());
}

void HomeWindow::openRecent(const QListWidgetItem *item)
{
    if (item)
        m_model.open(item->data(urlRole).toString());
}

void HomeWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData() != nullptr
        && DropPayload::decide(*event->mimeData()).action != DropPayload::Action::refused)
        event->acceptProposedAction();
}

void HomeWindow::dropEvent(QDropEvent *event)
{
    if (event->mimeData() != nullptr && m_model.acceptDrop(*event->mimeData()))
        event->acceptProposedAction();
}
