#pragma once

#include <QMessageBox>

// "澜萤 Lumivane" with the version, what the program is and what it promises, and OK.
class AboutDialog final : public QMessageBox
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
};
