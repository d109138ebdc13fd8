#include "ui/OpenSection.h"

#include "ui/HomeErrorCard.h"
#include "ui/HomeLook.h"
#include "ui/HomeTexts.h"
#include "app/AppModel.h"

#include "KiteCore/L10n.h"
#include "KiteCore/MediaInput.h"
#include "KiteCore/SiteCapabilities.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int symbolSize = 18;

QFrame *card(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setProperty("shellRole", QStringLiteral("card"));
    return frame;
}

QVBoxLayout *cardLayout(QFrame *frame)
{
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(HomeLook::cardPadding, HomeLook::cardPadding, HomeLook::cardPadding,
                               HomeLook::cardPadding);
    layout->setSpacing(10);
    return layout;
}

QLabel *keycap(const QString &key, QWidget *parent)
{
    return HomeLook::label(key, QStringLiteral("keycap"), parent);
}
} // namespace

OpenSection::OpenSection(AppModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    auto *layout = new QVBoxLayout(this);
    // Room for the scroll bar beside the cards.
    layout->setContentsMargins(0, 0, 12, 0);
    layout->setSpacing(HomeLook::gap);
    layout->addWidget(buildInputCard());
    m_errorCard = new HomeErrorCard(this);
    layout->addWidget(m_errorCard);
    auto *row = new QHBoxLayout();
    row->setSpacing(HomeLook::gap);
    row->addWidget(buildFileCard(), 2);
    row->addWidget(buildKindsCard(), 3);
    layout->addLayout(row);
    layout->addWidget(buildTips());
    layout->addStretch(1);
    connectModel();
    showError();
}

QWidget *OpenSection::buildInputCard()
{
    QFrame *frame = card(this);
    QVBoxLayout *layout = cardLayout(frame);
    layout->addWidget(HomeLook::label(L("粘贴链接或拖入文件", "Paste a link or drop a file",
                                        "Pega un enlace o suelta un archivo"),
                                      QStringLiteral("cardTitle"), frame));
    m_input = new QLineEdit(m_model.input(), frame);
    m_input->setObjectName(QStringLiteral("input"));
    m_input->setPlaceholderText(L("粘贴链接或文件路径…", "Paste a link or file path…",
                                  "Pega un enlace o la ruta de un archivo…"));
    m_input->setAccessibleName(L("链接或文件路径", "Link or file path", "Enlace o ruta de archivo"));
    // Drops anywhere in the window open what is dropped; the field must not swallow them.
    m_input->setAcceptDrops(false);
    m_clear = new QAction(L("清空输入", "Clear input", "Borrar la entrada"), m_input);
    m_clear->setObjectName(QStringLiteral("clearInput"));
    m_input->addAction(m_clear, QLineEdit::TrailingPosition);
    m_paste = new QPushButton(L("粘贴", "Paste", "Pegar"), frame);
    m_paste->setObjectName(QStringLiteral("paste"));
    m_paste->setToolTip(L("用剪贴板里的链接填入", "Fill in the link from the clipboard",
                          "Rellenar con el enlace del portapapeles"));
    m_open = new QPushButton(L("打开", "Open", "Abrir"), frame);
    m_open->setObjectName(QStringLiteral("open"));
    m_open->setProperty("shellRole", QStringLiteral("primary"));
    m_open->setToolTip(L("打开输入的内容（回车）", "Open the input (Return)", "Abrir la entrada (Intro)"));
    for (QPushButton *button : {m_paste, m_open}) {
        button->setCursor(Qt::PointingHandCursor);
        button->setMinimumHeight(38);
    }
    auto *field = new QHBoxLayout();
    field->setSpacing(8);
    field->addWidget(m_input, 1);
    field->addWidget(m_paste);
    field->addWidget(m_open);
    layout->addLayout(field);

    auto *hints = new QHBoxLayout();
    hints->setSpacing(6);
    hints->addWidget(keycap(QStringLiteral("Ctrl+V"), frame));
    hints->addWidget(HomeLook::label(L("粘贴", "paste", "pegar"), QStringLiteral("note"), frame));
    hints->addSpacing(12);
    hints->addWidget(keycap(QStringLiteral("↵"), frame));
    hints->addWidget(HomeLook::label(L("立即打开", "open now", "abrir ya"), QStringLiteral("note"), frame));
    hints->addStretch(1);
    layout->addLayout(hints);
    return frame;
}

QWidget *OpenSection::buildFileCard()
{
    QFrame *frame = card(this);
    QVBoxLayout *layout = cardLayout(frame);
    auto *symbol = new QLabel(frame);
    m_symbols.append({symbol, QStringLiteral("folder")});
    layout->addWidget(symbol);
    layout->addWidget(HomeLook::label(L("选择本地视频或音频文件", "Pick a local video or audio file",
                                        "Elige un archivo local de vídeo o audio"),
                                      QStringLiteral("cardTitle"), frame));
    layout->addWidget(HomeLook::label(L("或把文件拖到窗口的任意位置", "or drop a file anywhere in this window",
                                        "o suelta un archivo en cualquier parte de esta ventana"),
                                      QStringLiteral("note"), frame));
    layout->addWidget(HomeLook::label(QStringLiteral("mp4 / mov / mp3 …"), QStringLiteral("secondary"), frame));
    layout->addStretch(1);
    auto *button = new QPushButton(L("打开文件", "Open file", "Abrir archivo"), frame);
    button->setObjectName(QStringLiteral("openFile"));
    button->setCursor(Qt::PointingHandCursor);
    layout->addWidget(button, 0, Qt::AlignLeft);
    connect(button, &QPushButton::clicked, &m_model, &AppModel::openFile);
    return frame;
}

