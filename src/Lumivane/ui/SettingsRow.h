#pragma once

#include <QWidget>

class QLabel;
class QVBoxLayout;

// One row of a settings card: a title with a detail line below it and, on the right, the
// control that changes the setting (none for a row that only informs).
class SettingsRow final : public QWidget
{
    Q_OBJECT

public:
    SettingsRow(const QString &title, const QString &detail, QWidget *control = nullptr,
                QWidget *parent = nullptr);

    QLabel *detailLabel() const { return m_detail; }
    // A further line under the detail (a hint, a result); hidden while empty.
    void setNote(const QString &text);
    QLabel *noteLabel() const { return m_note; }

private:
    QLabel *m_detail;
    QLabel *m_note;
};
