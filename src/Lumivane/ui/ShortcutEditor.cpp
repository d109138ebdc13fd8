#include "ui/ShortcutEditor.h"

#include "ui/ShortcutRecorderButton.h"

#include "KiteCore/ShortcutAction.h"
#include "KiteCore/ShortcutGroup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int recorderWidth = 150;
} // namespace

ShortcutEditor::ShortcutEditor(Preferences &preferences, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 6, 14, 10);
    layout->setSpacing(2);
    for (ShortcutGroup group : ShortcutGroups::allCases) {
        auto *heading = new QLabel(ShortcutGroups::title(group).toUpper(), this);
        heading->setProperty("shellRole", QStringLiteral("section"));
        layout->addSpacing(layout->count() > 0 ? 8 : 0);
        layout->addWidget(heading);
        for (ShortcutAction action : ShortcutActions::allCases) {
            if (ShortcutActions::group(action) != group)
                continue;
            auto *recorder = new ShortcutRecorderButton(action, preferences, this);
            recorder->setObjectName(QStringLiteral("recorder-") + toRaw(action));
            connect(recorder, &ShortcutRecorderButton::recordingStarted, this,
                    &ShortcutEditor::recordingStarted);
            connect(recorder, &ShortcutRecorderButton::recordingStopped, this,
                    &ShortcutEditor::recordingStopped);
            m_recorders.append(recorder);
            layout->addWidget(actionRow(recorder));
        }
    }
}

QWidget *ShortcutEditor::actionRow(ShortcutRecorderButton *recorder)
{
    auto *row = new QWidget(this);
    auto *title = new QLabel(ShortcutActions::title(recorder->action()), row);
    auto *hint = new QLabel(row);
    hint->setObjectName(QStringLiteral("recorderHint"));
    hint->setProperty("shellRole", QStringLiteral("warning"));
    hint->hide();
    connect(recorder, &ShortcutRecorderButton::hintChanged, hint, [hint](const QString &text) {
        hint->setText(text);
        hint->setVisible(!text.isEmpty());
    });
    recorder->setParent(row);
    recorder->setFixedWidth(recorderWidth);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->addWidget(title, 1);
    layout->addWidget(hint);
    layout->addWidget(recorder);
    return row;
}