QWidget *OpenSection::buildKindsCard()
{
    QFrame *frame = card(this);
    QVBoxLayout *layout = cardLayout(frame);
    layout->addWidget(HomeLook::label(L("可以打开什么", "What you can open", "Qué puedes abrir"),
                                      QStringLiteral("cardTitle"), frame));
    auto *grid = new QGridLayout();
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    const QList<std::array<QString, 3>> kinds{
        {QStringLiteral("kind-web"), L("网页", "Web page", "Página web"), QStringLiteral("YouTube / Twitch / Bilibili")},
        {QStringLiteral("link"), L("直接媒体链接", "Direct media", "Medio directo"), QStringLiteral("mp4 / m3u8 / mp3")},
        {QStringLiteral("film"), L("本地文件", "Local files", "Archivos locales"), QStringLiteral("mp4 / mov / mp3 …")}};
    for (int row = 0; row < kinds.size(); ++row) {
        auto *symbol = new QLabel(frame);
        m_symbols.append({symbol, kinds.at(row).at(0)});
        grid->addWidget(symbol, row, 0);
        grid->addWidget(HomeLook::label(kinds.at(row).at(1), QStringLiteral("title"), frame), row, 1);
        grid->addWidget(HomeLook::label(kinds.at(row).at(2), QStringLiteral("note"), frame), row, 2);
    }
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);
    layout->addStretch(1);
    const auto count = [](SiteCapability capability) {
        return int(SiteCapabilities::statuses(capability).size());
    };
    layout->addWidget(HomeLook::label(HomeTexts::siteSupport(count(SiteCapability::adapted),
                                                             count(SiteCapability::experimental),
                                                             count(SiteCapability::unsupported)),
                                      QStringLiteral("note"), frame));
    return frame;
}

QWidget *OpenSection::buildTips()
{
    auto *tips = new QWidget(this);
    auto *layout = new QVBoxLayout(tips);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(6);
    layout->addWidget(HomeLook::label(L("小提示", "Good to know", "Conviene saber"), QStringLiteral("section"), tips));
    const auto tip = [&](const QString &text) {
        QLabel *line = HomeLook::label(QStringLiteral("•  ") + text, QStringLiteral("note"), tips);
        layout->addWidget(line);
        return line;
    };
    tip(L("把链接或文件拖进这个窗口即可直接打开。", "Drag a link or file anywhere into this window to open it directly.",
          "Arrastra un enlace o un archivo a esta ventana para abrirlo directamente."));
    tip(L("每个链接一个窗口——再次打开只会把它带到前面。",
          "One window per link — opening it again just brings it forward.",
          "Una ventana por enlace: abrirlo de nuevo solo la trae al frente."));
    m_lostWindowTip = tip(HomeTexts::lostWindowTip(false));
    return tips;
}

void OpenSection::connectModel()
{
    connect(m_input, &QLineEdit::textEdited, &m_model, &AppModel::setInput);
    connect(m_input, &QLineEdit::returnPressed, this, &OpenSection::openInput);
    connect(m_open, &QPushButton::clicked, this, &OpenSection::openInput);
    connect(m_paste, &QPushButton::clicked, &m_model, &AppModel::paste);
    connect(m_clear, &QAction::triggered, &m_model, [this] { m_model.setInput(QString()); });
    const auto refresh = [this] {
        m_open->setEnabled(m_model.canOpenInput());
        m_clear->setVisible(!m_model.input().isEmpty());
    };
    connect(&m_model, &AppModel::inputChanged, this, [this, refresh](const QString &input) {
        // Leave the cursor alone while the user types.
        if (m_input->text() != input)
            m_input->setText(input);
        refresh();
        // Whether the external button applies depends on the input.
        showError();
    });
    refresh();
    connect(&m_model, &AppModel::inputErrorChanged, this, &OpenSection::showError);
    connect(m_errorCard, &HomeErrorCard::retryRequested, this, [this] { m_model.open(m_model.input()); });
    connect(m_errorCard, &HomeErrorCard::externalRequested, this, &OpenSection::openExternally);
    connect(m_errorCard, &HomeErrorCard::dismissRequested, &m_model, &AppModel::dismissError);
}

void OpenSection::showError()
{
    const std::optional<AppError> &error = m_model.inputError();
    m_errorCard->setVisible(error.has_value());
    if (error)
        m_errorCard->setError(*error, MediaInput::parse(m_model.input()).has_value());
}

void OpenSection::openInput()
{
    if (m_model.canOpenInput())
        m_model.open(m_model.input());
}

void OpenSection::openExternally()
{
    const auto source = MediaInput::parse(m_model.input());
    if (!source)
        return;
    if (source->kind() == MediaKind::web)
        m_model.openInBrowser(*source);
    else
        m_model.openExternal(*source, false, {});
}

void OpenSection::setTrayAvailable(bool available)
{
    m_lostWindowTip->setText(QStringLiteral("•  ") + HomeTexts::lostWindowTip(available));
}

void OpenSection::focusInput()
{
    m_input->setFocus(Qt::OtherFocusReason);
}

void OpenSection::setIconColor(const QColor &color)
{
    m_clear->setIcon(ShellLook::tintedIcon(QStringLiteral("close"), color, 14));
    for (const auto &[label, icon] : std::as_const(m_symbols))
        label->setPixmap(ShellLook::tintedIcon(icon, color, symbolSize).pixmap(symbolSize, symbolSize));
}
