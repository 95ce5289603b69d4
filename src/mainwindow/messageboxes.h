#pragma once

#include "mainwindow/platform.h"

namespace kivo
{

class QtMessageBoxes : public MessageBoxes
{
public:
    void show(QWidget &owner, const QString &text, BoxIcon icon, const QString &title) override;
};

// A message keeps its lone carriage returns; only the box shows them as breaks.
QString displayedText(const QString &text);

} // namespace kivo
