#include "mainwindow/pathfield.h"

PathField::PathField(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) {
        // A path is read from its start; the whole of it shows on hover.
        setCursorPosition(0);
        setToolTip(text);
    });
}

void PathField::setTag(const QString &tag)
{
    if (tag == tagValue)
        return;
    tagValue = tag;
    emit tagChanged();
}
